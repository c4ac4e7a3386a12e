// The nine foe kinds that act alone: their motion rules, drawing, and where in their step the
// contact and shot tests fall (contact, motion, drawing, shot test unless said otherwise).
#include "world/world_internal.h"
#include "util/float_math.h"

namespace qvar::world {

namespace {

struct RimPoints {
    std::array<float, 64> s{}, c{};
    int32_t n = 0;
};

// The wheel's rim does not turn, so its 63 points are the same every frame.
const RimPoints& wheel_rim() {
    static const RimPoints rim = [] {
        RimPoints r;
        for (float t = 0.0f; t < TWO_PI && r.n < 64; t += 0.1f) {
            r.s[static_cast<size_t>(r.n)] = sine(t);
            r.c[static_cast<size_t>(r.n)] = cosine(t);
            ++r.n;
        }
        return r;
    }();
    return rim;
}

void damp_above(float& dx, float& dy, float limit2, float factor) {
    if (dx * dx + dy * dy > limit2) {
        dx *= factor;
        dy *= factor;
    }
}

}  // namespace

void step_rock(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const int32_t size = rock_size(ps.game.sprites, f.gen[k]);
    const float r = static_cast<float>(size - 1) * 0.5f;
    contact_round(ps, r);
    damp_above(f.dx[k], f.dy[k], 1.0f, 0.99f);
    draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], r, r, rock_sprite(ps.game.sprites, f.gen[k]));
    const int32_t h = size / 2;
    shot_test_round(ps, i, f.x[k], f.y[k], static_cast<float>(h * h));
}

void step_wheel(PassState& ps, int32_t i) {
    const FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const float x = f.x[k], y = f.y[k], angle = f.angle[k];
    const int32_t gen = f.gen[k];
    contact_round(ps, 10.0f);
    FrameBuffer& fb = ps.sys.frame;
    // One spoke per step of 2 pi / gen; the count cap keeps rounding from adding a spoke.
    const float step = gen > 0 ? TWO_PI / static_cast<float>(gen) : 0.0f;
    float t = 0.0f;
    for (int32_t n = 0; t < TWO_PI && n < gen; ++n, t += step)
        draw_line(fb, x, y, x + 10.0f * sine(angle + t), y + 10.0f * cosine(angle + t), 12);
    const RimPoints& rim = wheel_rim();
    for (int32_t n = 0; n < rim.n; ++n) {
        const auto p = static_cast<size_t>(n);
        put_pixel(fb, trunc_coord(x + 5.0f * rim.s[p]), trunc_coord(y + 5.0f * rim.c[p]), 12);
    }
    shot_test_round(ps, i, x, y, 100.0f);
}

void step_dart(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    Random& rng = ps.sys.rng;
    contact_round(ps, 5.0f);
    // A dart always flies at speed 1 along its heading, from the next frame on.
    f.dx[k] = sine(f.angle[k]);
    f.dy[k] = cosine(f.angle[k]);
    if (random_int(rng, 100) == 0) f.spin[k] = random_real(rng, 0.08f) - 0.04f;
    SparkPool& sp = ps.sys.sparks;
    if (sp.count < SPARK_CAPACITY && random_int(rng, 2) == 0) {
        const SlotRange r = pool_append(sp, 1);
        const auto s = static_cast<size_t>(r.first);
        sp.x[s] = f.x[k];
        sp.y[s] = f.y[k];
        sp.dx[s] = random_real(rng, 0.2f) - 0.1f - 2.0f * f.dx[k];
        sp.dy[s] = random_real(rng, 0.2f) - 0.1f - 2.0f * f.dy[k];
        sp.colour[s] = 14;
    }
    const float x = f.x[k], y = f.y[k], a = f.angle[k];
    const float px = x + 5.0f * f.dx[k], py = y + 5.0f * f.dy[k];  // the heading set above
    draw_line(ps.sys.frame, px, py, x + 5.0f * sine(a + 2.5f), y + 5.0f * cosine(a + 2.5f), 42);
    draw_line(ps.sys.frame, px, py, x + 5.0f * sine(a - 2.5f), y + 5.0f * cosine(a - 2.5f), 42);
    shot_test_round(ps, i, x, y, 25.0f);
}

