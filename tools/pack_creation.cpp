#include "tools/pack_creation.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "files/content_layout.h"
#include "files/output_file.h"
#include "files/pack_writer.h"

namespace fs = std::filesystem;

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr OpenFile(const fs::path& path, const char* mode) { return FilePtr(std::fopen(path.c_str(), mode), std::fclose); }

bool InputSize(const PackInput& input, uint64_t& size, std::string& error) {
  if (input.inMemory) {
    size = input.bytes.size();
    return true;
  }
  std::error_code code;
  size = fs::file_size(input.file, code);
  if (code) error = "cannot read " + input.file.string() + ": " + code.message();
  return !code;
}

bool WriteInput(const PackInput& input, uint64_t size, std::FILE* out) {
  if (input.inMemory) return std::fwrite(input.bytes.data(), 1, input.bytes.size(), out) == input.bytes.size();
  FilePtr in = OpenFile(input.file, "rb");
  // A file that changed size since it was measured would shift every entry after it.
  return in && CopyStreamBytes(in.get(), out, size) && std::fgetc(in.get()) == EOF;
}

bool WriteWhole(const fs::path& output, const std::vector<PackInput>& inputs, std::string& error) {
  std::vector<PackSource> sources;
  std::vector<uint64_t> sizes;
  for (const PackInput& input : inputs) {
    uint64_t size = 0;
    if (!InputSize(input, size, error)) return false;
    sources.push_back({input.name, size});
    sizes.push_back(size);
  }
  std::string table;
  if (!BuildPackTable(sources, table, error)) return false;
  errno = 0;
  FilePtr out = OpenFile(output, "wb");
  if (!out || std::fwrite(table.data(), 1, table.size(), out.get()) != table.size()) {
    error = WriteFailure(output.string(), errno);
    return false;
  }
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (!WriteInput(inputs[i], sizes[i], out.get())) {
      error = "cannot pack " + (inputs[i].inMemory ? inputs[i].name : inputs[i].file.string()) +
              " (unreadable, or changed while packing)";
      return false;
    }
  }
  if (std::fflush(out.get()) != 0) {
    error = WriteFailure(output.string(), errno);
    return false;
  }
  return true;
}

}  // namespace

std::string PackEntryNameOf(const fs::path& file, const fs::path& folder) {
  return files::PackNameOfRelativePath(file.lexically_relative(folder));
}

bool CollectPackInputs(const fs::path& folder, const fs::path& skip, std::vector<PackInput>& inputs, std::string& error) {
  std::error_code code;
  fs::recursive_directory_iterator it(folder, fs::directory_options::follow_directory_symlink, code);
  for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
    if (!it->is_regular_file()) continue;
    if (fs::exists(skip) && fs::equivalent(it->path(), skip)) continue;
    PackInput input;
    input.name = PackEntryNameOf(it->path(), folder);
    input.file = it->path();
    inputs.push_back(std::move(input));
  }
  if (code) error = folder.string() + ": " + code.message();
  return !code;
}

bool WritePackFile(const std::string& output, std::vector<PackInput> inputs, std::string& error) {
  std::sort(inputs.begin(), inputs.end(), [](const PackInput& a, const PackInput& b) { return a.name < b.name; });
  const std::string temporary = output + ".partial";
  if (!MakeFolderFor(output, error)) return false;
  if (!WriteWhole(temporary, inputs, error)) {
    fs::remove(temporary);
    return false;
  }
  std::error_code code;
  fs::rename(temporary, output, code);
  if (code) {
    error = WriteFailure(output, code.value());
    fs::remove(temporary, code);
    return false;
  }
  return true;
}

bool CopyStreamBytes(std::FILE* in, std::FILE* out, uint64_t count) {
  std::vector<char> buffer(1 << 16);
  while (count > 0) {
    size_t chunk = size_t(std::min<uint64_t>(count, buffer.size()));
    size_t got = std::fread(buffer.data(), 1, chunk, in);
    if (got == 0 || std::fwrite(buffer.data(), 1, got, out) != got) return false;
    count -= got;
  }
  return true;
}
