// Four-lane float vectors for the world's hot loops (GCC/Clang vector extensions, so they
// compile to plain SSE at the default x86-64 level and to scalar code elsewhere). Every lane
// does the same IEEE operation as the scalar code it replaces, so results are identical.
#pragma once

#include <cstdint>
#include <cstring>

namespace qvar::world::simd {

typedef float v4f __attribute__((vector_size(16)));
typedef int32_t v4i __attribute__((vector_size(16)));

inline v4f load(const float* p) {
    v4f v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store(float* p, v4f v) { std::memcpy(p, &v, sizeof v); }
inline v4f splat(float x) { return v4f{x, x, x, x}; }

// |v|: the sign bit cleared, as fabs does.
inline v4f abs(v4f v) { return reinterpret_cast<v4f>(reinterpret_cast<v4i>(v) & 0x7FFFFFFF); }
// Lanes of v with the sign flipped where the mask is set: exactly -v there, v elsewhere.
inline v4f negate_where(v4f v, v4i mask) {
    return reinterpret_cast<v4f>(reinterpret_cast<v4i>(v) ^ (mask & static_cast<int32_t>(0x80000000u)));
}
inline v4f select(v4i mask, v4f a, v4f b) {
    return reinterpret_cast<v4f>((mask & reinterpret_cast<v4i>(a)) | (~mask & reinterpret_cast<v4i>(b)));
}

// Bit k set for every lane k whose comparison came out true (lanes are -1 or 0).
inline uint32_t bits(v4i m) {
    return static_cast<uint32_t>((m[0] & 1) | (m[1] & 2) | (m[2] & 4) | (m[3] & 8));
}

}  // namespace qvar::world::simd
