// The bit set that finds free slots.
#include <gtest/gtest.h>

#include "platform/core/bits.h"

namespace tlb {
namespace {

TEST(TBits, OpenBitFindsTheFirstClearBitAndSettingPastTheEndGrows) {
  TBits b;
  EXPECT_EQ(b.OpenBit(), 0);  // an empty set: the first free slot is 0
  b.SetBits(0, true);
  b.SetBits(1, true);
  EXPECT_EQ(b.Size(), 2);
  EXPECT_EQ(b.OpenBit(), 2);  // all set: the size
  b.SetBits(5, true);
  EXPECT_EQ(b.Size(), 6);
  EXPECT_EQ(b.OpenBit(), 2);
  b.SetBits(0, false);
  EXPECT_EQ(b.OpenBit(), 0);
  EXPECT_FALSE(b.Bits(100));  // reading past the end is a clear bit
  b.SetSize(1);
  EXPECT_FALSE(b.Bits(5));
  EXPECT_THROW(b.SetBits(-1, true), EListError);
  EXPECT_THROW(b.Bits(-1), EListError);
}

}  // namespace
}  // namespace tlb
