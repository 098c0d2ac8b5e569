// torvane-tool image: decodes an image file as the texture resource would and shows what the
// texture receives.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "files/output_file.h"
#include "render/image/decoders.h"
#include "render/texture_png_writer.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

std::string ExtensionOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return path.substr(dot + 1);
}

// The picture as RGBA rows in texture row order; cube maps give their level-0 faces one under
// the other, decompressed.
std::vector<uint8_t> RgbaRows(const ImageData& image, int& height) {
  height = image.height;
  if (IsCubeMap(image)) {
    std::vector<uint8_t> rows;
    size_t faceSize = 0;
    for (uint32_t w = image.width, h = image.height, level = 0; level < image.levels; ++level) {
      faceSize += Dxt1LevelSize(w, h);
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
    for (int face = 0; face < 6; ++face) {
      std::vector<uint8_t> pixels = DecompressDxt1(image.pixels.data() + face * faceSize, image.width, image.height);
      rows.insert(rows.end(), pixels.begin(), pixels.end());
    }
    height = image.height * 6;
    return rows;
  }
  if (BytesPerPixel(image) == 4) return image.pixels;
  std::vector<uint8_t> rows;
  rows.reserve(image.pixels.size() / 3 * 4);
  for (size_t at = 0; at + 2 < image.pixels.size(); at += 3) rows.insert(rows.end(), {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2], 255});
  return rows;
}

bool WritePng(const std::string& path, const ImageData& image, std::string& error) {
  int height = 0;
  std::vector<uint8_t> rows = RgbaRows(image, height);
  std::vector<uint8_t> png = EncodeRgbaPng(rows.data(), image.width, height, "torvane-tool image");
  if (png.empty()) error = "cannot encode " + path + " as PNG";
  return !png.empty() && WriteOutputFile(path, png, error);
}

int RunImage(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--out"}, {}, parsed, error)) return ToolUsageError("image", error);
  if (parsed.positional.size() != 1) return ToolUsageError("image", "needs one FILE");
  const std::string& path = parsed.positional[0];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool image: cannot read %s\n", path.c_str());
    return 1;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string extension = ExtensionOf(path);
  ImageDecoder decode = ImageCanLoad(extension) ? ImageDecoderFor(extension) : nullptr;
  ImageData image;
  if (!decode || !decode(bytes.data(), bytes.size(), image)) {
    std::fprintf(stderr, "torvane-tool image: %s: not loaded as a texture\n", path.c_str());
    return 1;
  }
  std::string out = parsed.Option("--out");
  if (!out.empty() && !WritePng(out, image, error)) {
    std::fprintf(stderr, "torvane-tool image: %s\n", error.c_str());
    return 1;
  }
  JsonWriter json;
  json.BeginObject()
      .Key("width").Integer(image.width)
      .Key("height").Integer(image.height)
      .Key("internalFormat").String(ImageParameterName(image.internalFormat))
      .Key("format").String(ImageParameterName(image.format))
      .Key("type").String(ImageParameterName(image.type))
      .Key("target").String(ImageParameterName(image.target))
      .Key("levels").Integer(image.levels)
      .EndObject();
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(image, "image", "decode an image file as the engine's texture loader does",
                     "usage: torvane-tool image FILE [--out OUT.png]\n\n"
                     "Decodes FILE with the decoder the texture resource picks for its extension\n"
                     "(\"bmp\", \"jpg\", \"jpeg\" in any case; \"hdr\", \"dds\", \"tga\", \"png\" in lower\n"
                     "case) and prints {\"width\", \"height\", \"internalFormat\", \"format\", \"type\",\n"
                     "\"target\", \"levels\"}. With --out, writes the texture's pixels as a PNG in texture\n"
                     "row order (row 0 on top); a cube map writes its six level-0 faces decompressed,\n"
                     "one under the other; Radiance pictures stay R, G, B, E bytes. Exits 1 for a file\n"
                     "the engine would not load.\n",
                     RunImage);