void step_saucer(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    Random& rng = ps.sys.rng;
    const Player& p = ps.game.player;
    contact_box(ps, f.x[k], f.y[k], 12.0f, 8.0f);
    if (random_int(rng, 100) == 0) {
        f.dx[k] = random_real(rng, 2.0f) - 1.0f;
        f.dy[k] = random_real(rng, 2.0f) - 1.0f;
    }
    if (random_int(rng, 75) == 0 && f.count < FOE_CAPACITY) {
        const float ex = p.ship_x - f.x[k], ey = p.ship_y - f.y[k];
        const float e = std::sqrt(ex * ex + ey * ey);
        // With the ship on the saucer's centre there is nothing to aim at: the pellet only
        // takes the saucer's motion and the random scatter.
        const float ux = e > 0.0f ? ex / e : 0.0f;
        const float uy = e > 0.0f ? ey / e : 0.0f;
        const float pdx = f.dx[k] + ux + random_real(rng, 1.0f) - 0.5f;
        const float pdy = f.dy[k] + uy + random_real(rng, 1.0f) - 0.5f;
        append_foe_in_pass(ps, PELLET, 100, f.x[k], f.y[k], pdx, pdy);
    }
    draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], 7.0f, 3.0f, ps.game.sprites.saucer);
    const float x = f.x[k], y = f.y[k];
    HitPairs& hits = ps.game.hits;
    scan_box<true>(ps.shots, x, y, 8.0f, 4.0f, [&hits, i](int32_t j) { add_hit_pair(hits, i, j); });
}

void step_pellet(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    contact_round(ps, 1.0f);
    draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], 1.0f, 1.0f, ps.game.sprites.pellet);
    f.gen[k] -= 1;
    if (f.gen[k] < 1) f.dead.set(i, 1);  // pellets cannot be shot; they burn out
}

void step_triangle(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const Player& p = ps.game.player;
    const int32_t gen = f.gen[k];
    contact_round(ps, 6.0f);
    const float ex = p.ship_x - f.x[k], ey = p.ship_y - f.y[k];
    const float e = std::sqrt(ex * ex + ey * ey);
    if (gen == 1 && e > 0.0f) {  // the smallest home in; on the ship's exact spot they coast
        f.dx[k] += 0.01f * ex / e;
        f.dy[k] += 0.01f * ey / e;
    }
    damp_above(f.dx[k], f.dy[k], 1.0f, 0.99f);
    const float x = f.x[k], y = f.y[k], angle = f.angle[k];
    const uint8_t c = low_byte(56 - gen);
    const float turn = gen > 0 ? TRI_STEP / static_cast<float>(gen) : 0.0f;
    float p_ang = angle;
    for (int32_t m = 0; p_ang < angle + TRI_SPREAD && m < gen; ++m, p_ang += turn) {
        // Each edge ends where the next begins (t + TRI_STEP is the next t, bit for bit), so
        // every corner is worked out once.
        float t = 0.0f, from_x = x + 6.0f * sine(p_ang), from_y = y + 6.0f * cosine(p_ang);
        for (int32_t e3 = 0; t < TWO_PI && e3 < 3; ++e3, t += TRI_STEP) {
            const float to_x = x + 6.0f * sine(t + TRI_STEP + p_ang), to_y = y + 6.0f * cosine(t + TRI_STEP + p_ang);
            draw_line(ps.sys.frame, from_x, from_y, to_x, to_y, c);
            from_x = to_x, from_y = to_y;
        }
    }
    shot_test_round(ps, i, x, y, 36.0f);
}

