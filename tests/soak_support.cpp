// The soak harness: a repeatable random player, per-frame checks and the game loop around them.
#include "soak_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "game/frame.h"
#include "game/setup.h"

namespace qvar::test {

namespace {

constexpr float PI = 3.14159265f;

float wrapped(float d, float size) {
    if (d > size / 2.0f) d -= size;
    if (d < -size / 2.0f) d += size;
    return d;
}

struct Target {
    bool found = false;
    bool is_bonus = false;
    float dx = 0.0f, dy = 0.0f, dist2 = 0.0f;
};

// The nearest of n objects, measured across the wrap-round; objects of kind `skip` are passed by.
Target nearest(const float* xs, const float* ys, const int32_t* kinds, int32_t n, const Player& p, bool bonus, int32_t skip) {
    Target t;
    for (int32_t i = 0; i < n; ++i) {
        if (kinds[i] == skip) continue;
        const float dx = wrapped(xs[i] - p.ship_x, 320.0f), dy = wrapped(ys[i] - p.ship_y, 200.0f);
        const float d2 = dx * dx + dy * dy;
        if (t.found && d2 >= t.dist2) continue;
        t = {true, bonus, dx, dy, d2};
    }
    return t;
}

}  // namespace

void SoakPlayer::choose_keys(HeadlessPlatform& k, const Game& game) {
    const Player& p = game.player;
    const bool can_collect = p.invincible == 0 && p.death_timer == 0;
    // Now and then, when it can be hurt, it rams the nearest foe without firing.
    if (reckless_frames > 0) --reckless_frames;
    if (p.invincible == 0 && p.death_timer == 0 && random_int(rng, 400) == 0) reckless_frames = 200;
    const bool reckless = reckless_frames > 0;
    Target t;
    // Mostly it leaves Invincibility alone, which would keep it from being hurt or collecting.
    ++frames_played;
    const int32_t skip = (frames_played / 500) % 8 != 0 ? BONUS_KIND_COUNT : 0;
    if (!reckless && greedy_for_boni && can_collect && game.boni.count > 0 && random_int(rng, 8) != 0)
        t = nearest(game.boni.x.data(), game.boni.y.data(), game.boni.kind.data(), game.boni.count, p, true, skip);
    if (!t.found) t = nearest(game.foes.x.data(), game.foes.y.data(), game.foes.kind.data(), game.foes.count, p, false, 0);
    float diff = 0.0f;
    if (t.found) {
        diff = std::atan2(t.dx, -t.dy) - p.ship_angle;
        while (diff > PI) diff -= 2.0f * PI;
        while (diff < -PI) diff += 2.0f * PI;
    }
    const int32_t whim = random_int(rng, 100);
    k.set_key(GameKey::Left, t.found ? diff < -0.12f : whim < 20);
    k.set_key(GameKey::Right, t.found ? diff > 0.12f : (whim >= 20 && whim < 40));
    const bool chase = t.found && std::fabs(diff) < 0.6f && (t.is_bonus || reckless || t.dist2 > 90.0f * 90.0f);
    k.set_key(GameKey::Up, chase || random_int(rng, 12) == 0);
    k.set_key(GameKey::Down, random_int(rng, 40) == 0);
    k.set_key(GameKey::Control, random_int(rng, 60) == 0);
    // Fire in short bursts of presses (weapons 1-4 fire once per press; 5 repeats while held).
    if (fire_frames > 0) {
        --fire_frames;
    } else if (!reckless && ((t.found && !t.is_bonus && std::fabs(diff) < 0.35f) || random_int(rng, 15) == 0)) {
        fire_frames = 1 + random_int(rng, 6);
    }
    k.set_key(GameKey::Space, fire_frames > 0 && (fire_frames % 2 == 1 || random_int(rng, 3) == 0));
    k.set_key(GameKey::P, false);
    k.set_key(GameKey::Q, false);
}

namespace {

template <class A>
bool all_finite(const A& a, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (!std::isfinite(a[static_cast<size_t>(i)])) return false;
    return true;
}

template <class A>
bool all_within(const A& a, int32_t n, float lo, float hi) {
    for (int32_t i = 0; i < n; ++i) {
        const float v = static_cast<float>(a[static_cast<size_t>(i)]);
        if (!(v >= lo && v <= hi)) {
            std::fprintf(stderr, "slot %d value %.9g outside %g..%g\n", i, static_cast<double>(v), static_cast<double>(lo), static_cast<double>(hi));
            return false;
        }
    }
    return true;
}

std::string check_counts(const System& sys, const Game& g) {
    std::ostringstream out;
    auto in = [&](const char* name, int32_t v, int32_t cap) {
        if (v < 0 || v > cap) out << name << " count " << v << " outside 0.." << cap << "; ";
    };
    in("foe", g.foes.count, FOE_CAPACITY);
    in("shot", g.shots.count, SHOT_CAPACITY);
    in("debris", g.debris.count, DEBRIS_CAPACITY);
    in("bonus", g.boni.count, BONUS_CAPACITY);
    in("spark", sys.sparks.count, SPARK_CAPACITY);
    in("hit pair", g.hits.count, HIT_PAIR_CAPACITY);
    return out.str();
}

// Fragments are placed round their parent without wrap-round (a block's quarters up to 6
// pixels out, a lodestone's halves up to about 17) and come back onto the field in their first
// step. A fragment can be destroyed before that step (moved into a merged lodestone's slot,
// which keeps its mark), so its own pieces land farther out; a few such steps at most.
std::string check_foes(const FoePool& f) {
    const int32_t n = f.count;
    if (!all_within(f.x, n, -60.0f, 380.0f) || !all_within(f.y, n, -60.0f, 260.0f)) return "foe off the field; ";
    if (!all_finite(f.dx, n) || !all_finite(f.dy, n) || !all_finite(f.angle, n) || !all_finite(f.spin, n))
        return "foe motion not finite; ";
    for (int32_t i = 0; i < n; ++i) {
        const int32_t kind = f.kind[static_cast<size_t>(i)], gen = f.gen[static_cast<size_t>(i)];
        if (kind < 1 || kind > FOE_KIND_COUNT) return "foe of no kind; ";
        if ((kind == ROCK && (gen < 1 || gen > 15)) || (kind == LODESTONE && (gen < 1 || gen > 19)) ||
            (kind == BLOCK && (gen < 0 || gen > 3)))
            return "foe size step out of range; ";
    }
    return {};
}

std::string check_others(const System& sys, const Game& g) {
    // Shots may stand off the field: a new one starts 8 pixels ahead of the ship and may wait a
    // frame for its first step, and a shot flung through a spinner's centre (pulled without a
    // floor) can fly hundreds of pixels a frame, more than one wrap brings back. Finite, always.
    const ShotPool& s = g.shots;
    if (!all_finite(s.x, s.count) || !all_finite(s.y, s.count)) return "shot position not finite; ";
    if (!all_finite(s.dx, s.count) || !all_finite(s.dy, s.count)) return "shot motion not finite; ";
    const BonusPool& b = g.boni;
    if (!all_within(b.x, b.count, 0.0f, 320.0f) || !all_within(b.y, b.count, 0.0f, 200.0f)) return "bonus off the field; ";
    if (!all_within(b.kind, b.count, 1.0f, 13.0f) || !all_finite(b.dx, b.count) || !all_finite(b.dy, b.count))
        return "bonus kind or motion wrong; ";
    const SparkPool& sp = sys.sparks;
    if (!all_finite(sp.x, sp.count) || !all_finite(sp.y, sp.count) || !all_finite(sp.dx, sp.count) ||
        !all_finite(sp.dy, sp.count))
        return "spark not finite; ";
    // Debris may be placed anywhere (a repeller's ring, a flung shot's flame) and dies off the
    // field in its first step, so only the counts above say anything about them.
    return {};
}

std::string check_player(const Player& p) {
    if (!(p.ship_x >= 0.0f && p.ship_x < 320.0f && p.ship_y >= 0.0f && p.ship_y < 200.0f)) return "ship off the field; ";
    if (!std::isfinite(p.ship_vx) || !std::isfinite(p.ship_vy) || !std::isfinite(p.ship_angle)) return "ship motion not finite; ";
    if (p.ships < 0 || p.ships > 255 || p.bullets < 0 || p.bullets > 2500) return "ships or bullets out of range; ";
    // Faster bullets stop at 30; each level divides by 1.4 while above 3.001, which can end
    // a little below 3 (30 / 1.4^7 = 2.85) and no lower than 3.001 / 1.4.
    if (!(p.shot_speed > 2.1f && p.shot_speed <= 30.0f)) return "shot speed out of range; ";
    if (p.score < 0 || p.shown_score > p.score) return "score wrong; ";
    return {};
}

}  // namespace

std::string check_world(const System& sys, const Game& game) {
    std::string fault = check_counts(sys, game);
    if (fault.empty()) fault = check_foes(game.foes);
    if (fault.empty()) fault = check_others(sys, game);
    if (fault.empty()) fault = check_player(game.player);
    return fault;
}

uint64_t soak_frames(uint64_t fallback) {
    const char* env = std::getenv("QVAR_SOAK_FRAMES");
    if (env == nullptr) return fallback;
    const long long v = std::atoll(env);
    return v > 0 ? static_cast<uint64_t>(v) : fallback;
}

namespace {

void add_tally(GameTally& sum, const GameTally& t) {
    for (size_t k = 0; k < sum.born.size(); ++k) {
        sum.born[k] += t.born[k];
        sum.destroyed[k] += t.destroyed[k];
        sum.split[k] += t.split[k];
    }
    for (size_t k = 0; k < sum.collected.size(); ++k) sum.collected[k] += t.collected[k];
    sum.merges += t.merges;
    sum.divisions += t.divisions;
}

void note_pools(SoakReport& r, const System& sys, const Game& g) {
    r.most_foes = std::max(r.most_foes, g.foes.count);
    r.most_sparks = std::max(r.most_sparks, sys.sparks.count);
    r.most_debris = std::max(r.most_debris, g.debris.count);
    r.most_shots = std::max(r.most_shots, g.shots.count);
    r.most_boni = std::max(r.most_boni, g.boni.count);
}

// Sets every foe of a level that has gone on too long white-hot, so that they burn away
// through the game's own rules (debris, deaths, break-up, pick-ups) and the run moves on.
// One level in four is given time past the 250 frames of invincibility, to fight and be hurt.
void hurry(Game& g, uint64_t level_frames, int32_t hurry_after) {
    if (g.player.level % 4 == 1) hurry_after += 250;
    if (level_frames < static_cast<uint64_t>(hurry_after)) return;
    for (int32_t i = 0; i < g.foes.count; ++i) {
        g.foes.whitehot.set(i, 1);
        if (level_frames >= 2 * static_cast<uint64_t>(hurry_after)) g.foes.flamed.set(i, 1);
    }
}

}  // namespace

SoakReport soak(const SoakRun& run) {
    TestRig rig;
    SoakReport report;
    // The progress file a player who reached levels 50, 200 and 990 would have.
    std::vector<uint8_t> saved(PROGRESS_ENTRIES, 0);
    saved[5] = 4;
    saved[20] = 6;
    saved[99] = 9;
    write_bytes(rig.user_dir.file("saved.dat"), saved);
    LevelProgress progress = load_level_progress(rig.sys->paths);
    const int32_t first = run.start_level + 1;
    const int32_t ships = first % 10 == 0 ? progress.ships[static_cast<size_t>(first / 10)] : run.ships;
    SoakPlayer player;
    player.rng.lcg = run.seed;
    std::unique_ptr<Game> game;
    uint64_t level_frames = 0;
    for (uint64_t frame = 0; frame < run.frames && report.first_fault.empty(); ++frame) {
        if (!game || game_should_end(*rig.sys, *game)) {
            if (game) add_tally(report.tally, game->tally);
            game = std::make_unique<Game>();
            std::string error;
            if (!set_up_game(*rig.sys, *game, GameStart{run.start_level, ships}, progress, error)) {
                report.first_fault = "set-up failed: " + error;
                break;
            }
            ++report.games;
        }
        const Player before = game->player;
        player.choose_keys(rig.platform, *game);
        hurry(*game, level_frames, run.hurry_after);
        run_frame(*rig.sys, *game);
        ++report.frames;
        const Player& after = game->player;
        level_frames = after.level != before.level ? 0 : level_frames + 1;
        report.level_changes += after.level != before.level;
        report.ships_lost += after.death_timer != 0 && before.death_timer == 0;
        report.highest_level = std::max(report.highest_level, after.level);
        note_pools(report, *rig.sys, *game);
        const std::string fault = check_world(*rig.sys, *game);
        if (!fault.empty()) report.first_fault = "frame " + std::to_string(frame) + ": " + fault;
        if (std::getenv("QVAR_SOAK_VERBOSE") != nullptr && after.level != before.level)
            std::printf("  frame %llu: level %d, score %d, ships %d, foes %d\n", static_cast<unsigned long long>(frame),
                        after.level, after.score, after.ships, game->foes.count);
    }
    if (game) add_tally(report.tally, game->tally);
    return report;
}

}  // namespace qvar::test
