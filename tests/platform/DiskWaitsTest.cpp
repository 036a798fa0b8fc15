#include "platform/DiskWaits.h"

#include <gtest/gtest.h>

namespace jb {
namespace {

// Stray "would wait" answers from a warm cache wake nobody; a cold disk,
// where nearly every read waits, wakes every listener once.
TEST(DiskWaitsTest, WakesOnAShareOfWaitedReads) {
  DiskWaits warm;
  int warmWoken = 0;
  warm.Listen([&] { ++warmWoken; });
  for (int i = 0; i < 4000; ++i) warm.Count(i % 1000 == 0);
  for (int i = 0; i < 20; ++i) warm.Count(true);  // past the count, short of the share
  EXPECT_FALSE(warm.Seen());
  EXPECT_EQ(warmWoken, 0);

  DiskWaits cold;
  int woken = 0, removedWoken = 0;
  cold.Listen([&] { ++woken; });
  cold.Remove(cold.Listen([&] { ++removedWoken; }));
  for (int i = 0; i < 15; ++i) cold.Count(true);
  EXPECT_FALSE(cold.Seen());
  cold.Count(true);
  EXPECT_TRUE(cold.Seen());
  cold.Count(true);
  cold.Note();
  EXPECT_EQ(woken, 1);
  EXPECT_EQ(removedWoken, 0);
}

}  // namespace
}  // namespace jb
