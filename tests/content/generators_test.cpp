// The showcase's generators: geometry facing the way the engine draws it, scene animations that
// read back as written (and the checks that stop broken ones), the content folder's writing, and
// the music and the picture keeping to one timeline.
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "content/showcase/generators/asset_check.h"
#include "content/showcase/generators/generated_content.h"
#include "content/showcase/generators/mesh.h"
#include "content/showcase/generators/models.h"
#include "content/showcase/generators/score_composer.h"
#include "content/showcase/generators/showcase_scenes.h"
#include "content/showcase/generators/tdf_writer.h"
#include "content/showcase/generators/text_atlas.h"
#include "content/showcase/generators/timeline.h"
#include "files/model_normals.h"
#include "tools/synth/music_score.h"

namespace fs = std::filesystem;

namespace {

ModelData Converted(const Mesh& mesh) {
  ModelData model;
  std::string error;
  EXPECT_TRUE(CheckModel("test.mqo", WriteMqo(mesh), model, error)) << error;
  return model;
}

// Every face of an object, its normal as the engine computes it against the direction from the
// object's centre to the face.
void ExpectFacesPointOutward(const ModelObject& object, double sign) {
  Vec3 centre{};
  size_t count = object.positions.size() / 3;
  for (size_t i = 0; i < count; ++i) centre = centre + Vec3{object.positions[i * 3], object.positions[i * 3 + 1], object.positions[i * 3 + 2]};
  centre = centre * (1.0 / static_cast<double>(count));
  for (size_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    Vec3 middle{};
    for (int c = 0; c < 3; ++c) {
      const float* p = &object.positions[face.indices[c] * 3];
      middle = middle + Vec3{p[0], p[1], p[2]} * (1.0 / 3.0);
    }
    const float* n = &object.faceNormals[f * 3];
    ASSERT_GT(sign * Dot(Vec3{n[0], n[1], n[2]}, middle - centre), 0.0) << object.name << " face " << f;
  }
}

TEST(ShowcaseGeometry, BoxesFaceOutAndTheSkyFacesIn) {
  Mesh box;
  MeshMaterial steel;
  steel.name = "steel@metal";
  box.materials = {steel};
  box.AddObject("box").AddBox({-1, -2, -3}, {2, 1, 0}, 1.0, 0);
  ModelData model = Converted(box);
  ASSERT_EQ(model.objects.size(), 1u);
  EXPECT_EQ(model.objects[0].faces.size(), 12u);
  EXPECT_EQ(model.materials[0].effect, "data\\shader\\metal.cgfx");
  ExpectFacesPointOutward(model.objects[0], 1.0);

  ModelData sky = Converted(SkyModel());
  ExpectFacesPointOutward(sky.objects[0], -1.0);
  ModelData knot = Converted(KnotModel());
  EXPECT_GT(knot.objects[0].faces.size(), 10000u);
}

TEST(ShowcaseGeometry, TitleTilesTurnAboutTheirOwnCentres) {
  ModelData title = Converted(TitleModel());
  ASSERT_EQ(title.objects.size(), static_cast<size_t>(TITLE_TILES_ACROSS * TITLE_TILES_DOWN));
  EXPECT_EQ(title.namedPoints.size(), title.objects.size());
  ModelPoint first = title.FindNamedPoint(TitleTileName(0, 0));
  EXPECT_FLOAT_EQ(first[0], static_cast<float>(-TITLE_WIDTH / 2 + TITLE_WIDTH / TITLE_TILES_ACROSS / 2));
  EXPECT_FLOAT_EQ(first[2], 0.0f) << "pivots stay in z = 0, where the renderer places them exactly";
}

TdfFile SmallAnimation() {
  TdfFile file;
  file.title = "test";
  file.models = {{3, "data\\model\\box.mqo"}};
  ObjectTrack camera = CameraTrack({0.0, 2.0}, {CameraKey{{0, 1, 5}, {0, 0, 0}, 45, 0.1}, CameraKey{{1, 1, 4}, {0, 0, 0}, 50, 0}});
  ObjectTrack box;
  box.slot = 3;
  box.times = {0.0, 1.0, 2.0};
  PartTrack part{"box", {}, true, true, true, true};
  for (int i = 0; i < 3; ++i) {
    PartKey key;
    key.position = {1.0 * i, 2.0, -3.0 * i};
    key.rotation = {0.1 * i, 0.2, 0.3};
    key.scale = {1, 2, 3};
    key.alpha = 0.5;
    part.keys.push_back(key);
  }
  box.parts = {part};
  file.scenes = {SceneTrack{"shot", {camera, box}}};
  return file;
}

std::map<std::string, ModelData> BoxModel() {
  Mesh box;
  box.materials = {MeshMaterial()};
  box.materials[0].name = "plain";
  box.AddObject("box").AddBox({-1, -1, -1}, {1, 1, 1}, 1.0, 0);
  std::map<std::string, ModelData> models;
  models["data\\model\\box.mqo"] = Converted(box);
  return models;
}

TEST(ShowcaseAnimations, ReadBackAsWrittenAndMistakesAreCaught) {
  std::map<std::string, ModelData> models = BoxModel();
  TdfFile file = SmallAnimation();
  std::string error;
  EXPECT_TRUE(CheckSceneAnimation("ok.tdf", file, WriteTdf(file), models, error)) << error;
  // The file keeps drawing space with z negated: a key at z = -6 is written as 6.
  EXPECT_NE(WriteTdf(file).find("2 2 6"), std::string::npos) << WriteTdf(file);

  TdfFile typo = file;
  typo.scenes[0].objects[1].parts[0].name = "bxo";
  EXPECT_FALSE(CheckSceneAnimation("typo.tdf", typo, WriteTdf(typo), models, error));
  EXPECT_NE(error.find("\"bxo\" names no object"), std::string::npos) << error;

  TdfFile backwards = file;
  backwards.scenes[0].objects[1].times = {0.0, 2.0, 1.0};
  EXPECT_FALSE(CheckSceneAnimation("backwards.tdf", backwards, WriteTdf(backwards), models, error));
  EXPECT_NE(error.find("times do not rise"), std::string::npos) << error;

  TdfFile shortKeys = file;
  shortKeys.scenes[0].objects[1].parts[0].keys.pop_back();
  EXPECT_FALSE(CheckSceneAnimation("short.tdf", shortKeys, WriteTdf(shortKeys), models, error));

  // A file that does not say what the spec says: a key block cut short shifts what follows.
  std::string text = WriteTdf(file);
  size_t alpha = text.find("Alpha {");
  std::string cut = text.substr(0, alpha) + "Alpha { 0.5 0.5 }\n    }\n  }\n}\nEof\n";
  EXPECT_FALSE(CheckSceneAnimation("cut.tdf", file, cut, models, error));

  TdfFile noCamera = file;
  noCamera.scenes[0].objects.erase(noCamera.scenes[0].objects.begin());
  EXPECT_FALSE(CheckSceneAnimation("camera.tdf", noCamera, WriteTdf(noCamera), models, error));
  EXPECT_FALSE(CheckSceneAnimation("models.tdf", file, WriteTdf(file), {}, error)) << "a model that was not generated";
}

TEST(ShowcaseAssets, ChecksRefuseWhatTheEngineWouldMisread) {
  std::string error;
  ModelData model;
  EXPECT_FALSE(CheckModel("flat.mqo",
                          "Metasequoia Document\nFormat Text Ver 1.0\nObject \"flat\" {\n vertex 3 {\n 0 0 0\n 1 0 0\n 2 0 0\n }\n"
                          " face 1 {\n 3 V(0 1 2)\n }\n}\nEof\n",
                          model, error));
  EXPECT_NE(error.find("has no area"), std::string::npos) << error;
  EXPECT_FALSE(CheckModel("broken.mqo", "Metasequoia Document\nFormat Text Ver 1.0\nObject \"x\" {\n face 1 {\n 3 V(0 1 2)\n }\n}\n",
                          model, error));

  Rgba8Image picture(4, 4);
  std::vector<uint8_t> png = WritePng(picture);
  EXPECT_FALSE(CheckPicture("picture.tga", png, picture, 0.0, error)) << "a PNG under a TGA name does not decode";
  Rgba8Image other(4, 4);
  other.pixels[0] = 9;
  EXPECT_FALSE(CheckPicture("picture.png", png, other, 0.0, error));
  EXPECT_TRUE(CheckPicture("picture.png", png, picture, 0.0, error)) << error;

  EXPECT_FALSE(CheckDefinition("d.xml", "<TRDataXml name=\"tdfDefine\"><TdfEntry></TRDataXml>", "tdfDefine", error));
  EXPECT_FALSE(CheckDefinition("d.xml", "<TRDataXml name=\"other\"/>", "tdfDefine", error));
  EXPECT_TRUE(CheckDefinition("d.xml", "<TRDataXml name=\"tdfDefine\"/>", "tdfDefine", error)) << error;
}

TEST(ShowcaseContentFolder, RewritesOnlyWhatChangedAndRemovesWhatIsGone) {
  fs::path root = fs::temp_directory_path() / ("showcase_folder_" + std::to_string(::getpid()));
  fs::remove_all(root);
  std::string error;
  GeneratedContent first;
  first.Add("data/a.txt", std::string("one"));
  first.Add("data/b.txt", std::string("two"));
  ASSERT_TRUE(first.WriteTo(root, error)) << error;
  fs::file_time_type kept = fs::last_write_time(root / "data/a.txt");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));

  GeneratedContent second;
  second.Add("data/a.txt", std::string("one"));
  second.Add("models/c.mqo", std::string("three"));
  ASSERT_TRUE(second.WriteTo(root, error)) << error;
  EXPECT_EQ(fs::last_write_time(root / "data/a.txt"), kept) << "an unchanged file is not touched";
  EXPECT_FALSE(fs::exists(root / "data/b.txt")) << "a file no longer generated is removed";
  std::ifstream in(root / "models/c.mqo");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "three");
  fs::remove_all(root);
}

