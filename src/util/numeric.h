// Checked numeric conversions: every real-to-integer step of the game goes through here.
#pragma once

#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qvar {

// Truncates toward zero. NaN gives 0; values beyond the int32 range saturate.
// Use for every "trunc" of a real that becomes a signed integer.
inline int32_t trunc_i32(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

inline int32_t trunc_i32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Truncation toward zero of a real that the caller has already confined to (-2^31, 2^31), for
// hot loops that check their bounds once before they start: no test per call. Builds without
// NDEBUG (the sanitizer build among them) assert the bound.
inline int32_t trunc_i32_in_range(float v) {
    assert(v > -2147483648.0f && v < 2147483648.0f);
    return static_cast<int32_t>(v);
}

// A real pixel coordinate read as an unsigned number, as the clipping tests expect:
// 0 or more gives its whole part, (-1, 0) gives 0, -1 or less lands at 2^31 or above
// (always off screen). NaN and huge values also land off screen.
inline uint32_t trunc_coord(float v) {
    if (std::isnan(v)) return std::numeric_limits<uint32_t>::max();
    if (v >= 0.0f) {
        if (v >= 4294967296.0f) return std::numeric_limits<uint32_t>::max();
        return static_cast<uint32_t>(v);
    }
    int32_t t = trunc_i32(v);
    return static_cast<uint32_t>(t);  // two's complement wrap: -1 -> 0xFFFFFFFF
}

// The low byte of an integer (the "kept to a byte" of colour arithmetic).
inline uint8_t low_byte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

// Low byte of a real truncated toward zero.
inline uint8_t low_byte_of(float v) { return low_byte(trunc_i32(v)); }

// Signed 32-bit addition that wraps instead of overflowing.
inline int32_t add_wrap(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Mathematical modulo: the result always lies in 0 .. m-1 for m > 0.
inline int32_t mod_floor(int32_t v, int32_t m) {
    int32_t r = v % m;
    return r < 0 ? r + m : r;
}

// A full turn in single precision (6.2831855), the angle every random direction is drawn from.
inline constexpr float TWO_PI = 6.2831854820251465f;

inline float square(float x) { return x * x; }

inline int32_t min_int(int32_t a, int32_t b) { return a < b ? a : b; }

// Folds A..Z to a..z; every other byte, 128 and up included, is left alone.
inline char to_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace qvar
