// One game frame with the spark pool full (10000) and 1000 live shots on the headless backend,
// and frames of high levels (1000 and 9990) from the frame their foes appear.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/frame.h"
#include "game/game_sprites.h"
#include "game/setup.h"
#include "player/levels.h"
#include "player/sparks.h"
#include "platform/headless_platform.h"

using namespace qvar;

namespace {

// Pictures built in memory, so the benchmark needs no data files.
void make_sprites(System& sys, Game& game) {
    GameSprites& gs = game.sprites;
    const Sprite ship = make_sprite(16, 16, 15);
    for (int32_t k = 0; k < SHIP_ORIENTATIONS; ++k) gs.ship[static_cast<size_t>(k)] = turn_ship_sprite(ship, k);
    for (Sprite& icon : gs.bonus_icons) icon = make_sprite(10, 10, 40);
    gs.tally_tens = make_sprite(10, 10, 12);
    gs.tally_hundreds = make_sprite(10, 10, 9);
    build_block_sprites(gs);
    build_rock_sprites(gs, sys.rng);
    set_builtin_sprites(gs);
    for (size_t d = 0; d < 10; ++d) {
        sys.large_digits[d] = make_sprite(10, 15, static_cast<uint8_t>(129 + 5 * d));
        sys.large_digits_swapped[d] = make_sprite(10, 15, static_cast<uint8_t>(133 + 5 * d));
    }
}

// Sparks that stay on the field (at rest) and shots that never run out, so every frame
// does the same work: 10000 sparks stepped and drawn, 1000 shots moved, wrapped and drawn.
void fill_pools(System& sys, Game& game) {
    SparkPool& s = sys.sparks;
    s.count = SPARK_CAPACITY;
    for (int32_t i = 0; i < SPARK_CAPACITY; ++i) {
        const auto k = static_cast<size_t>(i);
        s.x[k] = static_cast<float>(i % 320) + 0.5f;
        s.y[k] = static_cast<float>((i / 320) * 6 % 200) + 0.5f;
        s.dx[k] = 0.0f;
        s.dy[k] = 0.0f;
        s.colour[k] = static_cast<uint8_t>(24 + i % 8);
    }
    ShotPool& shots = game.shots;
    shots.count = SHOT_CAPACITY;
    for (int32_t i = 0; i < SHOT_CAPACITY; ++i) {
        const auto k = static_cast<size_t>(i);
        shots.x[k] = static_cast<float>(i * 7 % 320);
        shots.y[k] = static_cast<float>(i * 13 % 200);
        shots.dx[k] = static_cast<float>(i % 7) - 3.0f;
        shots.dy[k] = static_cast<float>(i % 5) - 2.0f;
        shots.life[k] = 1 << 30;
        shots.kind[k] = (i % 4 == 0) ? 5 : 1;
    }
}

struct Bench {
    HeadlessPlatform platform;
    System sys{platform};
    std::unique_ptr<Game> game = std::make_unique<Game>();
    LevelProgress progress;

    explicit Bench(bool full_pools = true) {
        std::string error;
        sys.display_open = platform.open_display(error);
        make_sprites(sys, *game);
        game->player = starting_player(GameStart{});
        game->progress = &progress;
        if (full_pools) fill_pools(sys, *game);
    }
};

void BM_GameFrame(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        b.game->player.clear_frames = 0;  // keep the field empty: no level begins
        run_frame(b.sys, *b.game);
        benchmark::DoNotOptimize(b.sys.frames_presented);
    }
    state.counters["sparks"] = b.sys.sparks.count;
    state.counters["shots"] = b.game->shots.count;
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

// The same frame without the pump, present and delay: the game's own work.
void BM_GameFrameSteps(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        b.game->player.clear_frames = 0;
        simulate_frame(b.sys, *b.game);
        b.sys.frame.clear();
    }
}
BENCHMARK(BM_GameFrameSteps)->Unit(benchmark::kMicrosecond);

// 100 frames of a level from the frame its foes are scattered (as after a click on it in the
// level list), with no key held; the ship is invincible for all of them. Every iteration
// starts again from the same state, copied in while the clock is stopped. The counter
// "frame" is the time of one frame.
void BM_LevelFrames(benchmark::State& state) {
    constexpr int FRAMES = 100;
    static Bench base(false);
    static int32_t built_level = -1;
    const auto level = static_cast<int32_t>(state.range(0));
    if (built_level != level) {
        base.game->player = starting_player(GameStart{level - 1, 3});
        base.game->player.clear_frames = 151;
        base.game->foes.count = 0;
        level_end_step(base.sys, *base.game);
        built_level = level;
    }
    Bench b(false);
    for (auto _ : state) {
        state.PauseTiming();
        *b.game = *base.game;
        b.game->progress = &b.progress;
        b.sys.sparks = base.sys.sparks;
        b.sys.rng = base.sys.rng;
        b.sys.frame.clear();
        state.ResumeTiming();
        for (int f = 0; f < FRAMES; ++f) {
            simulate_frame(b.sys, *b.game);
            b.sys.frame.clear();
        }
        benchmark::DoNotOptimize(b.game->player.score);
    }
    state.counters["foes"] = static_cast<double>(base.game->foes.count);
    state.counters["frame"] =
        benchmark::Counter(FRAMES, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LevelFrames)->Arg(1000)->Arg(2000)->Arg(5000)->Arg(9990)->Unit(benchmark::kMillisecond);

}  // namespace
