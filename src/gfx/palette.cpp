// The colour layout: basic colours, greys, four hue wheels, a 5x5x5 cube and black.
#include "gfx/palette.h"

#include <cmath>

#include "util/numeric.h"

namespace qvar {

namespace {

Levels basic_colour(int i) {
    float on = (i & 8) ? 1.0f : 0.5f;
    return {(i & 4) ? on : 0.0f, (i & 2) ? on : 0.0f, (i & 1) ? on : 0.0f};
}

Levels hue_wheel(int i) {
    int k = i - 32;
    int wheel = k / 24;
    float hi = 1.0f, lo = 0.0f;
    if (wheel == 3) hi = 0.5f;
    if (wheel == 1) lo = 0.5f;
    if (wheel == 2) lo = 0.75f;
    int m = k % 8;
    if (m > 4) m = 8 - m;
    float t = static_cast<float>(m) / 4.0f;
    float mid = t * hi + (1.0f - t) * lo;
    switch ((k / 4) % 6) {
        case 0: return {mid, lo, hi};
        case 1: return {hi, lo, mid};
        case 2: return {hi, mid, lo};
        case 3: return {mid, hi, lo};
        case 4: return {lo, hi, mid};
        default: return {lo, mid, hi};
    }
}

uint8_t channel_byte(float level, float gamma) {
    double inverse = 1.0 / static_cast<double>(gamma);
    double value = 255.4 * std::pow(static_cast<double>(level), inverse);
    return low_byte(trunc_i32(value));
}

}  // namespace

Levels colour_levels(int i) {
    if (i < 16) return basic_colour(i);
    if (i < 32) {
        float v = static_cast<float>(i - 16) / 15.0f;
        return {v, v, v};
    }
    if (i < 128) return hue_wheel(i);
    if (i < 253) {
        int v = i - 128;
        return {0.25f * static_cast<float>(v % 5), 0.25f * static_cast<float>((v / 5) % 5),
                0.25f * static_cast<float>(v / 25)};
    }
    return {0.0f, 0.0f, 0.0f};
}

Palette compute_palette(float gamma) {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        Levels l = colour_levels(i);
        p[static_cast<size_t>(i)] = {channel_byte(l.r, gamma), channel_byte(l.g, gamma), channel_byte(l.b, gamma)};
    }
    return p;
}

float sanitize_gamma(float gamma) {
    if (!std::isfinite(gamma) || gamma < MIN_GAMMA || gamma > MAX_GAMMA) return DEFAULT_GAMMA;
    return gamma;
}

Palette initial_palette() {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        uint8_t green = low_byte(128 + (127 - i) * (i % 2));
        p[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), green, static_cast<uint8_t>(i)};
    }
    return p;
}

RgbTriples rgb_triples(const Palette& palette) {
    RgbTriples out{};
    for (size_t i = 0; i < palette.size(); ++i) {
        out[3 * i] = palette[i].r;
        out[3 * i + 1] = palette[i].g;
        out[3 * i + 2] = palette[i].b;
    }
    return out;
}

}  // namespace qvar
