// torvane-tool pack: builds, lists and extracts pack files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/pack_table.h"
#include "files/pack_writer.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr OpenFile(const std::string& path, const char* mode) { return FilePtr(std::fopen(path.c_str(), mode), std::fclose); }

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool pack: %s\n", message.c_str());
  return 1;
}

struct PackInput {
  std::string name;
  fs::path path;
  uint64_t size;
};

// Entry name of path below folder: the relative path with backslashes.
std::string EntryName(const fs::path& path, const fs::path& folder) {
  std::string name = path.lexically_relative(folder).generic_string();
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

// Every regular file under folder except skip, sorted by entry name so that packs are reproducible.
bool CollectInputs(const fs::path& folder, const fs::path& skip, std::vector<PackInput>& inputs, std::string& error) {
  std::error_code code;
  fs::recursive_directory_iterator it(folder, fs::directory_options::follow_directory_symlink, code);
  for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
    if (!it->is_regular_file()) continue;
    if (fs::exists(skip) && fs::equivalent(it->path(), skip)) continue;
    inputs.push_back({EntryName(it->path(), folder), it->path(), uint64_t(it->file_size())});
  }
  if (code) {
    error = folder.string() + ": " + code.message();
    return false;
  }
  std::sort(inputs.begin(), inputs.end(), [](const PackInput& a, const PackInput& b) { return a.name < b.name; });
  return true;
}

// Copies count bytes from in to out; false if in ends early or a write fails.
bool CopyBytes(std::FILE* in, std::FILE* out, uint64_t count) {
  std::vector<char> buffer(1 << 16);
  while (count > 0) {
    size_t chunk = size_t(std::min<uint64_t>(count, buffer.size()));
    size_t got = std::fread(buffer.data(), 1, chunk, in);
    if (got == 0 || std::fwrite(buffer.data(), 1, got, out) != got) return false;
    count -= got;
  }
  return true;
}

bool WritePack(const std::string& output, const std::vector<PackInput>& inputs, std::string& error) {
  std::vector<PackSource> sources;
  for (const PackInput& input : inputs) sources.push_back({input.name, input.size});
  std::string table;
  if (!BuildPackTable(sources, table, error)) return false;
  FilePtr out = OpenFile(output, "wb");
  if (!out) {
    error = "cannot write " + output;
    return false;
  }
  bool ok = std::fwrite(table.data(), 1, table.size(), out.get()) == table.size();
  for (const PackInput& input : inputs) {
    FilePtr in = OpenFile(input.path.string(), "rb");
    if (!ok || !in || !CopyBytes(in.get(), out.get(), input.size) || std::fgetc(in.get()) != EOF) {
      error = "cannot pack " + input.path.string() + " (unreadable, or changed while packing)";
      return false;
    }
  }
  if (std::fflush(out.get()) != 0) {
    error = "cannot write " + output;
    return false;
  }
  return true;
}

int RunCreate(const std::vector<std::string>& args) {
  if (args.size() != 2) return ToolUsageError("pack", "create takes OUT.pak and DIR");
  const std::string& output = args[0];
  fs::path folder = args[1];
  if (!fs::is_directory(folder)) return Fail(folder.string() + " is not a folder");
  std::vector<PackInput> inputs;
  std::string error;
  if (!CollectInputs(folder, output, inputs, error)) return Fail(error);
  std::string temporary = output + ".partial";
  if (!WritePack(temporary, inputs, error)) {
    fs::remove(temporary);
    return Fail(error);
  }
  std::error_code code;
  fs::rename(temporary, output, code);
  if (code) return Fail("cannot write " + output + ": " + code.message());
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
  FilePtr out = args.size() == 3 ? OpenFile(args[2], "wb") : FilePtr(stdout, [](std::FILE*) { return 0; });
  if (!out) return Fail("cannot write " + args[2]);
  uint32_t size = table.HeldSize(*entry);
  if (fseeko(file.get(), off_t(entry->offset), SEEK_SET) != 0 || !CopyBytes(file.get(), out.get(), size) ||
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
