// Bit arrays over pool slots: bit i lives in byte i/8 at weight 2^(i mod 8).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qvar {

inline constexpr uint8_t BIT_MASKS[8] = {1, 2, 4, 8, 16, 32, 64, 128};

// Reads bit i of a byte array of `size` bytes; an index outside the array reads 0.
inline int bit_get(const uint8_t* bytes, size_t size, int32_t i) {
    if (i < 0 || static_cast<size_t>(i) / 8 >= size) return 0;
    return (bytes[i / 8] / BIT_MASKS[i % 8]) % 2;
}

// Sets bit i to 1 when value is nonzero, else 0; an index outside the array is ignored.
inline void bit_set(uint8_t* bytes, size_t size, int32_t i, int value) {
    if (i < 0 || static_cast<size_t>(i) / 8 >= size) return;
    if (value != 0)
        bytes[i / 8] = static_cast<uint8_t>(bytes[i / 8] | BIT_MASKS[i % 8]);
    else
        bytes[i / 8] = static_cast<uint8_t>(bytes[i / 8] & ~BIT_MASKS[i % 8]);
}

// A bitset with one bit per slot of a pool of capacity N.
template <int N>
struct BitSet {
    std::array<uint8_t, (N + 7) / 8> bytes{};

    int get(int32_t i) const { return bit_get(bytes.data(), bytes.size(), i); }
    void set(int32_t i, int value) { bit_set(bytes.data(), bytes.size(), i, value); }
    void clear_all() { bytes.fill(0); }
};

}  // namespace qvar
