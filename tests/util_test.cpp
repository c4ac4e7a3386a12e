// Random numbers, numeric conversions and bitsets.
#include <gtest/gtest.h>

#include "util/bits.h"
#include "util/numeric.h"
#include "util/random.h"

using namespace qvar;

// (The generators' sequences are pinned by the recorded games.)
TEST(Random, TheLargestStatesStayBelowN) {
    Random rng;
    rng.s1 = 4294967200u, rng.s2 = 0u;  // the next s2 rounds to 2^32 as a float
    EXPECT_EQ(random_int(rng, 10), 9);
}

TEST(Numeric, TruncationTowardZeroAndUnsignedCoordinates) {
    EXPECT_EQ(std::make_tuple(trunc_i32(-0.5f), trunc_i32(-1.5f), trunc_i32(1e20f), trunc_i32(std::nanf(""))),
              std::make_tuple(0, -1, INT32_MAX, 0));
    EXPECT_EQ(trunc_coord(-0.5f), 0u);
    EXPECT_GE(trunc_coord(-1.0f), 0x80000000u);
    EXPECT_EQ(trunc_coord(319.9f), 319u);
    EXPECT_GE(trunc_coord(std::nanf("")), 320u);
}

TEST(Bits, Bit9IsByte1Mask2) {
    uint8_t bytes[2] = {0xFF, 0xFF};
    bit_set(bytes, 2, 9, 0);
    EXPECT_EQ(std::make_tuple(bytes[0], bytes[1], bit_get(bytes, 2, 9), bit_get(bytes, 2, 8)),
              std::make_tuple(0xFF, 0xFD, 0, 1));
    bit_set(bytes, 2, 99, 0);  // out of range: ignored
    EXPECT_EQ(bit_get(bytes, 2, 99), 0);
}
