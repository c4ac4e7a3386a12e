// The 320x200 frame of palette indices that every picture is drawn into.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qvar {

inline constexpr int32_t SCREEN_WIDTH = 320;
inline constexpr int32_t SCREEN_HEIGHT = 200;
inline constexpr int32_t FRAME_BYTES = SCREEN_WIDTH * SCREEN_HEIGHT;

// Row-major: the pixel at column x, row y is byte y * 320 + x.
struct FrameBuffer {
    std::array<uint8_t, FRAME_BYTES> pixels{};

    void clear() { pixels.fill(0); }
    uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * SCREEN_WIDTH + x)]; }
};

}  // namespace qvar
