// Drawing the picture at whole-number factors, its changes, its bars, and mapping positions
// back.
#include "platform/scaled_picture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;
constexpr int PIECE = 8;     // a frame is compared with the last one in pieces of 8 pixels
constexpr int BAND_GAP = 8;  // changed rows this close together share a rectangle

// Picture pixels through the palette, each repeated S times; the common factors get their
// own loop so that the compiler unrolls the repeats.
template <int S>
void expand_by(const uint8_t* in, int n, const ColourTable& colours, uint32_t* out) {
    for (int x = 0; x < n; ++x) {
        const uint32_t c = colours[in[x]];
        for (int k = 0; k < S; ++k) out[k] = c;
        out += S;
    }
}

void expand(const uint8_t* in, int n, const ColourTable& colours, int scale, uint32_t* out) {
    switch (scale) {
        case 1: expand_by<1>(in, n, colours, out); return;
        case 2: expand_by<2>(in, n, colours, out); return;
        case 3: expand_by<3>(in, n, colours, out); return;
        case 4: expand_by<4>(in, n, colours, out); return;
        case 5: expand_by<5>(in, n, colours, out); return;
        case 6: expand_by<6>(in, n, colours, out); return;
        default:
            for (int x = 0; x < n; ++x) {
                std::fill_n(out, scale, colours[in[x]]);
                out += scale;
            }
    }
}

// Pixels [x0, x1) of picture row y into every target row the picture row covers. A long run
// is expanded once and copied; a short one is expanded into each row, since a call to copy a
// few bytes costs more than the look-ups.
void draw_run(const uint8_t* pixels, int y, int x0, int x1, const ColourTable& colours, const PictureFit& fit,
              uint8_t* target, ptrdiff_t pitch) {
    constexpr int LONG_RUN = 64;
    const ptrdiff_t top = static_cast<ptrdiff_t>(fit.y + y * fit.scale_y) * pitch;
    uint8_t* row = target + top + static_cast<ptrdiff_t>(fit.x + x0 * fit.scale_x) * 4;
    const uint8_t* in = pixels + static_cast<ptrdiff_t>(y) * FIELD_W + x0;
    const bool copy = x1 - x0 >= LONG_RUN;
    expand(in, x1 - x0, colours, fit.scale_x, reinterpret_cast<uint32_t*>(row));
    const auto bytes = static_cast<size_t>((x1 - x0) * fit.scale_x) * sizeof(uint32_t);
    for (int k = 1; k < fit.scale_y; ++k) {
        uint8_t* below = row + k * pitch;
        if (copy)
            std::memcpy(below, row, bytes);
        else
            expand(in, x1 - x0, colours, fit.scale_x, reinterpret_cast<uint32_t*>(below));
    }
}

// Redraws the changed pieces of picture row y, a run of neighbouring ones at a time; returns
// the first and last changed column, (-1, -1) when nothing changed.
std::pair<int, int> draw_row_changes(const uint8_t* before, const uint8_t* now, int y, const ColourTable& colours,
                                     const PictureFit& fit, uint8_t* target, ptrdiff_t pitch) {
    const uint8_t* a = before + static_cast<ptrdiff_t>(y) * FIELD_W;
    const uint8_t* b = now + static_cast<ptrdiff_t>(y) * FIELD_W;
    int first = -1, last = -1;
    if (std::memcmp(a, b, FIELD_W) == 0) return {first, last};
    for (int x = 0; x < FIELD_W;) {
        if (std::memcmp(a + x, b + x, PIECE) == 0) {
            x += PIECE;
            continue;
        }
        int end = x + PIECE;
        while (end < FIELD_W && std::memcmp(a + end, b + end, PIECE) != 0) end += PIECE;
        draw_run(now, y, x, end, colours, fit, target, pitch);
        if (first < 0) first = x;
        last = end - 1;
        x = end;
    }
    return {first, last};
}

// Adds changed columns [first, last] of row y to the bands: a row close below the last band
// joins it (one rectangle costs less than two), and so does every row once `max` are made.
void add_to_bands(FieldRect* bands, int& count, int max, int first, int last, int y, int last_y) {
    if (count > 0 && (y - last_y <= BAND_GAP || count == max)) {
        FieldRect& band = bands[count - 1];
        const int right = std::max(band.x + band.w, last + 1);
        band.x = std::min(band.x, first);
        band.w = right - band.x;
        band.h = y + 1 - band.y;
        return;
    }
    bands[count++] = {first, y, last + 1 - first, 1};
}

void fill_span(uint8_t* row, int from, int to, uint32_t colour) {
    if (to > from) std::fill_n(reinterpret_cast<uint32_t*>(row) + from, to - from, colour);
}

}  // namespace

PictureFit fit_picture(int width, int height) {
    PictureFit fit;
    const int scale = std::min(width / FIELD_W, height / FIELD_H);
    if (scale < 1) return fit;
    fit.scale_x = scale;
    fit.scale_y = scale;
    fit.x = (width - fit.width()) / 2;
    fit.y = (height - fit.height()) / 2;
    return fit;
}

void draw_scaled(const uint8_t* pixels, const ColourTable& colours, const PictureFit& fit, uint8_t* target,
                 ptrdiff_t pitch) {
    if (fit.scale_x < 1 || fit.scale_y < 1) return;
    for (int y = 0; y < FIELD_H; ++y) draw_run(pixels, y, 0, FIELD_W, colours, fit, target, pitch);
}

int draw_changes(const uint8_t* before, const uint8_t* now, const ColourTable& colours, const PictureFit& fit,
                 uint8_t* target, ptrdiff_t pitch, FieldRect* changed, int max_rects) {
    if (fit.scale_x < 1 || fit.scale_y < 1 || max_rects < 1) return 0;
    int count = 0;
    int last_y = -1;
    for (int y = 0; y < FIELD_H; ++y) {
        const auto [first, last] = draw_row_changes(before, now, y, colours, fit, target, pitch);
        if (first < 0) continue;
        add_to_bands(changed, count, max_rects, first, last, y, last_y);
        last_y = y;
    }
    return count;
}

FieldRect scaled_rect(const PictureFit& fit, const FieldRect& part) {
    return {fit.x + part.x * fit.scale_x, fit.y + part.y * fit.scale_y, part.w * fit.scale_x, part.h * fit.scale_y};
}

void fill_bars(uint8_t* target, ptrdiff_t pitch, int width, int height, const PictureFit& fit, uint32_t colour) {
    const bool drawn = fit.scale_x >= 1 && fit.scale_y >= 1;
    const int top = drawn ? fit.y : height;
    const int bottom = drawn ? fit.y + fit.height() : height;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = target + static_cast<ptrdiff_t>(y) * pitch;
        if (y < top || y >= bottom) {
            fill_span(row, 0, width, colour);
        } else {
            fill_span(row, 0, fit.x, colour);
            fill_span(row, fit.x + fit.width(), width, colour);
        }
    }
}

void target_to_field(const PictureFit& fit, int tx, int ty, uint16_t& fx, uint16_t& fy) {
    if (fit.scale_x < 1 || fit.scale_y < 1) {
        fx = 0;
        fy = 0;
        return;
    }
    // Clamped before dividing: a division of a negative offset would round toward zero.
    fx = static_cast<uint16_t>(std::clamp(tx - fit.x, 0, fit.width() - 1) / fit.scale_x);
    fy = static_cast<uint16_t>(std::clamp(ty - fit.y, 0, fit.height() - 1) / fit.scale_y);
}

}  // namespace qvar
