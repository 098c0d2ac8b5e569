// The WebGL 2 drawing path against the fixed-function one: the test production's frames drawn
// both ways on the same GL are the same picture within a small per-pixel tolerance, and the
// WebGL 2 path leaves GL's own fixed-function state alone.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "demo/headless_demo.h"
#include "tests/support/test_paths.h"

namespace {

constexpr int WIDTH = 160;
constexpr int HEIGHT = 90;
// Both paths draw through the same GL with the same matrices, bit for bit, and the same
// precision: the frames come out equal here. One step is left for a GL that rounds an
// interpolation differently for generic attributes than for its own inputs.
constexpr int CHANNEL_TOLERANCE = 1;

struct Comparison {
  int largest = 0;
  size_t beyondTolerance = 0;
  size_t differing = 0;
};

Comparison Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Comparison result;
  for (size_t pixel = 0; pixel + 3 < a.size() && pixel + 3 < b.size(); pixel += 4) {
    int largest = 0;
    for (size_t c = 0; c < 4; ++c) largest = std::max(largest, std::abs(int(a[pixel + c]) - int(b[pixel + c])));
    result.largest = std::max(result.largest, largest);
    result.beyondTolerance += largest > CHANNEL_TOLERANCE;
    result.differing += largest > 0;
  }
  return result;
}

size_t DistinctColours(const std::vector<uint8_t>& pixels) {
  std::set<uint32_t> colours;
  for (size_t p = 0; p + 3 < pixels.size(); p += 4) {
    colours.insert(uint32_t(pixels[p]) | uint32_t(pixels[p + 1]) << 8 | uint32_t(pixels[p + 2]) << 16);
  }
  return colours.size();
}

std::vector<std::vector<uint8_t>> RenderFrames(render::DrawingPath path, int fsaa, const std::vector<uint32_t>& times) {
  HeadlessOptions options;
  options.packPath = BinaryPath("test-production/torvane.pak");
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = fsaa;
  options.drawingPath = path;
  HeadlessDemo demo;
  std::string error;
  EXPECT_TRUE(demo.Start(options, error)) << error;
  std::vector<std::vector<uint8_t>> frames;
  for (uint32_t t : times) {
    frames.push_back(demo.RenderFrame(t));
    if (path == render::DrawingPath::WebGl2) {
      GLfloat modelView[16];
      glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
      EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << "at " << t << " ms";
      EXPECT_EQ(modelView[12], 0.0f) << "GL's own model-view matrix moved at " << t << " ms";
      EXPECT_FALSE(glIsList(1)) << "a display list exists at " << t << " ms";
    }
  }
  demo.Stop();
  render::SelectDrawingPath(render::DrawingPath::FixedFunction);
  return frames;
}

TEST(WebGlPath, DrawsTheTestProductionAsTheFixedFunctionPathDoes) {
  std::vector<uint32_t> times;
  for (uint32_t t = 250; t < 8000; t += 780) times.push_back(t);
  for (int fsaa : {0, 2}) {
    const auto reference = RenderFrames(render::DrawingPath::FixedFunction, fsaa, times);
    const auto webgl = RenderFrames(render::DrawingPath::WebGl2, fsaa, times);
    ASSERT_EQ(reference.size(), webgl.size());
    for (size_t i = 0; i < times.size(); ++i) {
      const Comparison comparison = Compare(reference[i], webgl[i]);
      EXPECT_GT(DistinctColours(reference[i]), 16u) << "the frame at " << times[i] << " ms shows nothing to compare";
      EXPECT_EQ(comparison.beyondTolerance, 0u)
          << "fsaa " << fsaa << ", " << times[i] << " ms: " << comparison.beyondTolerance
          << " pixels differ by more than " << CHANNEL_TOLERANCE << " (at most " << comparison.largest << ")";
      std::printf("fsaa %d, %5u ms: %zu of %d pixels differ, by at most %d\n", fsaa, times[i], comparison.differing,
                  WIDTH * HEIGHT, comparison.largest);
    }
  }
}

}  // namespace
