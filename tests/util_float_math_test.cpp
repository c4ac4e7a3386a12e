// The game's own sine, cosine, exponential and power: exact, and the same on every libc.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "util/float_math.h"

using namespace qvar;

// The host's double functions, correctly rounded in practice, rounded once more to float are
// the exact float results (bar a double rounding once in 2^29). A spread of arguments of
// every size up to 2^28, both signs, must match bit for bit.
TEST(FloatMath, MatchesTheExactResultAcrossTheRange) {
    int32_t differ = 0;
    for (uint32_t bits = 0; bits < 0x4d800000u; bits += 9973u) {
        for (const float x : {std::bit_cast<float>(bits), -std::bit_cast<float>(bits)}) {
            differ += sine(x) != static_cast<float>(std::sin(static_cast<double>(x)));
            differ += cosine(x) != static_cast<float>(std::cos(static_cast<double>(x)));
            if (std::fabs(x) < 88.0f) differ += exponential(x) != static_cast<float>(std::exp(static_cast<double>(x)));
        }
    }
    for (uint32_t bits = 0; bits <= 0x3f800000u; bits += 997u) {  // 100^u for u in [0, 1], the credits' use
        const float u = std::bit_cast<float>(bits);
        differ += power(100.0f, u) != static_cast<float>(std::pow(100.0, static_cast<double>(u)));
    }
    EXPECT_EQ(differ, 0);
}

// Here glibc's sinf and the browser's libc once gave results one bit apart, which parted a
// replay in the browser from the native one; the exact value is 0x1.fbe4dap-2.
TEST(FloatMath, PinnedValuesAndEdges) {
    EXPECT_EQ(sine(0.518974781f), 0x1.fbe4dap-2f);
    EXPECT_TRUE(std::signbit(sine(-0.0f)));
    EXPECT_EQ(cosine(0.0f), 1.0f);
    EXPECT_TRUE(std::isnan(sine(INFINITY)) && std::isnan(cosine(NAN)));
    for (const float huge : {3.0e38f, -1.0e9f, 268435456.0f}) {
        EXPECT_LE(std::fabs(sine(huge)), 1.0f) << huge;
        EXPECT_NEAR(sine(huge) * sine(huge) + cosine(huge) * cosine(huge), 1.0f, 1e-6f) << huge;
    }
    EXPECT_EQ(exponential(-200.0f), 0.0f);
    EXPECT_EQ(exponential(100.0f), INFINITY);
    for (int32_t n = 0; n <= 30; ++n) EXPECT_EQ(power(0.5f, static_cast<float>(n)), std::ldexp(1.0f, -n)) << n;
    EXPECT_TRUE(std::isnan(power(-2.0f, 2.0f)));
}
