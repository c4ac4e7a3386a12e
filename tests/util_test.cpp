// Random numbers, numeric conversions and bitsets.
#include <gtest/gtest.h>

#include "util/bits.h"
#include "util/numeric.h"
#include "util/random.h"

using namespace qvar;

TEST(RandomInt, FirstValuesFromTheInitialState) {
    Random rng;
    EXPECT_EQ(random_int(rng, 100), 25);
    EXPECT_EQ(rng.s2, 1111111110u);
    EXPECT_EQ(rng.s1, 987654321u);
    EXPECT_EQ(random_int(rng, 100), 48);
    EXPECT_EQ(random_int(rng, 100), 74);
    EXPECT_EQ(random_int(rng, 100), 23);
    EXPECT_EQ(rng.s2, 1013674677u);
}

TEST(RandomInt, StaysBelowNForTheLargestStates) {
    Random rng;
    rng.s1 = 4294967200u;
    rng.s2 = 0u;  // next s2 = 4294967200 rounds to 2^32 as a float
    EXPECT_EQ(random_int(rng, 10), 9);
    Random one;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(random_int(one, 1), 0);
}

TEST(RandomReal, LcgSequenceAndRange) {
    Random rng;
    // x1 = 1 * 214013 + 2531011 = 2745024; (x1 >> 16) & 0x7FFF = 41
    EXPECT_EQ(random_draw15(rng), 41);
    Random r2;
    float v = random_real(r2, 32767.0f);
    EXPECT_FLOAT_EQ(v, 41.0f);
    for (int i = 0; i < 1000; ++i) {
        float x = random_real(r2, 2.0f);
        EXPECT_GE(x, 0.0f);
        EXPECT_LE(x, 2.0f);
    }
}

TEST(Numeric, TruncationTowardZeroAndUnsignedCoordinates) {
    EXPECT_EQ(trunc_i32(-0.5f), 0);
    EXPECT_EQ(trunc_i32(-1.5f), -1);
    EXPECT_EQ(trunc_i32(1e20f), INT32_MAX);
    EXPECT_EQ(trunc_i32(std::nanf("")), 0);
    EXPECT_EQ(trunc_coord(-0.5f), 0u);
    EXPECT_GE(trunc_coord(-1.0f), 0x80000000u);
    EXPECT_EQ(trunc_coord(319.9f), 319u);
    EXPECT_GE(trunc_coord(std::nanf("")), 320u);
    EXPECT_EQ(to_lower('Q'), 'q');
    EXPECT_EQ(to_lower('5'), '5');
    EXPECT_EQ(to_lower(static_cast<char>(0xC1)), static_cast<char>(0xC1));
    EXPECT_EQ(min_int(-3, 2), -3);
    EXPECT_EQ(min_int(5, 5), 5);
}

TEST(Bits, Bit9IsByte1Mask2) {
    uint8_t bytes[2] = {0xFF, 0xFF};
    bit_set(bytes, 2, 9, 0);
    EXPECT_EQ(bytes[1], 0xFD);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bit_get(bytes, 2, 9), 0);
    EXPECT_EQ(bit_get(bytes, 2, 8), 1);
    bit_set(bytes, 2, 99, 0);  // out of range: ignored
    EXPECT_EQ(bit_get(bytes, 2, 99), 0);
}
