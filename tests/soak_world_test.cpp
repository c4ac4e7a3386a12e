// Whole games on the headless backend through the real set-up and frame loop, driven by a
// repeatable random player and checked after every frame: the soak from the start and from
// prepared progress at levels 50, 200 and 990. The soak's frames
// per start level are QVAR_SOAK_FRAMES (default short enough for CI under sanitizers);
// QVAR_SOAK_STARTS=990 (or 1,50) soaks only those start levels, so a long soak can run one
// process per core; QVAR_SOAK_VERBOSE=1 prints each level change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/frame.h"
#include "game/game.h"
#include "game/setup.h"
#include "store/progress_file.h"
#include "test_support.h"
#include "world_support.h"

using namespace qvar;

namespace {

float wrapped(float d, float size) { return d > size / 2.0f ? d - size : (d < -size / 2.0f ? d + size : d); }

struct Target {
    bool found = false, is_bonus = false;
    float dx = 0.0f, dy = 0.0f, dist2 = 0.0f;
};

// The nearest foe or bonus, measured across the wrap-round; those of kind `skip` are passed by.
template <class Pool>
Target nearest(const Pool& pool, const Player& p, bool bonus, int32_t skip) {
    Target t;
    for (int32_t i = 0; i < pool.count; ++i) {
        const float dx = wrapped(pool.x[i] - p.ship_x, 320.0f), dy = wrapped(pool.y[i] - p.ship_y, 200.0f);
        const float d2 = dx * dx + dy * dy;
        if (pool.kind[i] != skip && (!t.found || d2 < t.dist2)) t = {true, bonus, dx, dy, d2};
    }
    return t;
}

// A player that mostly aims at the nearest foe and fires in bursts, flies to pick-ups when it
// can take them (mostly leaving Invincibility alone, which would keep it from being hurt or
// collecting), now and then rams a foe without firing, and otherwise presses keys at random.
// Its own generator makes every run the same.
struct SoakPlayer {
    Random rng;
    int32_t fire_frames = 0, reckless_frames = 0;
    uint64_t frames_played = 0;

