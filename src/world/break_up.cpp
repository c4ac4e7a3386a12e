// What each kind leaves when it is destroyed: its fragments, its burst of sparks and its points.
// The random numbers are drawn in this order: fragments, then sparks.
#include "world/destroy_internal.h"
#include "util/float_math.h"

namespace qvar::world {

void spark_burst_velocity(Random& rng, float& dx, float& dy) {
    do {
        dx = random_real(rng, 10.0f) - 5.0f;
        dy = random_real(rng, 10.0f) - 5.0f;
    } while (!(dx * dx + dy * dy >= 10.0f && dx * dx + dy * dy <= 25.0f));
}

namespace {

int32_t clamp_count(int64_t n, int32_t cap) { return static_cast<int32_t>(n < 0 ? 0 : (n > cap ? cap : n)); }

// Up to n sparks at (x, y); fill(slot, first, dx, dy, colour) gives each its motion and colour.
template <class Fill>
void sparks(System& sys, int64_t n, float x, float y, Fill fill) {
    SparkPool& sp = sys.sparks;
    const SlotRange r = pool_append(sp, clamp_count(n, SPARK_CAPACITY));
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto s = static_cast<size_t>(k);
        sp.x[s] = x;
        sp.y[s] = y;
        fill(k, r.first, sp.dx[s], sp.dy[s], sp.colour[s]);
    }
}

// Rocks and lodestones split into two whose size steps add up to the parent's; lodestone halves
// are set apart so that they do not merge again at once.
void split_in_two(System& sys, Game& g, const Parent& p) {
    Random& rng = sys.rng;
    const int32_t k = random_int(rng, p.gen - 1) + 1;
    const float u = random_real(rng, 1.0f) - 0.5f;
    const float w = random_real(rng, 1.0f) - 0.5f;
    const SlotRange r = append_fragments(g, p.slot, 2);
    FoePool& f = g.foes;
    float ox1 = 0.0f, oy1 = 0.0f, ox2 = 0.0f, oy2 = 0.0f;
    if (p.kind == LODESTONE) {
        const float sum = static_cast<float>(rock_size(g.sprites, k) + rock_size(g.sprites, p.gen - k));
        const float len = std::sqrt(u * u + w * w);
        // Offsets of exactly 0 give no direction: the halves are then set apart sideways.
        const float su = len > 0.0f ? u : 1.0f, sw = len > 0.0f ? w : 0.0f;
        const float fac = sum * 0.25f / (len > 0.0f ? len : 1.0f);
        ox1 = 1.1f * fac * su;
        oy1 = 1.1f * fac * sw;
        ox2 = -(fac * su);
        oy2 = -(fac * sw);
    }
    const float ox[2] = {ox1, ox2}, oy[2] = {oy1, oy2};
    const int32_t gens[2] = {k, p.gen - k};
    for (int32_t m = 0; m < r.size(); ++m) {
        const auto q = static_cast<size_t>(r.first + m);
        f.gen[q] = gens[m];
        f.dx[q] = m == 0 ? p.dx + u : p.dx - u;
        f.dy[q] = m == 0 ? p.dy + w : p.dy - w;
        f.x[q] = p.x + ox[m];
        f.y[q] = p.y + oy[m];
    }
}

void wheel_darts(Game& g, const Parent& p) {
    if (p.gen <= 0) return;
    const SlotRange r = append_fragments(g, p.slot, p.gen);
    FoePool& f = g.foes;
    for (int32_t s = r.first; s < r.end; ++s) {
        const auto q = static_cast<size_t>(s);
        f.kind[q] = DART;
        // The angles follow the slot numbers, so the darts fly out evenly all round.
        f.angle[q] = TWO_PI * static_cast<float>(s) / static_cast<float>(p.gen);
    }
}

void triangle_pieces(System& sys, Game& g, const Parent& p) {
    const SlotRange r = append_fragments(g, p.slot, 3);
    FoePool& f = g.foes;
    for (int32_t m = 0; m < r.size(); ++m) {
        const auto q = static_cast<size_t>(r.first + m);
        const float a = TWO_PI * static_cast<float>(m) / 3.0f + p.angle;
        f.dx[q] = p.dx + 0.5f * cosine(a);
        f.dy[q] = p.dy + 0.5f * sine(a);
        f.angle[q] = p.angle;
        f.spin[q] = random_real(sys.rng, 0.1f) - 0.05f;
        f.gen[q] = p.gen - 1;
    }
}

// A web becomes gen rings of gen orbiters, at orbit radii 3, 6, 9, ...; each ring turns and
// drifts as one.
void web_orbiters(System& sys, Game& g, const Parent& p) {
    if (p.gen <= 0) return;
    const int64_t wanted = static_cast<int64_t>(p.gen) * p.gen;
    const SlotRange r = append_fragments(g, p.slot, clamp_count(wanted, FOE_CAPACITY));
    FoePool& f = g.foes;
    float s = 0.0f, u = 0.0f, w = 0.0f;
    for (int32_t m = 0; m < r.size(); ++m) {
        if (m % p.gen == 0) {
            s = random_real(sys.rng, 0.1f) - 0.05f;
            u = random_real(sys.rng, 1.0f) - 0.5f;
            w = random_real(sys.rng, 1.0f) - 0.5f;
        }
        const auto q = static_cast<size_t>(r.first + m);
        f.kind[q] = ORBITER;
        f.dx[q] = p.dx + u;
        f.dy[q] = p.dy + w;
        f.spin[q] = s;
        f.angle[q] = static_cast<float>(m) * (TWO_PI / static_cast<float>(p.gen));
        f.gen[q] = (m / p.gen) * 3 + 3;
    }
}

// The four quarters fill the parent's square.
void block_quarters(Game& g, const Parent& p) {
    const int32_t gen = block_gen(p.gen);
    const int32_t s = 3 << gen;
    const int32_t q = -s / 4;
    const int32_t h = q + s / 2;
    const int32_t ox[4] = {q, q, h, h}, oy[4] = {q, h, q, h};
    const SlotRange r = append_fragments(g, p.slot, 4);
    FoePool& f = g.foes;
    for (int32_t m = 0; m < r.size(); ++m) {
        const auto k = static_cast<size_t>(r.first + m);
        f.x[k] = p.x + static_cast<float>(ox[m]);
        f.y[k] = p.y + static_cast<float>(oy[m]);
        f.gen[k] = gen - 1;
    }
}


// ---- the bursts of sparks ----

void burst_plain(System& sys, const Parent& p, int32_t n, int32_t base, int32_t spread) {
    Random& rng = sys.rng;
    sparks(sys, n, p.x, p.y, [&](int32_t, int32_t, float& dx, float& dy, uint8_t& c) {
        spark_burst_velocity(rng, dx, dy);
        c = low_byte(base + (spread > 1 ? random_int(rng, spread) : 0));
    });
}

// Three shells: slots with k mod 3 = 0 fly at sqrt(20) .. 5, the others at 0.35 and 0.1225 of it.
void burst_saucer(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    static constexpr uint8_t COLOURS[3] = {15, 13, 10};
    sparks(sys, 500, p.x, p.y, [&](int32_t k, int32_t, float& dx, float& dy, uint8_t& c) {
        const int32_t shell = k % 3;
        float v = 0.0f;
        do {
            dx = random_real(rng, 10.0f) - 5.0f;
            dy = random_real(rng, 10.0f) - 5.0f;
            v = dx * dx + dy * dy;
            if (shell >= 1) { dx *= 0.35f; dy *= 0.35f; }
            if (shell == 2) { dx *= 0.35f; dy *= 0.35f; }
        } while (!(v >= 20.0f && v <= 25.0f));
        c = COLOURS[shell];
    });
}

void burst_pellet(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    static constexpr uint8_t COLOURS[3] = {4, 12, 13};
    sparks(sys, 10, p.x, p.y, [&](int32_t k, int32_t, float& dx, float& dy, uint8_t& c) {
        dx = random_real(rng, 10.0f) - 5.0f;
        dy = random_real(rng, 10.0f) - 5.0f;
        c = COLOURS[k % 3];
    });
}

// A ring of 50 at speed 5 whose colour runs through the hue wheel 32 .. 55.
void burst_triangle(System& sys, const Parent& p) {
    sparks(sys, 50, p.x, p.y, [&](int32_t k, int32_t first, float& dx, float& dy, uint8_t& c) {
        const float a = TWO_PI * static_cast<float>(k) / 50.0f;
        dx = 5.0f * sine(a);
        dy = 5.0f * cosine(a);
        c = low_byte(32 + (k - first) * 24 / 50);
    });
}

void burst_web(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    const float petals = static_cast<float>(p.gen + 1);
    sparks(sys, 100 * static_cast<int64_t>(p.gen), p.x, p.y, [&](int32_t, int32_t, float& dx, float& dy, uint8_t& c) {
        const float a = random_real(rng, TWO_PI);
        const float rx = random_real(rng, 0.1f) + 0.8f;
        dx = sine(a) + rx * sine(petals * a);
        const float ry = random_real(rng, 0.1f) + 0.8f;
        dy = cosine(a) + ry * cosine(petals * a);
        c = low_byte(36 + random_int(rng, 8));
    });
}

// A slow star from the orbiter's visible centre.
void burst_orbiter(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    const float g = static_cast<float>(p.gen);
    const float cx = static_cast<float>(mod_floor(trunc_i32(320.0f + p.x + g * cosine(p.angle)), 320));
    const float cy = static_cast<float>(mod_floor(trunc_i32(200.0f + p.y + g * sine(p.angle)), 200));
    sparks(sys, 50, cx, cy, [&](int32_t, int32_t, float& dx, float& dy, uint8_t& c) {
        const float a = random_real(rng, TWO_PI);
        const float speed = random_real(rng, 1.0f) + 1.0f;
        dx = sine(a) * speed;
        dy = cosine(a) * speed;
        if (random_int(rng, 3) != 0)
            c = 9;
        else
            c = random_int(rng, 2) == 0 ? 15 : 11;
    });
}

// Three turns of a spiral, faster outward.
void burst_repeller(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    sparks(sys, 500, p.x, p.y, [&](int32_t, int32_t, float& dx, float& dy, uint8_t& c) {
        const float a = random_real(rng, THREE_TURNS);
        const float speed = 0.25f * a + 2.0f + random_real(rng, 0.1f);
        dx = sine(a) * speed;
        dy = cosine(a) * speed;
        c = 15;
    });
}

// A flower of ten petals.
void burst_cell(System& sys, const Parent& p) {
    Random& rng = sys.rng;
    sparks(sys, 200, p.x, p.y, [&](int32_t, int32_t, float& dx, float& dy, uint8_t& c) {
        const float a = random_real(rng, TWO_PI);
        const float speed = sine(10.0f * a) + 3.0f;
        dx = sine(a) * speed;
        dy = cosine(a) * speed;
        c = 7;
    });
}

}  // namespace

