// The built showcase (build/production): its music's loudness and peak, every asset of its pack
// read back by the engine's readers and every name its files use present, every effect building,
// the same bytes from a second build, and its documentation naming every feature it shows.
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <ebur128.h>
#include <gtest/gtest.h>

#include "files/definition_xml.h"
#include "files/model_cache.h"
#include "files/sync_document.h"
#include "files/tdf_document.h"
#include "render/image/decoders.h"
#include "resources/post_effect_entry.h"
#include "sound/ogg_vorbis_loader.h"
#include "tests/content/pack_entries.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

std::string Extension(const std::string& name) {
  std::string extension = name.substr(name.rfind('.') + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ShowcaseProduction : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sEntries = new PackEntries(ReadPackEntries(BinaryPath("production/torvane.pak"))); }
  static void TearDownTestSuite() {
    delete sEntries;
    sEntries = nullptr;
  }
  void SetUp() override { ASSERT_FALSE(sEntries->empty()) << "no showcase pack at build/production"; }

  static const std::string& Entry(const std::string& name) {
    static const std::string none;
    const std::string* bytes = FindEntry(*sEntries, name);
    EXPECT_TRUE(bytes) << name << " is missing from the pack";
    return bytes ? *bytes : none;
  }
  static bool Has(const std::string& name) { return FindEntry(*sEntries, name) != nullptr; }

  // Every value of attribute in the elements named element of a definition file.
  static std::vector<std::string> Attributes(const std::string& file, const char* root, const char* element, const char* attribute) {
    const std::string& text = Entry(file);
    Alert failure;
    XmlElement definitions = ParseDefinitionXml(text.c_str(), text.size(), DEFINITION_ROOT_TAG, file.c_str(), failure);
    EXPECT_FALSE(definitions.IsEmpty()) << file << ": " << failure.text;
    EXPECT_STREQ(definitions.Attribute("name"), root);
    std::vector<std::string> values;
    for (int i = 0; i < definitions.ChildCount(element); ++i) {
      const char* value = definitions.Child(element, i).Attribute(attribute);
      values.push_back(value ? value : "");
    }
    return values;
  }

  static PackEntries* sEntries;
};

PackEntries* ShowcaseProduction::sEntries = nullptr;

TEST_F(ShowcaseProduction, TheMusicIsMasteredToItsLoudnessAndPeakAndLastsThePiece) {
  OggVorbisLoader loader;
  ASSERT_EQ(loader.Open(BinaryPath("production/music.ogg").c_str()), SOUND_OK);
  WaveFormat format;
  PcmBlock block;
  ASSERT_EQ(loader.GetFormat(format), SOUND_OK);
  ASSERT_EQ(loader.Read(block, 0, 0, false), SOUND_OK);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSecond, 44100u);
  size_t samples = block.Size() / 2;
  std::vector<int16_t> pcm(samples);
  std::memcpy(pcm.data(), block.Data(), samples * 2);
  double seconds = static_cast<double>(samples / 2) / 44100.0;
  EXPECT_GE(seconds, 120.0);
  EXPECT_LE(seconds, 180.0);
  EXPECT_NEAR(seconds, 157.44, 0.05) << "82 bars at 125 beats a minute";

  ebur128_state* state = ebur128_init(2, 44100, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
  ASSERT_EQ(ebur128_add_frames_short(state, pcm.data(), samples / 2), EBUR128_SUCCESS);
  double loudness = 0.0, left = 0.0, right = 0.0;
  ebur128_loudness_global(state, &loudness);
  ebur128_true_peak(state, 0, &left);
  ebur128_true_peak(state, 1, &right);
  ebur128_destroy(&state);
  EXPECT_NEAR(loudness, -14.0, 1.0);
  EXPECT_LE(20.0 * std::log10(std::max(left, right)), -1.0);
  size_t clipped = 0;
  for (int16_t sample : pcm) clipped += sample == 32767 || sample == -32768;
  EXPECT_EQ(clipped, 0u);
}

