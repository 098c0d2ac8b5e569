// The notice of a software renderer: which names count, and that it is said once, after the first
// seconds of the demo, with the frame rate reached over them.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/software_renderer_notice.h"

TEST(SoftwareRendererNotice, KnowsTheRenderersThatDrawOnTheCpu) {
  const struct {
    const char* name;
    bool software;
  } CASES[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true}, {"softpipe", true},      {"Mesa DRI swrast", true},
      {"Software Rasterizer", true},              {"AMD Radeon RX 6600 (radeonsi, navi23)", false},
      {"NVIDIA GeForce GTX 1060/PCIe/SSE2", false}, {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"", false},
  };
  for (const auto& c : CASES) EXPECT_EQ(IsSoftwareRenderer(c.name), c.software) << c.name;
}

TEST(SoftwareRendererNotice, SaysOnceWithTheRateOverTheFirstSecondsOfTheDemo) {
  SoftwareRendererNotice notice("llvmpipe (LLVM 15.0.6, 256 bits)");
  // Loading and fade-in compose nothing: the count starts with the demo's first frame.
  EXPECT_FALSE(notice.Observe(0, 1000));
  EXPECT_FALSE(notice.Observe(0, 9000));
  EXPECT_FALSE(notice.Observe(1, 10000));
  EXPECT_FALSE(notice.Observe(12, 12999));
  const std::optional<std::string> text = notice.Observe(13, 13000);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("\"llvmpipe (LLVM 15.0.6, 256 bits)\""), std::string::npos) << *text;
  EXPECT_NE(text->find("4.0 frames a second over the first 3 seconds"), std::string::npos) << *text;
  EXPECT_FALSE(notice.Observe(30, 20000));
}

TEST(SoftwareRendererNotice, SaysNothingOnAGpu) {
  SoftwareRendererNotice notice("AMD Radeon RX 6600 (radeonsi, navi23)");
  for (uint32_t ms = 0; ms <= 20000; ms += 500) EXPECT_FALSE(notice.Observe(ms / 16 + 1, ms)) << ms;
}
