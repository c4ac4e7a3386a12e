// The 320x200 picture on a bigger 32-bit target: where it sits, drawing it through the
// palette at whole-number factors (the whole picture, or only what changed since the frame
// the target shows), the black bars round it, and mouse positions back to play-field pixels.
// No SDL here: the SDL backend hands in the target's memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qvar {

// The picture's place on a target: each play-field pixel becomes a scale_x by scale_y block,
// and the picture's top-left corner is at (x, y). A scale of 0 means the target is smaller
// than the picture and nothing is drawn.
struct PictureFit {
    int scale_x = 0;
    int scale_y = 0;
    int x = 0;
    int y = 0;
    int width() const { return 320 * scale_x; }
    int height() const { return 200 * scale_y; }
};

// The largest whole factor, the same both ways (square pixels), centred on a target of
// `width` by `height` pixels.
PictureFit fit_picture(int width, int height);

// 32-bit pixel values in the target's format, one per palette index.
using ColourTable = std::array<uint32_t, 256>;

// A rectangle of play-field pixels.
struct FieldRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Draws 200 rows of 320 palette indices as `fit` says into a target whose rows are `pitch`
// bytes apart (a multiple of 4) and which holds the whole picture at its place. Writes only
// the picture's own pixels.
void draw_scaled(const uint8_t* pixels, const ColourTable& colours, const PictureFit& fit, uint8_t* target,
                 ptrdiff_t pitch);

// The same for a target that already shows the frame `before` in the same colours: only the
// pieces of `now` that differ from it are drawn. The changed parts go to `changed` as at most
// `max_rects` rectangles that together cover every changed pixel (bands of nearby changed
// rows, each as wide as its changes), so that only those need to reach the screen. Returns
// how many rectangles it wrote; 0 when nothing changed.
int draw_changes(const uint8_t* before, const uint8_t* now, const ColourTable& colours, const PictureFit& fit,
                 uint8_t* target, ptrdiff_t pitch, FieldRect* changed, int max_rects);

// The target rectangle a part of the picture covers.
FieldRect scaled_rect(const PictureFit& fit, const FieldRect& part);

// Fills everything of a `width` by `height` target outside the picture with `colour`.
void fill_bars(uint8_t* target, ptrdiff_t pitch, int width, int height, const PictureFit& fit, uint32_t colour);

// The play-field pixel under a target position; positions off the picture (the bars) give
// the nearest pixel on its edge.
void target_to_field(const PictureFit& fit, int tx, int ty, uint16_t& fx, uint16_t& fy);

}  // namespace qvar
