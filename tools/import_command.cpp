// torvane-tool import: a glTF 2.0 scene made into a production's model, pictures and scene
// animation, optionally placed on a scene line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "demo/scene_import.h"
#include "tools/scene_line_entry.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

constexpr int MAX_SCENE_LINE = 99;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ParseLine(const std::string& text, int& line) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  line = static_cast<int>(value);
  return !text.empty() && *end == '\0' && value >= 0 && value <= MAX_SCENE_LINE;
}

void AddDefinitionEdits(const fs::path& into, const SceneLinePlacement& span, std::vector<FileToWrite>& files) {
  fs::path definitions = into / "data" / "definition";
  fs::path tdfDefine = definitions / "tdfDefine.xml";
  fs::path sceneLines = definitions / "sceneLineDefine.xml";
  files.push_back({tdfDefine, WithTdfEntry(ReadText(tdfDefine), span.animation)});
  files.push_back({sceneLines, WithSceneLineEntry(ReadText(sceneLines), span)});
}

void PrintSummary(const fs::path& scene, const GltfImport& import, const std::vector<FileToWrite>& files, const fs::path& into) {
  std::printf("imported %s: %zu parts, %zu vertices, %zu triangles, %.3f s, %zu model keys, %zu camera keys\n",
              scene.string().c_str(), import.parts, import.vertices, import.triangles, import.duration, import.modelKeys,
              import.cameraKeys);
  std::printf("worst miss at 60 fps: %.6g units (%.5f%% of the scene's %.6g), %.5f degrees\n", import.worstPositionMiss,
              100 * import.worstPositionMiss / import.sceneSize, import.sceneSize, import.worstRotationMissDegrees);
  for (const FileToWrite& file : files) std::printf("wrote %s\n", fs::relative(file.path, into).generic_string().c_str());
}

void PrintEntriesToAdd(const GltfImport& import) {
  SceneLinePlacement span{import.animationName, 0, 0, static_cast<int64_t>(import.duration * 1000 + 0.5)};
  if (span.endMs == 0) span.endMs = 1000;
  std::printf("add to data/definition/tdfDefine.xml:\n  %s\n", TdfEntryText(span.animation).c_str());
  std::printf("add to data/definition/sceneLineDefine.xml (line and times yours to choose):\n  %s\n",
              SceneLineEntryText(span).c_str());
}

int RunImport(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--into", "--name", "--animation", "--camera", "--line", "--span"}, {}, parsed, error)) {
    return ToolUsageError("import", error);
  }
  if (parsed.positional.size() != 1) return ToolUsageError("import", "needs one SCENE.glb or SCENE.gltf");
  if (parsed.Option("--into").empty()) return ToolUsageError("import", "needs --into DIR, the content folder");
  bool placed = !parsed.Option("--line").empty() || !parsed.Option("--span").empty();
  SceneLinePlacement span;
  if (placed && (!ParseLine(parsed.Option("--line"), span.line) || !ParseSpan(parsed.Option("--span"), span, error))) {
    return ToolUsageError("import", error.empty() ? "--line takes a scene line from 0 to 99, with --span" : error);
  }
  fs::path scene = parsed.positional[0];
  fs::path into = parsed.Option("--into");
  GltfImportOptions options{parsed.Option("--name"), parsed.Option("--animation"), parsed.Option("--camera")};
  GltfImport import;
  std::vector<FileToWrite> files;
  bool ready = PrepareSceneImport(scene, into, options, import, files, error);
  for (const std::string& warning : import.warnings) {
    std::fprintf(stderr, "torvane-tool import: %s: warning: %s\n", scene.string().c_str(), warning.c_str());
  }
  if (!ready) {
    std::fprintf(stderr, "torvane-tool import: %s: %s; nothing written\n", scene.string().c_str(), error.c_str());
    return 1;
  }
  span.animation = import.animationName;
  if (placed) AddDefinitionEdits(into, span, files);
  if (!WriteFilesTogether(files, error)) {
    std::fprintf(stderr, "torvane-tool import: %s: %s; nothing written\n", scene.string().c_str(), error.c_str());
    return 1;
  }
  PrintSummary(scene, import, files, into);
  if (!placed) PrintEntriesToAdd(import);
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(import, "import", "import a glTF 2.0 scene into a content folder",
                     "usage: torvane-tool import SCENE.glb|SCENE.gltf --into DIR [--name NAME] [--animation NAME]\n"
                     "                           [--camera NAME] [--line N --span STIME:ETIME]\n\n"
                     "Writes the scene's meshes as DIR/models/NAME.mqo (one object per mesh node), the\n"
                     "pictures of its materials under DIR/data/texture/, and its camera and animation as\n"
                     "DIR/data/tdf/NAME.tdf, keyed so the player follows the glTF animation at every frame.\n"
                     "NAME is the scene file's name. Every animation of the file plays at once; --animation\n"
                     "imports only that one and names the scene animation after it. --camera picks a camera by node or camera\n"
                     "name (default: the scene's first). With --line and --span (milliseconds) the scene\n"
                     "animation is also put on that scene line in data/definition/ (an entry for the same\n"
                     "animation is replaced); without them the entries to add are printed.\n"
                     "Files beside a .gltf are read only from its own folder. Nothing is written unless\n"
                     "everything imports. Exits 1 with the reason for a scene it cannot import.\n",
                     RunImport);