TEST(ShowcaseTimeline, TheMusicAndThePictureShareOneTempoMap) {
  const std::vector<Section>& sections = ShowcaseSections();
  for (size_t i = 1; i < sections.size(); ++i) EXPECT_EQ(sections[i].firstBar, sections[i - 1].EndBar()) << sections[i].name;
  EXPECT_EQ(BeatMs(1), 480u);
  EXPECT_EQ(BarMs(ShowcaseBars()), 157440u);
  double seconds = BarMs(ShowcaseBars()) / 1000.0;
  EXPECT_GE(seconds, 120.0);
  EXPECT_LE(seconds, 180.0);

  Score score;
  std::string error;
  ASSERT_TRUE(ParseScore(ComposeShowcaseScore(), score, error)) << error;
  EXPECT_EQ(score.tempo, SHOWCASE_TEMPO);
  EXPECT_EQ(score.lengthBeats, ShowcaseBars() * BEATS_PER_BAR) << "the music ends where the last section does";
  std::set<int> played;
  for (const Note& note : score.notes) {
    played.insert(note.instrument);
    EXPECT_LT(note.beat, score.lengthBeats);
  }
  EXPECT_EQ(played.size(), score.instruments.size()) << "every instrument plays";
  EXPECT_TRUE(score.master.enabled);
}

