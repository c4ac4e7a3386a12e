// draw_line: the steps of a line from its first end point, one pixel along the longer axis
// each, of which only those that can land on the screen are taken.
#include <cmath>

#include "gfx/draw.h"
#include "gfx/float_steps.h"
#include "util/numeric.h"

namespace qvar {

namespace {

void plot_real(FrameBuffer& fb, float x, float y, uint8_t colour) {
    put_pixel(fb, trunc_coord(x), trunc_coord(y), colour);
}

// One line's steps: the major coordinate `a` goes up by 1 and the minor `b` by `slope` while
// a < a_end; `a_is_x` says which screen axis is the major one. b_end, the minor coordinate of
// the far end, only serves to rule out lines that cannot reach the screen.
struct LineSteps {
    float a, b, a_end, b_end, slope;
    bool a_is_x;
};

float screen_extent(bool x_axis) { return static_cast<float>(x_axis ? SCREEN_WIDTH : SCREEN_HEIGHT); }

// Every step in turn, for the lines whose numbers are not all finite. A major coordinate too
// large to grow by 1 would step forever off screen: the line ends there.
void step_every_point(FrameBuffer& fb, LineSteps s, uint8_t colour) {
    const float a_limit = screen_extent(s.a_is_x);
    while (s.a_end > s.a) {
        if (s.a >= a_limit) return;  // the major coordinate only grows: nothing more is visible
        if (s.a_is_x)
            plot_real(fb, s.a, s.b, colour);
        else
            plot_real(fb, s.b, s.a, colour);
        s.b += s.slope;
        const float next = s.a + 1.0f;
        if (next == s.a) return;
        s.a = next;
    }
}

// Whether no step can land on the screen. The major coordinate stays in [a, a_end). Below
// 2000 pixels each sum is rounded by at most 2^-14, so over the at most 4001 steps both
// coordinates stray at most a quarter of a pixel; as the slope is at most 1, every step lies
// within 0.51 pixels (along the minor axis) of the straight line between the ends. The line
// is ruled out when, over the major axis's part of the screen, it passes more than two pixels
// above or below it. Longer lines are left to the exact walk.
bool surely_off_screen(const LineSteps& s, float a_limit, float b_limit) {
    if (!(s.a_end > -1.0f) || !(s.a_end > s.a) || s.a >= a_limit) return true;
    constexpr float MODERATE = 2000.0f;
    if (!(std::fabs(s.a) < MODERATE && std::fabs(s.a_end) < MODERATE && std::fabs(s.b) < MODERATE &&
          std::fabs(s.b_end) < MODERATE))
        return false;
    // How far past b = v the straight line lies at a, times its (positive) run a_end - a.
    const double a0 = s.a, b0 = s.b, run = static_cast<double>(s.a_end) - a0;
    const double rise = static_cast<double>(s.b_end) - b0;
    auto beyond = [&](double a, double v) { return (b0 - v) * run + (a - a0) * rise; };
    const double first = a0 > -1.0 ? a0 : -1.0;
    const double last = s.a_end < a_limit ? static_cast<double>(s.a_end) : static_cast<double>(a_limit);
    const bool before = beyond(first, -3.0) <= 0.0 && beyond(last, -3.0) <= 0.0;
    const bool after = beyond(first, b_limit + 2.0) >= 0.0 && beyond(last, b_limit + 2.0) >= 0.0;
    return before || after;
}

// Plots a step known to lie on the screen: truncation of a coordinate above -1 gives 0 or more.
template <bool A_IS_X>
void plot_on_screen(uint8_t* px, float a, float b, uint8_t colour) {
    const int32_t ia = trunc_i32_in_range(a), ib = trunc_i32_in_range(b);
    px[A_IS_X ? ib * SCREEN_WIDTH + ia : ia * SCREEN_WIDTH + ib] = colour;
}

// The steps from an on-screen start (-1 < a < a_stop, -1 < b < b_limit) while they stay on
// it; a below 320 grows by exactly 1 except where it passes a power of two.
template <bool A_IS_X>
void walk_on_screen(FrameBuffer& fb, float a, float b, float a_stop, float slope, float b_limit, uint8_t colour) {
    uint8_t* const px = fb.pixels.data();
    // First the steps that surely stay on screen, without tests: below 512 pixels the rounding
    // of 322 sums moves a coordinate less than 0.01 of a pixel, well inside the margins of 0.05.
    float room = a_stop - a - 0.05f;
    const float b_room = slope > 0.0f ? (b_limit - 0.05f - b) / slope : (slope < 0.0f ? (b + 0.95f) / -slope : room);
    if (b_room < room) room = b_room;
    for (int32_t n = room > 1.0f ? trunc_i32(room) - 1 : 0; n > 0; --n, b += slope, a += 1.0f)
        plot_on_screen<A_IS_X>(px, a, b, colour);
    for (; a < a_stop && b > -1.0f && b < b_limit; b += slope, a += 1.0f) plot_on_screen<A_IS_X>(px, a, b, colour);
}

// Whether a coordinate running from v to v_end stays on the screen's extent `limit`, with the
// margins of walk_on_screen: then every step of the line does.
bool well_inside(float v, float v_end, float limit) {
    return v > -0.95f && v < limit - 0.05f && v_end > -0.95f && v_end < limit - 0.05f;
}

// Every step of a line that lies well inside the screen.
template <bool A_IS_X>
void walk_inside(FrameBuffer& fb, LineSteps s, uint8_t colour) {
    for (; s.a_end > s.a; s.b += s.slope, s.a += 1.0f) plot_on_screen<A_IS_X>(fb.pixels.data(), s.a, s.b, colour);
}

// The points of step_every_point that land on the screen, and only those are stepped: the
// steps before the line reaches the screen are jumped over with the same bits, and the walk
// ends when either coordinate has left the screen for good (both move one way only).
void step_line(FrameBuffer& fb, LineSteps s, uint8_t colour) {
    if (!(std::isfinite(s.a) && std::isfinite(s.b) && std::isfinite(s.a_end) && std::isfinite(s.slope))) {
        step_every_point(fb, s, colour);
        return;
    }
    const float a_limit = screen_extent(s.a_is_x);
    const float b_limit = screen_extent(!s.a_is_x);
    if (well_inside(s.a, s.a_end, a_limit) && well_inside(s.b, s.b_end, b_limit)) {
        // Every step lies between the ends, give or take 0.02 of a pixel: all on screen.
        if (s.a_is_x)
            walk_inside<true>(fb, s, colour);
        else
            walk_inside<false>(fb, s, colour);
        return;
    }
    if (surely_off_screen(s, a_limit, b_limit)) return;
    if (!(s.a > -1.0f)) {
        // Below 2^24 in size a negative coordinate grows by exactly 1 each step until it passes 0.
        uint64_t k = 0;
        if (s.a > -16777216.0f) {
            k = static_cast<uint64_t>(trunc_i32(-1.0f - s.a)) + 1;
            s.a += static_cast<float>(k);
        } else if (k = steps_past(s.a, 1.0f, -1.0f); k == NEVER) {
            return;
        }
        s.b = advance_steps(s.b, s.slope, k);
    }
    if (!(s.a_end > s.a) || s.a >= a_limit) return;
    if (!(s.b > -1.0f && s.b < b_limit)) {
        const bool below = s.b <= -1.0f;
        if (below ? !(s.slope > 0.0f) : !(s.slope < 0.0f)) return;  // moving away: never on screen
        const uint64_t k = steps_past(s.b, s.slope, below ? -1.0f : b_limit);
        if (k == NEVER) return;
        s.a = advance_by_ones(s.a, k);
    }
    const float a_stop = s.a_end < a_limit ? s.a_end : a_limit;
    if (!(s.a < a_stop && s.b > -1.0f && s.b < b_limit)) return;
    if (s.a_is_x)
        walk_on_screen<true>(fb, s.a, s.b, a_stop, s.slope, b_limit, colour);
    else
        walk_on_screen<false>(fb, s.a, s.b, a_stop, s.slope, b_limit, colour);
}

}  // namespace

void draw_line(FrameBuffer& fb, float x1, float y1, float x2, float y2, uint8_t colour) {
    float dx = x2 - x1;
    float dy = y2 - y1;
    if (dx * dx + dy * dy < 0.1f) {
        plot_real(fb, x1, y1, colour);
        return;
    }
    if (dx + dy < 0.0f) {
        float tx = x1, ty = y1;
        x1 = x2;
        y1 = y2;
        x2 = tx;
        y2 = ty;
        dx = -dx;
        dy = -dy;
    }
    if (dy < dx)
        step_line(fb, {x1, y1, x2, y2, dy / dx, true}, colour);
    else
        step_line(fb, {y1, x1, y2, x2, dx / dy, false}, colour);
}

}  // namespace qvar
