#include "tools/check/model_check.h"

#include <cstdint>

#include "files/core_file.h"
#include "render/image/decoders.h"

void CheckTexture(const ProductionFiles& files, const std::string& path, const NamingSite* namedAt, ProductionFindings& findings) {
  std::string bytes;
  if (!files.Read(path, bytes)) return;
  const std::string extension = PathExtension(path);
  // At the line that names the image, where the author mends the name or the image.
  const std::string file = namedAt ? namedAt->file : files.DisplayName(path);
  const int line = namedAt ? namedAt->line : 0;
  const ImageDecoder decode = ImageCanLoad(extension) ? ImageDecoderFor(extension) : nullptr;
  if (!decode) {
    findings.Error(file, line, "texture " + Quoted(path) + ": the player reads no image with the extension " +
                                Quoted(extension) + " (bmp, jpg, jpeg, dds, hdr, tga and png; all but the first three in lower case)");
    return;
  }
  ImageData image;
  if (!decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image)) {
    findings.Error(file, line, "texture " + Quoted(path) + " does not decode as " + Quoted(extension) +
                                "; whatever uses it draws without it");
  }
}

void CheckModelNesting(const ProductionFiles& files, const std::string& cachePath, const ProductionModel& model,
                       ProductionFindings& findings) {
  const std::string file = files.DisplayName(cachePath);
  for (size_t i = 0; i < model.data.objects.size(); ++i) {
    const ModelObject& object = model.data.objects[i];
    const int64_t parentDepth = i == 0 ? -1 : static_cast<int64_t>(model.data.objects[i - 1].depth);
    if (static_cast<int64_t>(object.depth) <= parentDepth + 1) continue;
    const int line = files.LineOf(cachePath, "Object " + Quoted(object.name));
    if (i == 0) {
      findings.Warning(file, line, "object " + Quoted(object.name) + " has depth " + std::to_string(object.depth) +
                                       " but is the first object: its parent is missing, and it moves on its own");
    } else {
      const std::string& previous = model.data.objects[i - 1].name;
      findings.Warning(file, line, "object " + Quoted(object.name) + " has depth " + std::to_string(object.depth) +
                                       ", more than one deeper than " + Quoted(previous) + " before it: its parent is "
                                       "missing, and it nests only one level, under " + Quoted(previous));
    }
  }
}