    void choose_keys(HeadlessPlatform& k, const Game& game) {
        const Player& p = game.player;
        const bool can_collect = p.invincible == 0 && p.death_timer == 0;
        if (reckless_frames > 0) --reckless_frames;
        if (can_collect && random_int(rng, 400) == 0) reckless_frames = 200;
        const bool reckless = reckless_frames > 0;
        const int32_t skip = (++frames_played / 500) % 8 != 0 ? BONUS_KIND_COUNT : 0;
        Target t;
        if (!reckless && can_collect && game.boni.count > 0 && random_int(rng, 8) != 0)
            t = nearest(game.boni, p, true, skip);
        if (!t.found) t = nearest(game.foes, p, false, 0);
        const float pi = 3.14159265f;
        float diff = t.found ? std::atan2(t.dx, -t.dy) - p.ship_angle : 0.0f;
        while (diff > pi) diff -= 2.0f * pi;
        while (diff < -pi) diff += 2.0f * pi;
        const int32_t whim = random_int(rng, 100);
        k.set_key(GameKey::Left, t.found ? diff < -0.12f : whim < 20);
        k.set_key(GameKey::Right, t.found ? diff > 0.12f : (whim >= 20 && whim < 40));
        const bool chase = t.found && std::fabs(diff) < 0.6f && (t.is_bonus || reckless || t.dist2 > 90.0f * 90.0f);
        k.set_key(GameKey::Up, chase || random_int(rng, 12) == 0);
        k.set_key(GameKey::Down, random_int(rng, 40) == 0);
        k.set_key(GameKey::Control, random_int(rng, 60) == 0);
        // Bursts of presses: weapons 1-4 fire once per press; 5 repeats while held.
        if (fire_frames > 0) --fire_frames;
        else if (!reckless && ((t.found && !t.is_bonus && std::fabs(diff) < 0.35f) || random_int(rng, 15) == 0))
            fire_frames = 1 + random_int(rng, 6);
        k.set_key(GameKey::Space, fire_frames > 0 && (fire_frames % 2 == 1 || random_int(rng, 3) == 0));
    }
};

template <class A>
bool within(const A& a, int32_t n, float lo, float hi) {
    return std::all_of(a.begin(), a.begin() + n, [=](auto v) { return v >= lo && v <= hi; });
}

bool size_steps_ok(const FoePool& f) {
    for (int32_t i = 0; i < f.count; ++i) {
        const int32_t kind = f.kind[i], gen = f.gen[i];
        if (kind < 1 || kind > FOE_KIND_COUNT || (kind == ROCK && (gen < 1 || gen > 15)) ||
            (kind == LODESTONE && (gen < 1 || gen > 19)) || (kind == BLOCK && (gen < 0 || gen > 3)))
            return false;
    }
    return true;
}

// Checks every count, position and real of the game and the spark pool; returns the first
// fault found, or an empty string.
std::string check_world(const System& sys, const Game& g) {
    const FoePool& f = g.foes;
    const BonusPool& b = g.boni;
    const SparkPool& sp = sys.sparks;
    const Player& p = g.player;
    auto in = [](int32_t v, int32_t cap) { return v >= 0 && v <= cap; };
    if (!in(f.count, FOE_CAPACITY) || !in(g.shots.count, SHOT_CAPACITY) || !in(g.debris.count, DEBRIS_CAPACITY) ||
        !in(b.count, BONUS_CAPACITY) || !in(sp.count, SPARK_CAPACITY) || !in(g.hits.count, HIT_PAIR_CAPACITY))
        return "a pool count outside 0 .. capacity";
    const std::pair<bool, const char*> checks[] = {
        // Fragments are placed round their parent without wrap-round (a block's quarters up to 6
        // pixels out, a lodestone's halves up to about 17) and come back in their first step; one
        // destroyed before that step (moved into a merged lodestone's slot) leaves pieces farther out.
        {within(f.x, f.count, -60.0f, 380.0f) && within(f.y, f.count, -60.0f, 260.0f), "foe off the field"},
        {size_steps_ok(f), "foe kind or size step out of range"},
        // Shots may stand off the field: a new one starts 8 pixels ahead of the ship, and one flung
        // through a spinner's centre can fly hundreds of pixels a frame. Finite, always. Debris may
        // be placed anywhere (a repeller's ring) and die off the field in their first step.
        {test::all_finite(g, sp) && std::isfinite(p.ship_angle), "a real not finite"},
        {within(b.x, b.count, 0.0f, 320.0f) && within(b.y, b.count, 0.0f, 200.0f), "bonus off the field"},
        {within(b.kind, b.count, 1.0f, 13.0f), "bonus of no kind"},
        {p.ship_x >= 0.0f && p.ship_x < 320.0f && p.ship_y >= 0.0f && p.ship_y < 200.0f, "ship off the field"},
        {p.ships >= 0 && p.ships <= 255 && p.bullets >= 0 && p.bullets <= 2500, "ships or bullets out of range"},
        // Faster bullets stop at 30; each level divides by 1.4 while above 3.001, which can end a
        // little below 3 (30 / 1.4^7 = 2.85) and no lower than 3.001 / 1.4.
        {p.shot_speed > 2.1f && p.shot_speed <= 30.0f, "shot speed out of range"},
        {p.score >= 0 && p.shown_score <= p.score, "score wrong"},
    };
    for (const auto& [ok, fault] : checks)
        if (!ok) return fault;
    return {};
}

void add_tally(GameTally& sum, const GameTally& t) {
    for (size_t k = 0; k < sum.born.size(); ++k)
        sum.born[k] += t.born[k], sum.destroyed[k] += t.destroyed[k], sum.split[k] += t.split[k];
    for (size_t k = 0; k < sum.collected.size(); ++k) sum.collected[k] += t.collected[k];
    sum.merges += t.merges, sum.divisions += t.divisions;
}

// Games played one frame at a time from `start_level` (+ 1 is the first level played), a new
// one whenever the last has ended, checked after every frame. With `hurry` the foes of a level
// that drags on are set white-hot (and later burning), so that they burn away through the
// game's own rules and the run moves on; one level in four is given 250 frames more, past its
// invincibility, to fight and be hurt.
struct Soak {
    test::TestRig rig;
    SoakPlayer player;
    std::unique_ptr<Game> game;
    LevelProgress progress;
    int32_t start_level = 0, ships = 3, games = 0, ships_lost = 0, level_changes = 0, highest = 0;
    uint64_t frames = 0, level_frames = 0;
    std::array<int32_t, 5> most{};  // foes, shots, sparks, debris, boni
    GameTally tally;                // of the games that ended
    std::string fault;

