// torvane-tool check: reads a production the way the player will and names every problem.
#include <cstdio>
#include <filesystem>

#include "files/pack_file.h"
#include "tools/check/content_folder_files.h"
#include "tools/check/production_check.h"
#include "tools/pack_opening.h"
#include "tools/tool_command.h"

namespace {

int Report(const ProductionFiles& files, const ProductionCheckResult& result) {
  for (const ProductionFinding& finding : result.findings.All()) std::printf("%s\n", FormatFinding(finding).c_str());
  std::printf("%s\n", DescribeCheck(files, result).c_str());
  return result.findings.Count(FindingSeverity::Error) > 0 ? 1 : 0;
}

int RunCheck(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--music"}, {}, parsed, error)) return ToolUsageError("check", error);
  if (parsed.positional.size() != 1) return ToolUsageError("check", "needs one DIR or PAK");
  const std::filesystem::path target = parsed.positional[0];
  ProductionCheckOptions options;
  options.musicPath = parsed.Option("--music");
  if (std::filesystem::is_directory(target)) {
    ContentFolderFiles folder(target);
    return Report(folder, CheckProduction(folder, &folder, options));
  }
  if (!InstallPackFile(target.string(), error)) {
    std::fprintf(stderr, "torvane-tool check: %s\n", error.c_str());
    return 1;
  }
  int status = 0;
  {
    OpenPackFiles pack(target.string());
    status = Report(pack, CheckProduction(pack, nullptr, options));
  }
  ClosePackage();
  return status;
}

}  // namespace

TORVANE_TOOL_COMMAND(check, "check", "name every problem of a production with its file and line",
                     "usage: torvane-tool check DIR|PAK [--music M]\n\n"
                     "Reads a production the way the player will: a content folder (DIR/data/... as in the\n"
                     "pack, DIR/models/*.mqo converted as the build converts them, DIR/music/ with one\n"
                     "score or a music.ogg) or a pack. Reports each problem on a line of its own,\n"
                     "FILE:LINE[:COLUMN]: error|warning: MESSAGE (the likely cause of several first, the\n"
                     "rest marked \"(follows from line N)\"), then a summary: the files every\n"
                     "production needs, the definition files (XML, names, lines, spans, overlaps,\n"
                     "post-effect targets, passes, sources and constants), every scene animation read\n"
                     "strictly (blocks, key counts, times, braces, model slots, part names), models\n"
                     "(material effects and textures, nesting), textures (they decode), effects (they\n"
                     "build on a hidden OpenGL context when a display is there, else they are parsed)\n"
                     "and the music (the player's own probe, and its length: spans past its end are\n"
                     "reported). --music M checks M instead of the folder's music. Exits 1 when there\n"
                     "is an error, 0 otherwise. See docs/production.md.\n",
                     RunCheck);
