// Parsing definition-like documents from 1 KB to 1 MB: the player's reader beside pugixml.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "files/definition_xml.h"

namespace {

// A scene-line definition of about size bytes: entries with attributes, some comments and text.
std::string DefinitionDocument(size_t size) {
  std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<TRDataXml name=\"sceneLine\">\n";
  char entry[256];
  for (int i = 0; text.size() < size; ++i) {
    std::snprintf(entry, sizeof entry,
                  "  <SceneLineEntry id=\"scene%04d\" line=\"%d\" start=\"%d\" end=\"%d\" shader=\"fx_%d\" "
                  "p1=\"0\" p2=\"1\"/>\n",
                  i, i % 10, i * 1000, i * 1000 + 999, i % 7);
    text += entry;
    if (i % 16 == 0) text += "  <!-- lines of part " + std::to_string(i / 16) + " -->\n";
    if (i % 32 == 0) text += "  <Note author=\"demo\">timing &amp; order</Note>\n";
  }
  return text + "</TRDataXml>\n";
}

void BM_DefinitionReader(benchmark::State& state) {
  std::string text = DefinitionDocument(size_t(state.range(0)));
  for (auto _ : state) {
    XmlParseResult result = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
    if (result.root.IsEmpty()) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(result.root);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Pugixml(benchmark::State& state) {
  std::string text = DefinitionDocument(size_t(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document document;
    pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
    if (!result || !document.child("TRDataXml")) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

}  // namespace

BENCHMARK(BM_DefinitionReader)->RangeMultiplier(4)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_Pugixml)->RangeMultiplier(4)->Range(1 << 10, 1 << 20);
