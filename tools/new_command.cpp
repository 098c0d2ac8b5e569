// torvane-tool new: writes a small, complete production to start from.
#include <cstdio>
#include <filesystem>

#include "files/output_file.h"
#include "tools/starter_files.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool new: %s\n", message.c_str());
  return 1;
}

bool WriteStarterFile(const fs::path& folder, const StarterFile& file, std::string& error) {
  const fs::path path = folder / file.path;
  return WriteOutputFile(path.string(), std::vector<uint8_t>(file.bytes, file.bytes + file.size), error);
}

// Never writes over an author's work: an existing folder must be empty.
bool FolderIsFree(const fs::path& folder) {
  std::error_code code;
  return !fs::exists(folder, code) || (fs::is_directory(folder, code) && fs::is_empty(folder, code));
}

int RunNew(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {}, {}, parsed, error)) return ToolUsageError("new", error);
  if (parsed.positional.size() != 1) return ToolUsageError("new", "needs one DIR");
  const fs::path folder = parsed.positional[0];
  if (!FolderIsFree(folder)) return Fail(folder.string() + " exists and is not an empty folder; nothing written");
  for (const StarterFile& file : StarterFiles()) {
    if (!WriteStarterFile(folder, file, error)) return Fail(error);
    std::printf("%s\n", (folder / file.path).string().c_str());
  }
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(new, "new", "write a small, complete production to start from",
                     "usage: torvane-tool new DIR\n\n"
                     "Writes a starter production into DIR (which must not exist, or be empty): the\n"
                     "engine's core effects and texture, the four definition files, one model source,\n"
                     "one effect, one post-effect, one scene animation with a camera move, a music\n"
                     "score and a README that says how to check, build, preview and play it. Prints\n"
                     "each file written. What it writes builds, checks clean and plays.\n",
                     RunNew);
