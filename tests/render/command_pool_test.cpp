// The bump allocator under the command buffer, at the edge of its capacity.
#include <gtest/gtest.h>

#include "render/command_pool.h"

namespace {

TEST(CommandPool, FillsExactlyToItsCapacityAndRefusesTheNextByte) {
  CommandPool pool;
  pool.Reserve(64);
  uint8_t* first = static_cast<uint8_t*>(pool.Take(48));
  ASSERT_NE(first, nullptr);
  uint8_t* last = static_cast<uint8_t*>(pool.Take(16));
  ASSERT_NE(last, nullptr) << "the record that ends exactly at the capacity fits";
  EXPECT_EQ(last, first + 48);
  EXPECT_EQ(pool.Used(), 64u);
  EXPECT_EQ(pool.mCount, 2u);
  EXPECT_EQ(pool.Take(1), nullptr);
  EXPECT_EQ(pool.mCount, 2u) << "a refused record is not counted";
  pool.Rewind();
  EXPECT_EQ(pool.Take(65), nullptr);
  EXPECT_EQ(pool.Take(64), first) << "after the rewind the whole capacity is there again";
  pool.Release();
  EXPECT_EQ(pool.Take(1), nullptr);
}

}  // namespace
