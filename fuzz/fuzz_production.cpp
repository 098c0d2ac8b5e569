// A whole production from a mutated pack, through the real start-up: definitions, scene
// animations, their models, textures and effects by way of the resource manager, then a few
// frames composed. Faults between files (a scene animation naming itself as a model) are within
// reach here, where each reader's own target sees one file at a time.
//
// Needs a display for its GL context (scripts/fuzz.sh runs it under Xvfb). Names the pack lacks
// read as empty entries instead of ending the process, and a working fallback effect is packed
// first, so that only faults end a run.
#include <unistd.h>

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/critical.h"
#include "core/log.h"
#include "demo/headless_demo.h"
#include "files/missing_entry_policy.h"
#include "files/pack_entry_source.h"
#include "files/pack_file.h"
#include "files/pack_table.h"
#include "files/pack_writer.h"
#include "platform/window.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"

namespace {

// The effect every broken effect falls back to: it must build, or the run ends by design.
constexpr char FALLBACK_EFFECT[] =
    "uniform vec4 shMqoColor : DIFFUSE = vec4(1.0, 0.0, 1.0, 1.0);\n"
    "void vsFallback() { gl_Position = ftransform(); }\n"
    "void fsFallback() { gl_FragColor = vec4(1.0, 0.0, 1.0, shMqoColor.a); }\n"
    "technique Fallback { pass Flat { VertexProgram = vsFallback; FragmentProgram = fsFallback; } }\n";

constexpr size_t MAX_ENTRIES = 64;

// The input's entries behind the fallback effect, or nothing when the input is no pack at all
// (a broken header ends the player at once; the pack's own target covers that).
bool ProductionImage(const uint8_t* data, size_t size, std::string& image) {
  std::vector<char> bytes(data, data + size);
  std::FILE* fp = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!fp) return false;
  PackTable table;
  bool ok = table.Read(fp) == PackStatus::Ok;
  std::fclose(fp);
  if (!ok) return false;
  std::vector<std::pair<std::string, std::string>> entries{{DUMMY_SHADER_PATH, FALLBACK_EFFECT}};
  for (size_t i = 0; i < table.Entries().size() && i < MAX_ENTRIES; ++i) {
    const PackEntry& entry = table.Entries()[i];
    std::string name(PackEntryName(entry));
    uint32_t held = table.HeldSize(entry);
    if (name.empty() || name.size() >= PACK_NAME_SIZE || entry.offset > size) continue;
    entries.emplace_back(name, std::string(reinterpret_cast<const char*>(data) + entry.offset, held));
  }
  std::string error;
  return BuildPackImage(entries, image, error);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetLogStderrLevel(LogLevel::Off);
  ShowCriticalBoxes(false);
  files::SetEntrySources({std::make_shared<files::EmptyWhenMissing>(files::EmptyWhenMissing::Report::Silent),
                          std::make_shared<files::PackEntrySource>()});
  // Video stays started for the whole run: stopped after each input, it unloads the libraries it
  // loaded, and what they keep by design would then be reported as leaks without a name.
  platform::StartVideo();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string image;
  if (!ProductionImage(data, size, image)) return 0;
  int fd = memfd_create("torvane-fuzz-pack", 0);
  if (fd < 0) return 0;
  if (write(fd, image.data(), image.size()) == static_cast<ssize_t>(image.size())) {
    HeadlessOptions options;
    options.packPath = "/proc/self/fd/" + std::to_string(fd);
    options.frame.width = 32;
    options.frame.height = 18;
    HeadlessDemo demo;
    std::string error;
    if (demo.Start(options, error)) {
      for (uint32_t t : {0u, 1500u, 4000u, 9000u}) demo.RenderFrame(t);
    }
    demo.Stop();
    // The next input is another production.
    gResourceManager.ClearPreloads();
  }
  close(fd);
  return 0;
}
