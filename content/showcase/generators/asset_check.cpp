#include "content/showcase/generators/asset_check.h"

#include <cmath>
#include <cstring>

#include "files/definition_xml.h"
#include "files/model_normals.h"
#include "files/mqo_conversion.h"
#include "files/mqo_model.h"
#include "files/sync_document.h"
#include "files/tdf_document.h"
#include "render/image/decoders.h"

namespace {

bool Fail(std::string& error, const std::string& name, const std::string& message) {
  error = name + ": " + message;
  return false;
}

std::string Extension(const std::string& name) { return name.substr(name.rfind('.') + 1); }

bool Decode(const std::string& name, const std::vector<uint8_t>& bytes, ImageData& image, std::string& error) {
  ImageDecoder decoder = ImageDecoderFor(Extension(name));
  if (!decoder) return Fail(error, name, "no decoder of the engine takes this extension");
  if (!decoder(bytes.data(), bytes.size(), image)) return Fail(error, name, "the engine's decoder refuses it");
  return true;
}

bool Near(float a, float b) { return std::abs(a - b) <= 1e-3f * std::max(1.0f, std::abs(b)); }

bool SameVector(const std::array<float, 3>& read, Vec3 written) {
  return Near(read[0], static_cast<float>(written.x)) && Near(read[1], static_cast<float>(written.y)) &&
         Near(read[2], static_cast<float>(written.z));
}

// The key as the file stores it: the writer negates position z and the x and y rotations.
bool KeyReadsBack(const TdfKey& read, const PartKey& written, const PartTrack& part) {
  if (part.position && !SameVector(read.position, {written.position.x, written.position.y, -written.position.z})) return false;
  if (part.rotation && !SameVector(read.rotation, {-written.rotation.x, -written.rotation.y, written.rotation.z})) return false;
  if (part.scale && !SameVector(read.scale, written.scale)) return false;
  return !part.alpha || Near(read.alpha, static_cast<float>(written.alpha));
}

bool ObjectReadsBack(const std::string& where, const TdfObject& read, const ObjectTrack& written, std::string& error) {
  if (read.modelIndex != written.slot || read.CameraTrans != (written.followsCamera ? 1 : 0) ||
      read.Visible != (written.visible ? 1 : 0)) {
    return Fail(error, where, "slot or flags read back differently");
  }
  if (read.times.size() != written.times.size()) return Fail(error, where, "the key count reads back differently");
  for (size_t i = 0; i < read.times.size(); ++i) {
    if (!Near(read.times[i], static_cast<float>(written.times[i]))) return Fail(error, where, "a time reads back differently");
    if (i > 0 && !(written.times[i] > written.times[i - 1])) return Fail(error, where, "times do not rise");
  }
  for (const PartTrack& part : written.parts) {
    auto found = read.parts.find(part.name);
    if (found == read.parts.end()) return Fail(error, where, "part \"" + part.name + "\" names no object of its model");
    if (part.keys.size() != written.times.size()) return Fail(error, where, "part \"" + part.name + "\" has a key count unlike its times");
    for (size_t i = 0; i < part.keys.size(); ++i) {
      if (!KeyReadsBack(found->second[i], part.keys[i], part)) {
        return Fail(error, where, "part \"" + part.name + "\" key " + std::to_string(i) + " reads back differently");
      }
    }
  }
  return true;
}

}  // namespace

bool CheckPicture(const std::string& name, const std::vector<uint8_t>& bytes, const Rgba8Image& expected,
                  double maxJpegError, std::string& error) {
  ImageData image;
  if (!Decode(name, bytes, image, error)) return false;
  if (image.width != expected.width || image.height != expected.height) return Fail(error, name, "decodes to another size");
  std::string extension = Extension(name);
  int channels = BytesPerPixel(image);
  double total = 0.0;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const uint8_t* want = expected.At(x, y);
      const uint8_t* got = &image.pixels[(static_cast<size_t>(y) * image.width + x) * channels];
      for (int c = 0; c < 3; ++c) {
        uint8_t target = want[c];
        if (extension == "bmp" && want[3] < 128) continue;  // keyed out: written as pure blue
        total += std::abs(got[c] - target);
        if (extension != "jpg" && got[c] != target) return Fail(error, name, "decodes to other colours");
      }
      if (extension == "bmp" && (want[3] < 128) != (got[3] == 0)) return Fail(error, name, "the blue key does not give its transparency");
      if ((extension == "png" || extension == "tga") && got[3] != want[3]) return Fail(error, name, "decodes to other alpha");
    }
  }
  double mean = total / (3.0 * expected.width * expected.height);
  if (extension == "jpg" && mean > maxJpegError) return Fail(error, name, "decodes too far from the picture: " + std::to_string(mean));
  return true;
}

bool CheckRadiance(const std::string& name, const std::vector<uint8_t>& bytes, const RadianceImage& expected, std::string& error) {
  ImageData image;
  if (!Decode(name, bytes, image, error)) return false;
  if (image.width != expected.width || image.height != expected.height) return Fail(error, name, "decodes to another size");
  for (size_t i = 0; i < static_cast<size_t>(expected.width) * expected.height; ++i) {
    std::array<uint8_t, 4> rgbe = ToRgbe(&expected.pixels[i * 3]);
    if (std::memcmp(rgbe.data(), &image.pixels[i * 4], 4) != 0) return Fail(error, name, "decodes to other RGBE bytes");
  }
  return true;
}

