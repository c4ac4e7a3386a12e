// The menu's sparks: moved before they are tested, blinking unless they are burst colours.
#include "screens/menu_sparks.h"


#include "gfx/draw.h"
#include "util/float_math.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

namespace {

constexpr float PI = 3.14159265f;

bool off_screen(float x, float y) {
    return x < 0.0f || y < 0.0f || x >= static_cast<float>(SCREEN_WIDTH) || y >= static_cast<float>(SCREEN_HEIGHT);
}

bool blinks_on(float x, float y, float menu_phase) {
    int32_t v = trunc_i32(menu_phase / 4.0f + x / (y / 4.0f + 1.0f));
    return v % 2 != 0;
}

}  // namespace

void menu_spark_step(SparkPool& sparks, FrameBuffer& fb, float menu_phase) {
    for (int32_t i = 0; i < sparks.count; ++i) {
        auto s = static_cast<size_t>(i);
        sparks.x[s] += sparks.dx[s];
        sparks.y[s] += sparks.dy[s];
        if (off_screen(sparks.x[s], sparks.y[s])) {
            pool_remove(sparks, i);
            // The last spark was removed: its slot holds nothing live to draw.
            if (i >= sparks.count) break;
        }
        const float x = sparks.x[s], y = sparks.y[s];
        const uint8_t colour = sparks.colour[s];
        if ((colour & 128) != 0 || blinks_on(x, y, menu_phase)) put_pixel(fb, trunc_coord(x), trunc_coord(y), colour);
    }
}

void spawn_trail(SparkPool& sparks, Random& rng, int32_t mouse_x, int32_t mouse_y, float menu_phase) {
    const SlotRange slots = pool_append(sparks, TRAIL_SPARKS);
    for (int32_t i = slots.first; i < slots.end; ++i) {
        auto s = static_cast<size_t>(i);
        const float a = random_real(rng, TWO_PI);
        sparks.x[s] = static_cast<float>(mouse_x);
        sparks.y[s] = static_cast<float>(mouse_y);
        sparks.dx[s] = cosine(a);
        sparks.dy[s] = sine(a);
        sparks.colour[s] = static_cast<uint8_t>(16 + mod_floor(trunc_i32(8.0f * a / PI + menu_phase), 16));
    }
}

void colour_burst(SparkPool& sparks, float cx, float cy, const float (&w)[6]) {
    const SlotRange slots = pool_append(sparks, BURST_SPARKS);
    for (int32_t i = slots.first; i < slots.end; ++i) {
        auto s = static_cast<size_t>(i);
        const int32_t j = i - slots.first;
        const auto r = static_cast<float>(j % 5);
        const auto g = static_cast<float>((j / 5) % 5);
        const auto b = static_cast<float>(j / 25);
        float dx = (r * w[0] + g * w[2] + b * w[4]) / 3.0f;
        const float dy = (r * w[1] + g * w[3] + b * w[5]) / 3.0f;
        if (dx * dx + dy * dy < 0.1f) dx = 1000.0f;  // too slow to show: gone next frame
        sparks.x[s] = cx;
        sparks.y[s] = cy;
        sparks.dx[s] = dx;
        sparks.dy[s] = dy;
        sparks.colour[s] = static_cast<uint8_t>(128 + j);
    }
}

void maybe_colour_burst(SparkPool& sparks, Random& rng) {
    if (random_int(rng, BURST_CHANCE) != 0) return;
    const float cx = random_real(rng, 320.0f);
    const float cy = random_real(rng, 200.0f);
    float w[6];
    for (float& weight : w) weight = random_real(rng, 2.0f) - 1.0f;
    colour_burst(sparks, cx, cy, w);
}

}  // namespace qvar
