// Damaged copies of the test production through the headless renderer, as a careless copy, a
// disk error or an author's slip would leave them: every one ends with status 0 (the damage is
// named on stderr and the picture makes do) or with a clear error, never with a signal or a hang.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/pack_table.h"
#include "tests/support/memory_pack.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The production's entries, in table order.
PackContents ProductionEntries(const std::string& image) {
  std::vector<char> bytes(image.begin(), image.end());
  std::FILE* fp = fmemopen(bytes.data(), bytes.size(), "rb");
  PackTable table;
  EXPECT_EQ(table.Read(fp), PackStatus::Ok);
  std::fclose(fp);
  PackContents entries;
  for (const PackEntry& entry : table.Entries()) {
    entries.emplace_back(std::string(PackEntryName(entry)), image.substr(entry.offset, entry.size));
  }
  return entries;
}

uint32_t EntryOffsetField(size_t index) { return PACK_HEADER_SIZE + static_cast<uint32_t>(index) * PACK_ENTRY_SIZE + PACK_NAME_SIZE; }

void Store32(std::string& image, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
}

class CorruptContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane_corrupt_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(mFolder);
    fs::create_directories(mFolder);
    mImage = ReadBytes(BinaryPath("test-production/torvane.pak"));
    ASSERT_GT(mImage.size(), PACK_HEADER_SIZE);
    mEntries = ProductionEntries(mImage);
    ASSERT_FALSE(mEntries.empty());
  }
  void TearDown() override { fs::remove_all(mFolder); }

  // Renders a few frames of the damaged pack and checks how the tool ended; returns its stderr.
  std::string Render(const std::string& label, const std::string& image) {
    std::string pack = (mFolder / "torvane.pak").string();
    std::ofstream(pack, std::ios::binary | std::ios::trunc) << image;
    CommandResult result = RunTool({"render", "--pack", pack, "--width", "32", "--height", "18", "--at", "0,2500,6000",
                                    "--out", (mFolder / "frames").string()});
    EXPECT_TRUE(result.status == 0 || result.status == 1) << label << " ended with status " << result.status
                                                          << " (a signal?)\n" << result.err;
    if (result.status == 1) {
      EXPECT_NE(result.err.find("Critical error:["), std::string::npos) << label << ": a failure without its text\n" << result.err;
    }
    return result.err;
  }

  fs::path mFolder;
  std::string mImage;
  PackContents mEntries;
};

TEST_F(CorruptContentTest, TruncatedPacks) {
  for (size_t keep : {size_t{0}, size_t{10}, size_t{PACK_HEADER_SIZE + 100}, mImage.size() / 4, mImage.size() / 2,
                      mImage.size() * 3 / 4, mImage.size() - 1}) {
    std::string err = Render("cut at " + std::to_string(keep), mImage.substr(0, keep));
    if (keep > PACK_HEADER_SIZE + mEntries.size() * PACK_ENTRY_SIZE) {
      EXPECT_NE(err.find("is cut short"), std::string::npos) << "cut at " << keep << "\n" << err;
    }
  }
}

TEST_F(CorruptContentTest, BitFlipsInTheTableAndTheData) {
  size_t tableEnd = PACK_HEADER_SIZE + mEntries.size() * PACK_ENTRY_SIZE;
  uint32_t seed = 15;
  for (int flip = 0; flip < 24; ++flip) {
    seed = seed * 1103515245u + 12345u;
    // Half in the table (names, offsets, sizes), half in the entries' bytes.
    size_t at = flip % 2 == 0 ? PACK_HEADER_SIZE + seed % (tableEnd - PACK_HEADER_SIZE) : tableEnd + seed % (mImage.size() - tableEnd);
    std::string image = mImage;
    image[at] = static_cast<char>(image[at] ^ (1 << (seed >> 16) % 8));
    Render("bit flip at " + std::to_string(at), image);
  }
}

TEST_F(CorruptContentTest, SizesAndOffsetsThatLie) {
  for (size_t i = 0; i < mEntries.size(); i += 3) {
    std::string bigger = mImage;
    Store32(bigger, EntryOffsetField(i) + 4, 0x7FFFFFFF);
    std::string err = Render(mEntries[i].first + " with a size past the pack", bigger);
    EXPECT_NE(err.find(mEntries[i].first + " is cut short"), std::string::npos) << err;
    std::string elsewhere = mImage;
    Store32(elsewhere, EntryOffsetField(i), static_cast<uint32_t>(mImage.size()) + 1000);
    Render(mEntries[i].first + " with an offset past the pack", elsewhere);
  }
}

TEST_F(CorruptContentTest, EveryEntryEmptiedOrReplacedByGarbage) {
  for (size_t i = 0; i < mEntries.size(); ++i) {
    PackContents emptied = mEntries;
    emptied[i].second.clear();
    Render(mEntries[i].first + " emptied", PackImage(emptied));
    PackContents garbage = mEntries;
    std::string noise;
    for (size_t b = 0; b < 700; ++b) noise += static_cast<char>((b * 7919 + i * 31) % 251);
    garbage[i].second = noise;
    Render(mEntries[i].first + " replaced by garbage", PackImage(garbage));
  }
}

TEST_F(CorruptContentTest, ASceneAnimationThatNamesItselfAsAModel) {
  PackContents entries = mEntries;
  bool found = false;
  for (auto& [name, bytes] : entries) {
    if (name != "data\\tdf\\opening.tdf") continue;
    std::string table = "MQO {\n  0 \"data\\model\\cube.mqo\"\n";
    size_t at = bytes.find(table);
    ASSERT_NE(at, std::string::npos);
    bytes.insert(at + table.size(), "  2 \"data\\tdf\\opening.tdf\"\n");
    found = true;
  }
  ASSERT_TRUE(found);
  std::string err = Render("a self-referencing scene animation", PackImage(entries));
  EXPECT_NE(err.find("[resource] error: data\\tdf\\opening.tdf: not loaded: it refers back to itself through "
                     "data\\tdf\\opening.tdf -> data\\tdf\\opening.tdf"),
            std::string::npos)
      << err;
}

}  // namespace
