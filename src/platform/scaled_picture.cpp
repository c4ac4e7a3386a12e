// Drawing the picture at whole-number factors, its bars, and mapping positions back.
#include "platform/scaled_picture.h"

#include <algorithm>
#include <cstring>

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;

// One picture row through the palette, each pixel repeated S times; the common factors get
// their own loop so that the compiler unrolls the repeats.
template <int S>
void expand_row_by(const uint8_t* in, const ColourTable& colours, uint32_t* out) {
    for (int x = 0; x < FIELD_W; ++x) {
        const uint32_t c = colours[in[x]];
        for (int k = 0; k < S; ++k) out[k] = c;
        out += S;
    }
}

void expand_row(const uint8_t* in, const ColourTable& colours, int scale, uint32_t* out) {
    switch (scale) {
        case 1: expand_row_by<1>(in, colours, out); return;
        case 2: expand_row_by<2>(in, colours, out); return;
        case 3: expand_row_by<3>(in, colours, out); return;
        case 4: expand_row_by<4>(in, colours, out); return;
        case 5: expand_row_by<5>(in, colours, out); return;
        case 6: expand_row_by<6>(in, colours, out); return;
        default:
            for (int x = 0; x < FIELD_W; ++x) {
                std::fill_n(out, scale, colours[in[x]]);
                out += scale;
            }
    }
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
    const auto row_bytes = static_cast<size_t>(fit.width()) * sizeof(uint32_t);
    uint8_t* row = target + static_cast<ptrdiff_t>(fit.y) * pitch + static_cast<ptrdiff_t>(fit.x) * 4;
    for (int y = 0; y < FIELD_H; ++y) {
        expand_row(pixels + static_cast<ptrdiff_t>(y) * FIELD_W, colours, fit.scale_x, reinterpret_cast<uint32_t*>(row));
        const uint8_t* first = row;
        row += pitch;
        for (int k = 1; k < fit.scale_y; ++k, row += pitch) std::memcpy(row, first, row_bytes);
    }
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
