// The two EBCDIC tables are permutations of 0-255 and each undoes the other.
#include <gtest/gtest.h>

#include <bitset>

#include "encodings/ebcdic_tables.h"

namespace {

using twinekit::encodings::ByteTable;
using twinekit::encodings::kAsciiToEbcdic;
using twinekit::encodings::kEbcdicToAscii;

bool IsPermutation(const ByteTable& table) {
  std::bitset<256> seen;
  for (const uint8_t entry : table) seen.set(entry);
  return seen.all();
}

TEST(EbcdicTables, BothArePermutations) {
  EXPECT_TRUE(IsPermutation(kAsciiToEbcdic));
  EXPECT_TRUE(IsPermutation(kEbcdicToAscii));
}

TEST(EbcdicTables, EachUndoesTheOther) {
  for (int x = 0; x < 256; ++x) {
    EXPECT_EQ(kEbcdicToAscii[kAsciiToEbcdic[x]], x) << "byte " << x;
    EXPECT_EQ(kAsciiToEbcdic[kEbcdicToAscii[x]], x) << "byte " << x;
  }
}

TEST(EbcdicTables, LandmarkEntries) {
  EXPECT_EQ(kAsciiToEbcdic[0x00], 0x00);
  EXPECT_EQ(kAsciiToEbcdic['A'], 0xC1);
  EXPECT_EQ(kAsciiToEbcdic['a'], 0x81);
  EXPECT_EQ(kAsciiToEbcdic['0'], 0xF0);
  EXPECT_EQ(kAsciiToEbcdic['|'], 0x6A);
  EXPECT_EQ(kAsciiToEbcdic[0xE9], 0xCB);
  EXPECT_EQ(kAsciiToEbcdic[0xFF], 0xFF);
  EXPECT_EQ(kEbcdicToAscii[0x40], ' ');
  EXPECT_EQ(kEbcdicToAscii[0x25], '\n');
}

}  // namespace
