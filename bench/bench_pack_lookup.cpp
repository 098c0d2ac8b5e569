// Looking up pack entries by name, as every CoreFile does, among 100 and among 10,000 entries.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "files/core_file.h"
#include "files/pack_file.h"
#include "files/pack_writer.h"

namespace {

std::string EntryName(int index) {
  char name[96];
  std::snprintf(name, sizeof name, "data\\model\\scene_%02d\\object_%05d.bmdl", index % 37, index);
  return name;
}

// Installs a pack of count small entries and returns 100 of their names spread over the table.
std::vector<std::string> InstallPack(int count, std::string& image) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < count; ++i) entries.emplace_back(EntryName(i), "x");
  std::string error;
  BuildPackImage(entries, image, error);
  std::FILE* fp = fmemopen(image.data(), image.size(), "rb");
  PackTable table;
  table.Read(fp);
  InstallPackage(fp, std::move(table));
  std::vector<std::string> queries;
  for (int i = 0; i < 100; ++i) queries.push_back(EntryName(i * count / 100 + (count > 100 ? 7 : 0)));
  return queries;
}

void BM_FindPackEntry(benchmark::State& state) {
  std::string image;
  std::vector<std::string> queries = InstallPack(int(state.range(0)), image);
  size_t next = 0;
  for (auto _ : state) {
    CoreFile file;
    FindPackEntry(queries[next].c_str(), file, MODE_READ);
    benchmark::DoNotOptimize(file.GetSize());
    next = (next + 1) % queries.size();
  }
  ClosePackage();
}

}  // namespace

BENCHMARK(BM_FindPackEntry)->Arg(100)->Arg(10000);
