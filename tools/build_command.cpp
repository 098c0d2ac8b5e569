// torvane-tool build: a content folder made into a production ready to play, the way the
// project's own build makes its test production.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "demo/scene_import.h"
#include "files/output_file.h"
#include "tools/check/content_folder_files.h"
#include "tools/check/production_check.h"
#include "tools/pack_creation.h"
#include "tools/synth/score_rendering.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool build: %s\n", message.c_str());
  return 1;
}

// music.ogg in out from the folder's one score, or copied from music/music.ogg; made tells whether
// there was one music to make. Anything else is left for the check to name.
bool MakeMusic(const ContentFolderFiles& folder, const fs::path& music, bool& made, std::string& error) {
  const std::vector<fs::path> scores = folder.Scores();
  const fs::path prepared = folder.PreparedMusic();
  made = scores.size() + (prepared.empty() ? 0 : 1) == 1;
  if (!made) return true;
  if (!scores.empty()) return RenderScoreFile(scores[0], music, DEFAULT_SYNTH_QUALITY, error);
  std::error_code code;
  fs::copy_file(prepared, music, fs::copy_options::overwrite_existing, code);
  if (code) error = "cannot copy " + prepared.string() + " to " + music.string() + ": " + code.message();
  return !code;
}

// Every glTF scene of DIR/scenes/ imported into the folder, in name order, before the check sees
// the folder: the scenes are the sources, the model and scene animation made from them.
bool ImportScenes(const fs::path& content, std::string& error) {
  std::vector<fs::path> scenes;
  std::error_code code;
  for (fs::directory_iterator it(content / CONTENT_SCENES_FOLDER, code), end; !code && it != end; it.increment(code)) {
    if (it->is_regular_file() && IsGltfSceneFile(it->path())) scenes.push_back(it->path());
  }
  std::sort(scenes.begin(), scenes.end());
  for (const fs::path& scene : scenes) {
    GltfImport import;
    std::string name = fs::relative(scene, content).generic_string();
    bool imported = ImportSceneFile(scene, content, {}, import, error);
    for (const std::string& warning : import.warnings) std::printf("%s: warning: %s\n", name.c_str(), warning.c_str());
    if (!imported) {
      error = name + ": " + error;
      return false;
    }
    std::printf("%s: imported as models/%s.mqo and data/tdf/%s.tdf\n", name.c_str(), import.modelName.c_str(),
                import.animationName.c_str());
  }
  return true;
}

int RunBuild(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--out"}, {}, parsed, error)) return ToolUsageError("build", error);
  if (parsed.positional.size() != 1) return ToolUsageError("build", "needs one content folder DIR");
  const fs::path out = parsed.Option("--out");
  if (out.empty()) return ToolUsageError("build", "--out OUTDIR is required");
  const fs::path content = parsed.positional[0];
  if (!fs::is_directory(content / files::CONTENT_DATA_FOLDER)) {
    return Fail(content.string() + " is no content folder: it has no " + files::CONTENT_DATA_FOLDER + "/ folder");
  }
  // A pack written among the files it packs would be packed into the next one.
  const fs::path data = fs::weakly_canonical(content / files::CONTENT_DATA_FOLDER);
  const fs::path outside = fs::weakly_canonical(out).lexically_relative(data);
  if (!outside.empty() && *outside.begin() != "..") {
    return Fail("OUTDIR must lie outside " + (content / files::CONTENT_DATA_FOLDER).string());
  }
  if (!MakeOutputFolder(out.string(), error)) return Fail(error);

  if (!ImportScenes(content, error)) return Fail(error);
  ContentFolderFiles folder(content);
  const fs::path music = out / "music.ogg";
  bool madeMusic = false;
  // A score that does not read is named by the check, in the form and at the line `check` gives.
  const bool musicMade = MakeMusic(folder, music, madeMusic, error);
  ProductionCheckOptions options;
  if (musicMade && madeMusic) options.musicPath = music.string();
  const ProductionCheckResult check = CheckProduction(folder, &folder, options);
  for (const ProductionFinding& finding : check.findings.All()) std::printf("%s\n", FormatFinding(finding).c_str());
  std::printf("%s\n", DescribeCheck(folder, check).c_str());
  if (check.findings.Count(FindingSeverity::Error) > 0) return Fail("the check found errors; no pack written");
  if (!musicMade) return Fail(error);

  const fs::path pack = out / "torvane.pak";
  if (!WritePackFile(pack.string(), folder.PackInputs(), error)) return Fail(error);
  std::printf("%s\n%s\n", pack.string().c_str(), music.string().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(build, "build", "make a content folder into torvane.pak and music.ogg, checked",
                     "usage: torvane-tool build DIR --out OUTDIR\n\n"
                     "Makes the production in the content folder DIR ready to play in OUTDIR:\n"
                     "  DIR/data/...         packed as they are (DIR/data/x/y.xml becomes data\\x\\y.xml)\n"
                     "  DIR/scenes/NAME.glb  (or .gltf) imported first, as `torvane-tool import` does,\n"
                     "                       into DIR/models/NAME.mqo and DIR/data/tdf/NAME.tdf\n"
                     "  DIR/models/NAME.mqo  converted into the pack as data\\model\\NAME.bmdl\n"
                     "  DIR/music/NAME.score synthesised into OUTDIR/music.ogg (or DIR/music/music.ogg\n"
                     "                       copied there as it is)\n"
                     "then checks the whole as `torvane-tool check` does, printing what it finds, and\n"
                     "writes OUTDIR/torvane.pak only when there is no error. Prints the two paths.\n"
                     "Play it from OUTDIR: the player reads torvane.pak and music.ogg from the working\n"
                     "directory. Exits 1 on an error. See docs/production.md.\n",
                     RunBuild);
