#include "content/showcase/generators/showcase_content.h"

#include <functional>
#include <map>

#include "content/showcase/generators/asset_check.h"
#include "content/showcase/generators/environment.h"
#include "content/showcase/generators/models.h"
#include "content/showcase/generators/score_composer.h"
#include "content/showcase/generators/showcase_scenes.h"
#include "content/showcase/generators/text_atlas.h"
#include "content/showcase/generators/text_raster.h"
#include "content/showcase/generators/textures.h"
#include "tools/synth/music_score.h"

namespace {

constexpr int JPEG_QUALITY = 90;
constexpr double MAX_JPEG_ERROR = 4.0;  // mean difference per channel, of 255
constexpr double MAX_CUBE_ERROR = 6.0;
constexpr double CUBE_EXPOSURE = 1.6;

bool AddModels(const TextAtlas& atlas, GeneratedContent& folder, std::map<std::string, ModelData>& models, std::string& error) {
  const std::vector<std::pair<std::string, std::function<Mesh()>>> MODELS = {
      {"tunnel", TunnelModel},   {"knot", KnotModel},
      {"terrain", [] { return TerrainModel("terrain"); }},
      {"terrainWire", [] { return TerrainModel("wire"); }},
      {"city", CityModel},       {"title", TitleModel},
      {"text", [&] { return TextModel(atlas); }},
      {"shard", ShardModel},     {"swarmControl", SwarmControlModel},
      {"sky", SkyModel},         {"stage", StageModel},
  };
  for (const auto& [name, build] : MODELS) {
    std::string mqo = WriteMqo(build());
    ModelData& model = models["data\\model\\" + name + ".mqo"];
    if (!CheckModel("models/" + name + ".mqo", mqo, model, error)) return false;
    folder.Add("models/" + name + ".mqo", mqo);
  }
  return true;
}

bool AddPicture(GeneratedContent& folder, const std::string& path, const Rgba8Image& image,
                std::vector<uint8_t> (*write)(const Rgba8Image&), std::string& error) {
  std::vector<uint8_t> bytes = write(image);
  if (!CheckPicture(path, bytes, image, MAX_JPEG_ERROR, error)) return false;
  folder.Add(path, std::move(bytes));
  return true;
}

bool AddPictures(FontRasterizer& bold, const TextAtlas& atlas, GeneratedContent& folder, std::string& error) {
  auto jpeg = [](const Rgba8Image& image) { return WriteJpeg(image, JPEG_QUALITY); };
  if (!AddPicture(folder, "data/texture/title.png", TitlePicture(bold), WritePng, error) ||
      !AddPicture(folder, "data/texture/windows.png", WindowsPicture(), WritePng, error) ||
      !AddPicture(folder, "data/texture/metal.png", MetalPicture(), WritePng, error) ||
      !AddPicture(folder, "data/texture/grain.png", GrainPicture(), WritePng, error) ||
      !AddPicture(folder, "data/texture/lattice.bmp", LatticePicture(), WriteBmpWithBlueKey, error) ||
      !AddPicture(folder, "data/texture/terrain.jpg", TerrainPicture(1024), jpeg, error) ||
      !AddPicture(folder, "data/texture/text.tga", atlas.image, WriteTgaRle, error) ||
      !AddPicture(folder, "data/core/texture/defaultTexture.bmp", WhitePicture(8), WriteBmpWithBlueKey, error)) {
    return false;
  }
  RadianceImage sky = SkyPicture(1024, 512);
  std::vector<uint8_t> hdr = WriteHdrRle(sky);
  if (!CheckRadiance("data/texture/sky.hdr", hdr, sky, error)) return false;
  folder.Add("data/texture/sky.hdr", std::move(hdr));
  std::array<Rgba8Image, 6> faces = SkyCubeFaces(256, CUBE_EXPOSURE);
  std::vector<uint8_t> dds = WriteDdsCube(faces);
  if (!CheckCubeMap("data/texture/environment.dds", dds, faces, MAX_CUBE_ERROR, error)) return false;
  folder.Add("data/texture/environment.dds", std::move(dds));
  return true;
}

bool AddDefinitions(const Definitions& definitions, GeneratedContent& folder, std::string& error) {
  const std::vector<std::tuple<std::string, std::string, std::string>> FILES = {
      {"data/definition/sceneLineDefine.xml", "sceneLineDefine", WriteSceneLineDefine(definitions)},
      {"data/definition/tdfDefine.xml", "tdfDefine", WriteTdfDefine(definitions)},
      {"data/definition/postEffectDefine.xml", "postEffectDefine", WritePostEffectDefine(definitions)},
      {"data/definition/customTextureDefine.xml", "shaderTextureDefine", WriteCustomTextureDefine(definitions)},
  };
  for (const auto& [path, root, text] : FILES) {
    if (!CheckDefinition(path, text, root, error)) return false;
    folder.Add(path, text);
  }
  return true;
}

}  // namespace

bool GenerateShowcase(const ShowcaseOptions& options, GeneratedContent& folder, std::string& error) {
  FontRasterizer sans, bold, mono;
  if (!sans.Open((options.fontDirectory / "DejaVuSans.ttf").string(), error) ||
      !bold.Open((options.fontDirectory / "DejaVuSans-Bold.ttf").string(), error) ||
      !mono.Open((options.fontDirectory / "DejaVuSansMono.ttf").string(), error)) {
    return false;
  }
  TextAtlas atlas = BuildTextAtlas(ShowcaseTextLines(), sans, mono, 1024);
  std::map<std::string, ModelData> models;
  if (!AddModels(atlas, folder, models, error) || !AddPictures(bold, atlas, folder, error)) return false;

  ShowcasePicture picture = BuildShowcasePicture(atlas);
  for (const GeneratedTdf& tdf : picture.tdfFiles) {
    if (!CheckSceneAnimation(tdf.path, tdf.spec, tdf.text, models, error)) return false;
    folder.Add(tdf.path, tdf.text);
  }
  if (!AddDefinitions(picture.definitions, folder, error)) return false;
  std::string tracks = SyncDocumentXml(picture.tracks);
  if (!CheckSyncTracks(SHOWCASE_TRACKS_PATH, tracks, picture.tracks, error)) return false;
  folder.Add(SHOWCASE_TRACKS_PATH, tracks);
  folder.Add(SHOWCASE_FEATURES_PATH, WriteFeatureTable(picture.features));

  std::string score = ComposeShowcaseScore();
  Score parsed;
  if (!ParseScore(score, parsed, error)) {
    error = std::string(SHOWCASE_SCORE_PATH) + ": " + error;
    return false;
  }
  folder.Add(SHOWCASE_SCORE_PATH, score);

  for (const auto& [tree, prefix] : options.copyTrees) {
    if (!folder.AddTree(tree, prefix, error)) return false;
  }
  return true;
}