TEST(ShowcaseTimeline, ScenesCutAndTextStayWithinTheirSections) {
  Rgba8Image none;
  TextAtlas atlas{none, {}};
  for (const TextLine& line : ShowcaseTextLines()) atlas.placements.push_back({line.id, 0, 0, 100, 10});
  ShowcasePicture picture = BuildShowcasePicture(atlas);
  std::set<std::string> ids;
  for (const TdfDefinition& tdf : picture.definitions.tdfs) ids.insert(tdf.id);
  std::map<int, std::vector<std::pair<uint32_t, uint32_t>>> spans;
  for (const SceneLineDefinition& line : picture.definitions.sceneLines) {
    EXPECT_TRUE(ids.count(line.tdfId)) << line.tdfId;
    EXPECT_LT(line.start, line.end);
    EXPECT_LE(line.end, BarMs(ShowcaseBars()));
    spans[line.line].push_back({line.start, line.end});
  }
  // The main line is never idle and its scenes start on bars; no line holds two scenes at once.
  for (const Section& section : ShowcaseSections()) {
    bool found = false;
    for (const auto& [start, end] : spans[LINE_MAIN]) found |= start == BarMs(section.firstBar) && end + 1 == BarMs(section.EndBar());
    EXPECT_TRUE(found) << section.name;
  }
  for (auto& [line, list] : spans) {
    std::sort(list.begin(), list.end());
    for (size_t i = 1; i < list.size(); ++i) EXPECT_GT(list[i].first, list[i - 1].second) << "line " << line;
  }
  // Post-effects: only work buffers 0 to 9 as targets, and the timeline covered by a final picture.
  for (const PostEffectDefinition& entry : picture.definitions.postEffects) {
    EXPECT_GE(entry.target, -1);
    EXPECT_LE(entry.target, 9);
    EXPECT_LE(entry.start, entry.end) << entry.comment;
  }
  for (uint32_t t = 0; t < BarMs(ShowcaseBars()); t += 97) {
    int finals = 0;
    for (const PostEffectDefinition& entry : picture.definitions.postEffects) {
      if (entry.start <= t && t <= entry.end && (entry.shader == "grade" || entry.shader == "glitch") && entry.target == -1) ++finals;
    }
    ASSERT_EQ(finals, 1) << "at " << t << " ms";
  }
}

}  // namespace