    bool frame(bool hurry) {
        if (!game || game_should_end(*rig.sys, *game)) {
            if (game) add_tally(tally, game->tally);
            game = std::make_unique<Game>();
            if (!set_up_game(*rig.sys, *game, GameStart{start_level, ships}, progress, fault)) return false;
            ++games;
        }
        const Player before = game->player;
        player.choose_keys(rig.platform, *game);
        const uint64_t after = before.level % 4 == 1 ? 120 + 250 : 120;
        for (int32_t i = 0; hurry && i < game->foes.count && level_frames >= after; ++i) {
            game->foes.whitehot.set(i, 1);
            if (level_frames >= 2 * after) game->foes.flamed.set(i, 1);
        }
        run_frame(*rig.sys, *game);
        const Player& now = game->player;
        level_frames = now.level != before.level ? 0 : level_frames + 1;
        level_changes += now.level != before.level;
        ships_lost += now.death_timer != 0 && before.death_timer == 0;
        highest = std::max(highest, now.level);
        const int32_t counts[5] = {game->foes.count, game->shots.count, rig.sys->sparks.count, game->debris.count,
                                   game->boni.count};
        for (size_t k = 0; k < 5; ++k) most[k] = std::max(most[k], counts[k]);
        if (std::getenv("QVAR_SOAK_VERBOSE") != nullptr && now.level != before.level)
            std::printf("  frame %llu: level %d, score %d, ships %d, foes %d\n", static_cast<unsigned long long>(frames),
                        now.level, now.score, now.ships, game->foes.count);
        fault = check_world(*rig.sys, *game);
        if (!fault.empty()) fault = "frame " + std::to_string(frames) + ": " + fault;
        return ++frames, fault.empty();
    }
};

// The start levels named in QVAR_SOAK_STARTS, or all four.
std::vector<int32_t> soak_start_levels() {
    std::vector<int32_t> all = {1, 50, 200, 990}, chosen;
    const char* env = std::getenv("QVAR_SOAK_STARTS");
    if (env == nullptr) return all;
    for (int32_t level : all)
        for (const char* p = env; *p != '\0'; ++p)
            if (std::atoi(p) == level && (p == env || p[-1] == ',')) chosen.push_back(level);
    return chosen;
}

}  // namespace

TEST(Soak, RandomPlayFromFourStartLevelsKeepsTheWorldSound) {
    const char* env = std::getenv("QVAR_SOAK_FRAMES");
    const uint64_t frames = env != nullptr && std::atoll(env) > 0 ? static_cast<uint64_t>(std::atoll(env)) : 4500;
    const std::vector<int32_t> starts = soak_start_levels();
    ASSERT_FALSE(starts.empty()) << "QVAR_SOAK_STARTS names none of 1, 50, 200, 990";
    GameTally all;
    int32_t lost = 0;
    for (int32_t level : starts) {
        Soak s;
        std::vector<uint8_t> saved(PROGRESS_ENTRIES, 0);  // a player who reached levels 50, 200 and 990
        saved[5] = 4, saved[20] = 6, saved[99] = 9;
        test::write_bytes(s.rig.user_dir.file("saved.dat"), saved);
        s.progress = load_level_progress(s.rig.sys->paths);
        s.start_level = level - 1, s.ships = level % 10 == 0 ? s.progress.ships[level / 10] : 3;
        s.player.rng.lcg = static_cast<uint32_t>(level);
        while (s.frames < frames && s.frame(true)) {}
        if (s.game) add_tally(s.tally, s.game->tally);
        std::printf("[ soak     ] from level %d: %llu frames, %d games, %d level changes (highest %d), %d ships lost; "
                    "most foes %d, shots %d, sparks %d, debris %d, boni %d; merges %u, divisions %u; collected",
                    level, static_cast<unsigned long long>(s.frames), s.games, s.level_changes, s.highest, s.ships_lost,
                    s.most[0], s.most[1], s.most[2], s.most[3], s.most[4], s.tally.merges, s.tally.divisions);
        for (int32_t k = 1; k <= BONUS_KIND_COUNT; ++k) std::printf(" %u", s.tally.collected[k]);
        std::printf("\n");
        EXPECT_EQ(s.fault, "") << "from level " << level;
        EXPECT_GT(s.level_changes, 1) << "from level " << level;
        lost += s.ships_lost;
        add_tally(all, s.tally);
    }
    // Between them the four runs see every kind born and destroyed, the splitting kinds split, and
    // every pick-up collected. (Merges and divisions are reported; short runs may miss them.)
    if (starts.size() < 4) return;
    std::string missing;
    auto need = [&](uint32_t seen, const char* what, int32_t k) {
        if (seen == 0) missing += std::string(" ") + what + std::to_string(k);
    };
    for (int32_t k = 1; k <= FOE_KIND_COUNT; ++k) need(all.born[k], "born:", k), need(all.destroyed[k], "destroyed:", k);
    for (int32_t k : {ROCK, WHEEL, TRIANGLE, WEB, BLOCK, LODESTONE}) need(all.split[k], "split:", k);
    for (int32_t k = 1; k <= BONUS_KIND_COUNT; ++k) need(all.collected[k], "collected:", k);
    EXPECT_EQ(missing, "");
    EXPECT_GT(lost, 0);
}