void step_web(PassState& ps, int32_t i) {
    const FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const int32_t gen = f.gen[k];
    const float x = f.x[k], y = f.y[k], angle = f.angle[k];
    const float r = 3.0f * static_cast<float>(gen);
    contact_round(ps, r);
    // Every chord between the gen corners once; the caps keep rounding from adding a corner.
    // Both loops step through the same angles, so each corner is worked out once; a web with
    // more corners than are kept (far beyond any level the list offers) works them out for
    // every chord, with the same bits.
    constexpr int32_t KEPT = 1024;
    std::array<float, KEPT> cx, cy;
    auto corner_x = [&](int32_t n, float t) { return n < KEPT ? cx[static_cast<size_t>(n)] : x + r * sine(angle + t); };
    auto corner_y = [&](int32_t n, float t) { return n < KEPT ? cy[static_cast<size_t>(n)] : y + r * cosine(angle + t); };
    const float step = gen > 0 ? TWO_PI / static_cast<float>(gen) : 0.0f;
    int32_t corners = 0;
    for (float t = 0.0f; t < TWO_PI && corners < gen; ++corners, t += step) {
        if (corners >= KEPT) continue;
        cx[static_cast<size_t>(corners)] = x + r * sine(angle + t);
        cy[static_cast<size_t>(corners)] = y + r * cosine(angle + t);
    }
    float a = 0.0f;
    for (int32_t na = 0; na < corners; ++na, a += step) {
        float b = 0.0f;
        for (int32_t nb = 0; nb < corners; ++nb, b += step) {
            if (!(a < b)) continue;
            const uint8_t colour = random_int(ps.sys.rng, 4) == 0 ? 10 : 15;
            draw_line(ps.sys.frame, corner_x(na, a), corner_y(na, a), corner_x(nb, b), corner_y(nb, b), colour);
        }
    }
    shot_test_round(ps, i, x, y, r * r);
}

void step_orbiter(PassState& ps, int32_t i) {
    const FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const Player& p = ps.game.player;
    Random& rng = ps.sys.rng;
    const float g = static_cast<float>(f.gen[k]);
    // (x, y) is only the drifting anchor; the orbiter is seen and hit on its circle.
    float cx = f.x[k] + g * cosine(f.angle[k]);
    float cy = f.y[k] + g * sine(f.angle[k]);
    cx = static_cast<float>(mod_floor(trunc_i32(320.0f + cx), 320));
    cy = static_cast<float>(mod_floor(trunc_i32(200.0f + cy), 200));
    if (square(p.ship_x - cx) + square(p.ship_y - cy) < square(SHIP_RADIUS + 5.0f)) ps.ship_contact = true;
    static constexpr float UX[4] = {1.0f, 0.707f, 0.0f, -0.707f};
    static constexpr float UY[4] = {0.0f, 0.707f, 1.0f, 0.707f};
    for (int32_t ray = 0; ray < 4; ++ray) {
        const float a = random_real(rng, 5.0f);
        const float b = random_real(rng, 5.0f);
        const float c = random_real(rng, 5.0f);
        const float d = random_real(rng, 5.0f);
        const uint8_t colour = random_int(rng, 5) == 0 ? 11 : 15;
        draw_line(ps.sys.frame, cx - a * UX[ray], cy - b * UY[ray], cx + c * UX[ray], cy + d * UY[ray], colour);
    }
    shot_test_round(ps, i, cx, cy, 25.0f);
}

void step_block(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const int32_t gen = block_gen(f.gen[k]);
    const int32_t s = 3 << gen;
    contact_round(ps, static_cast<float>(s));
    switch (random_int(ps.sys.rng, 15)) {
        case 0: f.x[k] += static_cast<float>(s); break;
        case 1: f.x[k] -= static_cast<float>(s); break;
        case 2: f.y[k] += static_cast<float>(s); break;
        case 3: f.y[k] -= static_cast<float>(s); break;
        default: break;
    }
    // A block always sits on whole pixels.
    f.x[k] = static_cast<float>(mod_floor(trunc_i32(320.0f + f.x[k]), 320));
    f.y[k] = static_cast<float>(mod_floor(trunc_i32(200.0f + f.y[k]), 200));
    const float half = static_cast<float>(s / 2);
    draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], half, half, ps.game.sprites.blocks[static_cast<size_t>(gen)]);
    const float lim = static_cast<float>((s + 3) / 2);
    shot_test_box(ps, i, f.x[k], f.y[k], lim, lim);
}

}  // namespace qvar::world