TEST_F(ShowcaseProduction, EveryAssetReadsBackThroughTheEnginesReaders) {
  std::map<std::string, ModelData> models;
  int counts[4] = {0, 0, 0, 0};
  for (const auto& [name, bytes] : *sEntries) {
    std::string extension = Extension(name);
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (ImageCanLoad(extension)) {
      ImageData image;
      ImageDecoder decoder = ImageDecoderFor(extension);
      ASSERT_TRUE(decoder && decoder(data, bytes.size(), image)) << name;
      ++counts[0];
    } else if (extension == "bmdl") {
      ASSERT_TRUE(ParseModelCache(data, bytes.size(), models[name.substr(0, name.size() - 4) + "mqo"])) << name;
      ++counts[1];
    }
  }
  for (const auto& [name, bytes] : *sEntries) {
    if (Extension(name) != "tdf") continue;
    TdfDocument document;
    std::vector<std::string> missing;
    document.ParseTdfText(bytes, [&](int32_t, const std::string& path) -> const ModelData* {
      auto found = models.find(path);
      if (found == models.end()) missing.push_back(path);
      return found == models.end() ? nullptr : &found->second;
    });
    EXPECT_TRUE(missing.empty()) << name << " names " << (missing.empty() ? "" : missing.front());
    EXPECT_GT(document.GetSceneCount(), 0u) << name;
    ++counts[2];
  }
  // Every material's texture and effect is in the pack.
  for (const auto& [path, model] : models) {
    for (const ModelMaterial& material : model.materials) {
      for (const std::string& used : {material.texture, material.texture2, material.effect}) {
        EXPECT_TRUE(used.empty() || Has(used)) << path << " uses " << used;
      }
    }
    ++counts[3];
  }
  EXPECT_EQ(counts[0], 10) << "pictures";
  EXPECT_EQ(counts[1], 11) << "models";
  EXPECT_GE(counts[2], 20) << "scene animations";
}

TEST_F(ShowcaseProduction, EveryNameTheDefinitionsUseIsInThePack) {
  const std::string DEFINITIONS = "data\\definition\\";
  std::vector<std::string> ids = Attributes(DEFINITIONS + "tdfDefine.xml", "tdfDefine", "TdfEntry", "id");
  std::vector<std::string> paths = Attributes(DEFINITIONS + "tdfDefine.xml", "tdfDefine", "TdfEntry", "path");
  for (const std::string& path : paths) EXPECT_TRUE(Has(path)) << path;
  std::vector<std::string> lines = Attributes(DEFINITIONS + "sceneLineDefine.xml", "sceneLineDefine", "SceneLineEntry", "tdfId");
  for (const std::string& id : lines) EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
  for (const std::string& shader : Attributes(DEFINITIONS + "postEffectDefine.xml", "postEffectDefine", "PostEffectEntry", "shader")) {
    EXPECT_TRUE(Has("data\\shader\\" + shader + ".cgfx")) << shader;
  }
  std::vector<std::string> textures =
      Attributes(DEFINITIONS + "customTextureDefine.xml", "shaderTextureDefine", "TextureEntry", "path");
  std::set<std::string> formats;
  for (const std::string& path : textures) {
    EXPECT_TRUE(Has(path)) << path;
    formats.insert(Extension(path));
  }
  EXPECT_EQ(formats, (std::set<std::string>{"png", "jpg", "bmp", "tga", "hdr", "dds"})) << "all six formats are custom textures";
  for (const char* core : {"data\\core\\shader\\dummyShader.cgfx", "data\\core\\shader\\msaa.cgfx", "data\\core\\shader\\nullPostEffect.cgfx",
                           "data\\core\\shader\\finalScreenShader.cgfx", "data\\core\\texture\\defaultTexture.bmp"}) {
    EXPECT_TRUE(Has(core)) << core;
  }
}

TEST_F(ShowcaseProduction, EveryEffectBuildsWithoutFallingBack) {
  fs::path folder = fs::temp_directory_path() / ("showcase_effects_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  int built = 0;
  for (const auto& [name, bytes] : *sEntries) {
    if (Extension(name) != "cgfx") continue;
    fs::path file = folder / name.substr(name.rfind('\\') + 1);
    std::ofstream(file, std::ios::binary) << bytes;
    CommandResult result = RunTool({"effect", file.string()});
    EXPECT_EQ(result.status, 0) << name << ":\n" << result.err;
    ++built;
  }
  fs::remove_all(folder);
  EXPECT_GE(built, 24);
}

TEST_F(ShowcaseProduction, BuildingAgainGivesTheSameBytes) {
  fs::path folder = fs::temp_directory_path() / ("showcase_rebuild_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  CommandResult generated = RunCommand(SHOWCASE_GENERATOR, {"--fonts", SHOWCASE_FONTS, "--copy", SourcePath("content/showcase/data") + "=data/",
                                                            "--copy", SourcePath("content/core/shader") + "=data/core/shader/",
                                                            (folder / "content").string()});
  ASSERT_EQ(generated.status, 0) << generated.err;
  CommandResult built = RunTool({"build", (folder / "content").string(), "--out", (folder / "out").string()});
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_TRUE(ReadFile(folder / "out/torvane.pak") == ReadFile(BinaryPath("production/torvane.pak"))) << "the pack differs";
  EXPECT_TRUE(ReadFile(folder / "out/music.ogg") == ReadFile(BinaryPath("production/music.ogg"))) << "the music differs";
  fs::remove_all(folder);
}