bool CheckCubeMap(const std::string& name, const std::vector<uint8_t>& bytes, const std::array<Rgba8Image, 6>& faces,
                  double maxError, std::string& error) {
  ImageData image;
  if (!Decode(name, bytes, image, error)) return false;
  uint32_t side = static_cast<uint32_t>(faces[0].width);
  if (image.target != GL_TEXTURE_CUBE_MAP || image.width != faces[0].width || image.levels != 1) {
    return Fail(error, name, "does not decode as a cube map of one level");
  }
  size_t faceBytes = Dxt1LevelSize(side, side);
  for (size_t face = 0; face < 6; ++face) {
    std::vector<uint8_t> pixels = DecompressDxt1(&image.pixels[face * faceBytes], side, side);
    double total = 0.0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
      for (int c = 0; c < 3; ++c) total += std::abs(pixels[i + c] - faces[face].pixels[i + c]);
    }
    if (total / (3.0 * side * side) > maxError) return Fail(error, name, "face " + std::to_string(face) + " decodes too far from its picture");
  }
  return true;
}

bool CheckModel(const std::string& name, const std::string& mqo, ModelData& model, std::string& error) {
  files::MqoConversion converted;
  std::string reason;
  if (!files::ConvertMqoText(reinterpret_cast<const uint8_t*>(mqo.data()), mqo.size(), MQO_DEFAULT_PACK_DIRECTORY, converted,
                             reason)) {
    return Fail(error, name, reason);
  }
  model = std::move(converted.model);
  for (ModelObject& object : model.objects) {
    if (object.faces.empty()) return Fail(error, name, "object \"" + object.name + "\" has no faces");
    ComputeNormalsAndSplit(object);
    for (size_t f = 0; f < object.faces.size(); ++f) {
      const float* n = &object.faceNormals[f * 3];
      if (n[0] == 0.0f && n[1] == 0.0f && n[2] == 0.0f) {
        return Fail(error, name, "object \"" + object.name + "\" face " + std::to_string(f) + " has no area");
      }
    }
  }
  return true;
}

bool CheckSceneAnimation(const std::string& name, const TdfFile& spec, const std::string& text,
                         const std::map<std::string, ModelData>& models, std::string& error) {
  TdfDocument document;
  bool missing = false;
  document.ParseTdfText(text, [&](int32_t, const std::string& path) -> const ModelData* {
    auto found = models.find(path);
    if (found == models.end()) missing = true;
    return found == models.end() ? nullptr : &found->second;
  });
  if (missing) return Fail(error, name, "names a model that was not generated");
  if (document.GetSceneCount() != spec.scenes.size()) return Fail(error, name, "the scene count reads back differently");
  for (size_t s = 0; s < spec.scenes.size(); ++s) {
    const TdfScene& scene = document.GetScene(s);
    std::string where = name + " scene \"" + spec.scenes[s].name + "\"";
    if (scene.name != spec.scenes[s].name || scene.objects.size() != spec.scenes[s].objects.size()) {
      return Fail(error, where, "reads back with another name or object count");
    }
    if (scene.objects.empty() || scene.objects[0].modelIndex != TDF_CAMERA_SLOT || scene.objects[0].times.empty() ||
        !(scene.objects[0].times.back() > 0.0f)) {
      return Fail(error, where, "does not start with a camera keyed over a positive length");
    }
    for (size_t o = 0; o < scene.objects.size(); ++o) {
      if (!ObjectReadsBack(where + " object " + std::to_string(o), scene.objects[o], spec.scenes[s].objects[o], error)) return false;
    }
  }
  return true;
}

bool CheckDefinition(const std::string& name, const std::string& text, const std::string& rootName, std::string& error) {
  Alert failure;
  XmlElement root = ParseDefinitionXml(text.c_str(), text.size(), DEFINITION_ROOT_TAG, name.c_str(), failure);
  if (root.IsEmpty()) return Fail(error, name, "the engine's XML reader refuses it");
  const char* rootAttribute = root.Attribute("name");
  if (!rootAttribute || rootName != rootAttribute) return Fail(error, name, "its root is not named " + rootName);
  return true;
}

bool CheckSyncTracks(const std::string& name, const std::string& text, const SyncDocument& expected, std::string& error) {
  SyncDocument read;
  SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), read);
  if (!result.ok) return Fail(error, name, result.error);
  if (!result.findings.empty()) return Fail(error, name, "line " + std::to_string(result.findings.front().line) + ": " + result.findings.front().text);
  if (read.tracks.size() != expected.tracks.size()) return Fail(error, name, "its tracks do not read back");
  for (size_t t = 0; t < read.tracks.size(); ++t) {
    const std::vector<SyncKey>& keys = read.tracks[t].keys;
    const std::vector<SyncKey>& written = expected.tracks[t].keys;
    bool same = read.tracks[t].name == expected.tracks[t].name && keys.size() == written.size();
    for (size_t k = 0; same && k < keys.size(); ++k) {
      same = keys[k].row == written[k].row && keys[k].value == written[k].value && keys[k].interpolation == written[k].interpolation;
    }
    if (!same) return Fail(error, name, "track " + expected.tracks[t].name + " does not read back as written");
  }
  return true;
}
