// Sparks in the game: straight flight until they leave the field, and the ship's bursts.
#include "player/sparks.h"

#include <cmath>

#include "gfx/draw.h"
#include "util/float_math.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

namespace {

const float MIN_BURST_SPEED = std::sqrt(20.0f);
const float BURST_SPEED_RANGE = 5.0f - MIN_BURST_SPEED;

bool on_field(float x, float y) {
    // Written as "inside" so that NaN counts as outside and such a spark is dropped.
    return x >= 0.0f && y >= 0.0f && x < static_cast<float>(SCREEN_WIDTH) && y < static_cast<float>(SCREEN_HEIGHT);
}

void radial_spark(SparkPool& s, Random& rng, int32_t k, float x, float y) {
    const float speed = random_real(rng, BURST_SPEED_RANGE) + MIN_BURST_SPEED;
    const float a = random_real(rng, TWO_PI);
    place_spark(s, k, x, y, speed, a);
}

}  // namespace

void place_spark(SparkPool& s, int32_t k, float x, float y, float speed, float a) {
    const auto i = static_cast<size_t>(k);
    s.x[i] = x;
    s.y[i] = y;
    s.dx[i] = sine(a) * speed;
    s.dy[i] = cosine(a) * speed;
}

void spark_step(SparkPool& s, FrameBuffer& frame) {
    for (int32_t i = 0; i < s.count; ++i) {
        const auto k = static_cast<size_t>(i);
        // The test comes before the move: a spark that crosses the edge is drawn once more
        // (clipped) and dropped in the next frame. The spark swapped in is not tested now;
        // when the last one is dropped, its own stale slot is moved and drawn once more.
        if (!on_field(s.x[k], s.y[k])) pool_remove(s, i);
        s.x[k] += s.dx[k];
        s.y[k] += s.dy[k];
        put_pixel(frame, trunc_coord(s.x[k]), trunc_coord(s.y[k]), s.colour[k]);
    }
}

void start_burst(SparkPool& s, Random& rng) {
    s.count = 1000;
    for (int32_t k = 0; k < 1000; ++k) {
        radial_spark(s, rng, k, SCREEN_CENTRE_X, SCREEN_CENTRE_Y);
        s.colour[static_cast<size_t>(k)] = static_cast<uint8_t>(24 + random_int(rng, 8));
    }
}

void ring_burst(SparkPool& s, Random& rng, float x, float y, int32_t count, uint8_t colour) {
    const SlotRange r = pool_append(s, count);
    for (int32_t k = r.first; k < r.end; ++k) {
        radial_spark(s, rng, k, x, y);
        s.colour[static_cast<size_t>(k)] = colour;
    }
}

void respawn_burst(SparkPool& s, Random& rng) {
    const SlotRange r = pool_append(s, 1000);
    for (int32_t k = r.first; k < r.end; ++k) {
        float dx = 0.0f, dy = 0.0f;
        do {
            dx = random_real(rng, 10.0f) - 5.0f;
            dy = random_real(rng, 10.0f) - 5.0f;
        } while (!(dx * dx + dy * dy >= 20.0f && dx * dx + dy * dy <= 25.0f));
        const auto i = static_cast<size_t>(k);
        s.x[i] = SCREEN_CENTRE_X;
        s.y[i] = SCREEN_CENTRE_Y;
        s.dx[i] = dx;
        s.dy[i] = dy;
        s.colour[i] = static_cast<uint8_t>(24 + random_int(rng, 8));
    }
}

}  // namespace qvar