namespace {

bool Binds(const PostEffectDefinition& entry, const std::string& param) {
  return std::any_of(entry.sources.begin(), entry.sources.end(), [&](const PostEffectSource& s) { return s.param == param; });
}

// The grade and the composite draw their overlay (text, the swarm's line) only in pass 1: an entry
// that binds the overlay's buffer on pass 0 would drop it from the picture, one that runs pass 1
// without it would lay a stale buffer over the frame.
TEST(ShowcasePostChain, OverlaysRunInTheirOwnPassExactlyWhereTheirBuffersAreBound) {
  Rgba8Image none;
  TextAtlas atlas{none, {}};
  for (const TextLine& line : ShowcaseTextLines()) atlas.placements.push_back({line.id, 0, 0, 100, 10});
  ShowcasePicture picture = BuildShowcasePicture(atlas);
  const std::vector<std::pair<std::string, std::string>> overlays = {{"grade", "textTex"}, {"composite", "swarmTex"}};
  std::map<std::string, std::set<int>> passes;
  for (const PostEffectDefinition& entry : picture.definitions.postEffects) {
    for (const auto& [shader, overlay] : overlays) {
      if (entry.shader != shader) continue;
      EXPECT_EQ(entry.pass, Binds(entry, overlay) ? 1 : 0) << entry.comment;
      passes[shader].insert(entry.pass);
    }
  }
  // Both passes of each are in use: the piece has text and a swarm, and frames without either.
  for (const auto& [shader, overlay] : overlays) EXPECT_EQ(passes[shader], (std::set<int>{0, 1})) << shader;
  // Wherever the text line holds a scene, the grade lays it over the picture.
  for (const SceneLineDefinition& line : picture.definitions.sceneLines) {
    if (line.line != LINE_TEXT) continue;
    const uint32_t middle = line.start + (line.end - line.start) / 2;
    int graded = 0;
    for (const PostEffectDefinition& entry : picture.definitions.postEffects) {
      if (entry.shader == "grade" && entry.start <= middle && middle <= entry.end) graded += entry.pass == 1;
    }
    EXPECT_EQ(graded, 1) << line.tdfId << " at " << middle << " ms";
  }
}

}  // namespace