void break_up(System& sys, Game& g, const Parent& p) {
    int32_t& score = g.player.score;
    switch (p.kind) {
        case ROCK:
        case LODESTONE:
            if (p.gen >= 2) split_in_two(sys, g, p);
            burst_plain(sys, p, 100, p.kind == ROCK ? 48 : 32, 5);
            add_points(score, p.gen < 2 ? 10 : 5);
            break;
        case WHEEL:
            wheel_darts(g, p);
            burst_plain(sys, p, 1000, 12, 1);
            add_points(score, 50);
            break;
        case DART:
            burst_plain(sys, p, 100, 41, 4);
            add_points(score, 15);
            break;
        case SAUCER: burst_saucer(sys, p); add_points(score, 25); break;
        case PELLET: burst_pellet(sys, p); break;
        case TRIANGLE:
            if (p.gen > 1) triangle_pieces(sys, g, p);
            burst_triangle(sys, p);
            add_points(score, 5 * static_cast<int64_t>(p.gen));
            break;
        case WEB:
            web_orbiters(sys, g, p);
            burst_web(sys, p);
            add_points(score, 20 * static_cast<int64_t>(p.gen));
            break;
        case ORBITER: burst_orbiter(sys, p); add_points(score, 5); break;
        case REPELLER: burst_repeller(sys, p); add_points(score, 100); break;
        case BLOCK:
            // Scored through a real, as the game always has: beyond 2^24 the sum rounds.
            score = trunc_i32(static_cast<float>(score) + 5.0f * square(static_cast<float>(p.gen + 1)));
            if (p.gen > 0) block_quarters(g, p);
            break;
        case CELL: burst_cell(sys, p); add_points(score, 10); break;
        case SPINNER: add_points(score, 250); break;
        default: break;
    }
}

}  // namespace qvar::world
