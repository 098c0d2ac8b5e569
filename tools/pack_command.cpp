// torvane-tool pack: builds, lists and extracts pack files.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/output_file.h"
#include "files/pack_table.h"
#include "tools/pack_creation.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr OpenFile(const std::string& path, const char* mode) { return FilePtr(std::fopen(path.c_str(), mode), std::fclose); }

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool pack: %s\n", message.c_str());
  return 1;
}

int RunCreate(const std::vector<std::string>& args) {
  if (args.size() != 2) return ToolUsageError("pack", "create takes OUT.pak and DIR");
  const std::string& output = args[0];
  fs::path folder = args[1];
  if (!fs::is_directory(folder)) return Fail(folder.string() + " is not a folder");
  std::vector<PackInput> inputs;
  std::string error;
  if (!CollectPackInputs(folder, output, inputs, error) || !WritePackFile(output, std::move(inputs), error)) {
    return Fail(error);
  }
  return 0;
}

const char* StatusText(PackStatus status) {
  switch (status) {
    case PackStatus::Ok: return "ok";
    case PackStatus::BadHeader: return "invalid header";
    case PackStatus::BadVersion: return "invalid version";
    case PackStatus::NoEntries: return "invalid data entry.";
  }
  return "invalid pack";
}

// Opens path and reads its table; false with error set otherwise.
bool ReadPack(const std::string& path, FilePtr& file, PackTable& table, std::string& error) {
  file = OpenFile(path, "rb");
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  PackStatus status = table.Read(file.get());
  if (status != PackStatus::Ok) {
    error = path + ": " + StatusText(status);
    return false;
  }
  return true;
}

int RunList(const std::vector<std::string>& args) {
  if (args.size() != 1) return ToolUsageError("pack", "list takes PAK");
  FilePtr file(nullptr, std::fclose);
  PackTable table;
  std::string error;
  if (!ReadPack(args[0], file, table, error)) return Fail(error);
  for (const PackEntry& entry : table.Entries()) {
    std::string name(PackEntryName(entry));
    std::printf("%s\t%u\t%u\n", name.c_str(), entry.offset, entry.size);
  }
  return 0;
}

int RunExtract(const std::vector<std::string>& args) {
  if (args.size() != 2 && args.size() != 3) return ToolUsageError("pack", "extract takes PAK, NAME and optionally OUT");
  FilePtr file(nullptr, std::fclose);
  PackTable table;
  std::string error;
  if (!ReadPack(args[0], file, table, error)) return Fail(error);
  const PackEntry* entry = table.Find(args[1]);
  if (!entry) return Fail("no entry named " + args[1] + " in " + args[0]);
  if (args.size() == 3 && !MakeFolderFor(args[2], error)) return Fail(error);
  errno = 0;
  FilePtr out = args.size() == 3 ? OpenFile(args[2], "wb") : FilePtr(stdout, [](std::FILE*) { return 0; });
  if (!out) return Fail(WriteFailure(args[2], errno));
  uint32_t size = table.HeldSize(*entry);
  if (fseeko(file.get(), off_t(entry->offset), SEEK_SET) != 0 || !CopyStreamBytes(file.get(), out.get(), size) ||
      std::fflush(out.get()) != 0) {
    return Fail("cannot extract " + args[1]);
  }
  return 0;
}

int RunPack(const std::vector<std::string>& args) {
  if (args.empty()) return ToolUsageError("pack", "needs create, list or extract");
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "create") return RunCreate(rest);
  if (args[0] == "list") return RunList(rest);
  if (args[0] == "extract") return RunExtract(rest);
  return ToolUsageError("pack", "unknown action " + args[0]);
}

}  // namespace

TORVANE_TOOL_COMMAND(pack, "pack", "build, list and extract pack files",
                     "usage: torvane-tool pack create OUT.pak DIR\n"
                     "       torvane-tool pack list PAK\n"
                     "       torvane-tool pack extract PAK NAME [OUT]\n\n"
                     "create   packs every file under DIR; entry names are the paths relative to DIR\n"
                     "         with backslashes (DIR/data/x/y.xml becomes data\\x\\y.xml), in byte order\n"
                     "         of the names. A name over 255 bytes is an error.\n"
                     "list     prints one line per table entry, in table order: name, offset and size,\n"
                     "         separated by tabs.\n"
                     "extract  writes the bytes of the first entry named NAME (exact bytes, as the\n"
                     "         player looks it up) to OUT, or to standard output.\n",
                     RunPack);
