// One game frame with the spark pool full (10000) and 1000 live shots on the headless backend.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/frame.h"
#include "game/game_sprites.h"
#include "game/setup.h"
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

    Bench() {
        std::string error;
        sys.display_open = platform.open_display(error);
        make_sprites(sys, *game);
        game->player = starting_player(GameStart{});
        game->progress = &progress;
        fill_pools(sys, *game);
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

}  // namespace