// The flashes and the grade's exposure and fade are one entry a section each, their values keyed:
// the constants the player reads from the pack take their tracks' values at the frame's time.
TEST_F(ShowcaseProduction, TheFlashesAndFadesFollowTheirSyncTracks) {
  const std::string& text = Entry("data\\sync\\tracks.xml");
  SyncDocument tracks;
  SyncReadResult read = ReadSyncDocument(text.c_str(), text.size(), tracks);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_TRUE(read.findings.empty()) << read.findings.front().text;
  const std::string& define = Entry("data\\definition\\postEffectDefine.xml");
  Alert failure;
  XmlElement root = ParseDefinitionXml(define.c_str(), define.size(), DEFINITION_ROOT_TAG, "postEffectDefine.xml", failure);
  std::vector<PostEffectEntry> entries;
  std::vector<std::string> notes;
  ReadPostEffectEntries(root, entries, notes);

  const uint32_t BAR = 1920;  // ms at 125 beats a minute
  struct Moment {
    const char* shader;
    const char* param;
    uint32_t ms;
    float value;
  } const MOMENTS[] = {
      {"flash", "flashAmount", 24 * BAR, 0.9f},             // the knot opens with a strong flash
      {"flash", "flashAmount", 25 * BAR, 0.35f},            // and flashes on each bar after
      {"flash", "flashAmount", 25 * BAR + 240, 0.0875f},    // half a beat on: (1 - 1/2)² of it
      {"grade", "fade", 0, 1.0f},                           // the intro fades in from black
      {"grade", "fade", BAR / 2, 0.5f},
      {"grade", "fade", BAR, 0.0f},
      {"grade", "fade", 81 * BAR, 0.5f},                    // the credits fade out
      {"grade", "exposure", 30 * BAR, 1.1f},
  };
  for (const Moment& moment : MOMENTS) {
    SCOPED_TRACE(std::string(moment.param) + " at " + std::to_string(moment.ms));
    const PostEffectConstant* keyed = nullptr;
    for (const PostEffectEntry& entry : entries) {
      if (entry.shader != moment.shader || entry.startTime > moment.ms || entry.endTime < moment.ms) continue;
      for (const PostEffectConstant& constant : entry.constants) {
        if (constant.param == moment.param) keyed = &constant;
      }
    }
    ASSERT_NE(keyed, nullptr) << "no entry of " << moment.shader << " sets it then";
    ASSERT_FALSE(keyed->track.empty());
    float values[4];
    KeyedValues(*keyed, tracks, SyncRowAt(tracks, moment.ms), values);
    EXPECT_NEAR(values[0], moment.value, 1e-4);
    if (PostEffectConstantComponents(keyed->type) > 1) {
      EXPECT_EQ(values[1], values[0]) << "both ends of the grade's mix";
    }
  }
  // Between flashes no flash pass is drawn at all.
  for (const PostEffectEntry& entry : entries) {
    EXPECT_FALSE(entry.shader == "flash" && entry.startTime <= 25 * BAR + 900 && 25 * BAR + 900 <= entry.endTime);
  }
}

TEST_F(ShowcaseProduction, TheProductionPageListsEveryFeatureAtItsTime) {
  std::string page = ReadFile(SourcePath("docs/showcase.md"));
  std::istringstream table(ReadFile(BinaryPath("content/showcase/content/features.tsv")));
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::string feature = line.substr(0, line.find('\t'));
    unsigned long ms = std::stoul(line.substr(line.find('\t') + 1));
    char time[32];
    std::snprintf(time, sizeof time, "%lu:%02lu.%03lu", ms / 60000, ms / 1000 % 60, ms % 1000);
    std::string row = "| " + feature + " | " + time + " |";
    EXPECT_NE(page.find(row), std::string::npos) << "docs/showcase.md should have the row " << row;
    ++rows;
  }
  EXPECT_GE(rows, 20);
}

}  // namespace
