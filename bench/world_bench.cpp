// The world's steps of one frame at the worst the pools allow: 1000 foes of every kind (many
// lodestones and cells), 1000 live shots, a full spark pool and full debris; and a typical
// frame of level 20 for comparison.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "player/boni.h"
#include "player/levels.h"
#include "platform/headless_platform.h"
#include "world/lanes.h"
#include "world/world.h"

using namespace qvar;

namespace {

void fill_sprites(GameSprites& s) {
    for (int32_t i = 0; i < ROCK_SPRITE_COUNT; ++i) {
        const auto d = static_cast<uint8_t>(10.0f * std::sqrt(static_cast<float>(i + 1)));
        s.rock_sizes[static_cast<size_t>(i + 1)] = d;
        Sprite disc = make_sprite(d, d, 24);
        const float c = (static_cast<float>(d) - 1.0f) / 2.0f;
        for (int y = 0; y < d; ++y)
            for (int x = 0; x < d; ++x)
                if ((x - c) * (x - c) + (y - c) * (y - c) >= c * c) disc.pixels[static_cast<size_t>(y * d + x)] = TRANSPARENT;
        s.rocks[static_cast<size_t>(i)] = disc;
    }
    for (int32_t i = 0; i < 4; ++i) {
        const auto side = static_cast<uint8_t>(3 * (1 << i) - 1);
        s.blocks[static_cast<size_t>(i)] = make_sprite(side, side, BLOCK_COLOURS[i]);
    }
    s.saucer = make_sprite(15, 7, 13);
    s.repeller = make_sprite(20, 15, 11);
    s.cell[0] = make_sprite(12, 12, 10);
    s.cell[1] = make_sprite(12, 12, 2);
    s.spinner = make_sprite(10, 10, 14);
    for (auto& icon : s.bonus_icons) icon = make_sprite(10, 10, 33);
    s.pellet = pellet_sprite();
    s.core = core_sprite();
}

struct Scene {
    HeadlessPlatform platform;
    std::unique_ptr<System> sys = std::make_unique<System>(platform);
    std::unique_ptr<Game> game = std::make_unique<Game>();
};

void add_foe(Game& g, Random& r, int32_t kind, int32_t gen) {
    FoePool& f = g.foes;
    const auto k = static_cast<size_t>(f.count++);
    f.x[k] = random_real(r, 320.0f);
    f.y[k] = random_real(r, 200.0f);
    f.dx[k] = random_real(r, 2.0f) - 1.0f;
    f.dy[k] = random_real(r, 2.0f) - 1.0f;
    f.spin[k] = random_real(r, 0.1f) - 0.05f;
    f.kind[k] = kind;
    f.gen[k] = gen;
}

// 450 lodestones of gen 1 on an 11-pixel grid, so that none touch and every pair of them pulls
// (about 200 000 pairs), 350 cells (about 120 000 pairs before crowding stops the sums),
// 40 spinners, 20 repellers and 140 of the lone kinds.
void build_worst(Scene& s) {
    Game& g = *s.game;
    fill_sprites(g.sprites);
    Random r;
    for (int i = 0; i < 450; ++i) {
        add_foe(g, r, LODESTONE, 1);
        const auto k = static_cast<size_t>(g.foes.count - 1);
        g.foes.x[k] = 5.0f + 11.0f * static_cast<float>(i % 29);
        g.foes.y[k] = 5.0f + 11.0f * static_cast<float>(i / 29);
        g.foes.dx[k] *= 0.2f;
        g.foes.dy[k] *= 0.2f;
    }
    for (int i = 0; i < 350; ++i) add_foe(g, r, CELL, -random_int(r, 100));
    for (int i = 0; i < 40; ++i) add_foe(g, r, SPINNER, 0);
    for (int i = 0; i < 20; ++i) add_foe(g, r, REPELLER, 0);
    const int32_t lone[9][2] = {{ROCK, 8}, {WHEEL, 7}, {DART, 0}, {SAUCER, 0}, {PELLET, 100},
                                {TRIANGLE, 4}, {WEB, 5}, {ORBITER, 6}, {BLOCK, 3}};
    for (int i = 0; i < 140; ++i) add_foe(g, r, lone[i % 9][0], lone[i % 9][1]);
    for (int32_t i = 0; i < FOE_CAPACITY; i += 7) g.foes.flamed.set(i, 1);
    ShotPool& sh = g.shots;
    for (int32_t i = 0; i < SHOT_CAPACITY; ++i) {
        const auto k = static_cast<size_t>(i);
        sh.x[k] = random_real(r, 320.0f);
        sh.y[k] = random_real(r, 200.0f);
        sh.dx[k] = random_real(r, 6.0f) - 3.0f;
        sh.dy[k] = random_real(r, 6.0f) - 3.0f;
        sh.life[k] = 60;
        sh.kind[k] = 1 + i % 5;
    }
    sh.count = SHOT_CAPACITY;
    SparkPool& sp = s.sys->sparks;
    for (int32_t i = 0; i < SPARK_CAPACITY; ++i) {
        const auto k = static_cast<size_t>(i);
        sp.x[k] = random_real(r, 320.0f);
        sp.y[k] = random_real(r, 200.0f);
        sp.dx[k] = random_real(r, 4.0f) - 2.0f;
        sp.dy[k] = random_real(r, 4.0f) - 2.0f;
        sp.colour[k] = 15;
    }
    sp.count = SPARK_CAPACITY;
    DebrisPool& d = g.debris;
    for (int32_t i = 0; i < DEBRIS_CAPACITY; ++i) {
        d.x[static_cast<size_t>(i)] = random_int(r, 320);
        d.y[static_cast<size_t>(i)] = random_int(r, 200);
        d.colour[static_cast<size_t>(i)] = 7;
    }
    d.count = DEBRIS_CAPACITY;
    for (int i = 0; i < 200; ++i) {
        BonusPool& b = g.boni;
        const auto k = static_cast<size_t>(b.count++);
        b.x[k] = random_real(r, 320.0f);
        b.y[k] = random_real(r, 200.0f);
        b.dx[k] = 0.3f;
        b.kind[k] = 1 + i % 13;
    }
    g.player.invincible = 1000000;  // the ship survives the crowd: every frame does the same work
}

// Only the lodestone grid of the worst case: the cost of its 200 000 pulling pairs alone.
void build_lodestones(Scene& s) {
    build_worst(s);
    s.game->foes.count = 450;
    s.game->shots.count = 0;
    s.sys->sparks.count = 0;
}

// A frame of level 20 as a player meets it: its two foes, a volley in flight, some sparks.
void build_level20(Scene& s) {
    Game& g = *s.game;
    fill_sprites(g.sprites);
    g.player.level = 19;
    g.player.clear_frames = 151;
    level_end_step(*s.sys, g);
    Random r;
    for (int i = 0; i < 20; ++i) {
        const auto k = static_cast<size_t>(g.shots.count++);
        g.shots.x[k] = random_real(r, 320.0f);
        g.shots.y[k] = random_real(r, 200.0f);
        g.shots.kind[k] = 1;
        g.shots.life[k] = 60;
    }
    s.sys->sparks.count = 1000;
    g.debris.count = 100;
}

void world_frame(Scene& s) {
    prepare_foe_pass(*s.game);
    foe_step(*s.sys, *s.game);
    apply_hit_pairs(*s.game);
    destroy_step(*s.sys, *s.game);
    debris_step(*s.sys, *s.game);
    boni_step(*s.sys, *s.game);
}

// Every iteration starts from the same state, copied in while the clock is stopped. The
// benchmark's argument, when it has one, is the width of the hot loops (8 or 4 lanes).
template <void (*Build)(Scene&)>
void run(benchmark::State& state, void (*step)(Scene&)) {
    const auto lanes = static_cast<int32_t>(state.range(0));
    if (lanes != world::lanes::widest() && lanes != 4) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    world::lanes::use_width(lanes);
    static Scene base;
    static bool built = false;
    if (!built) {
        Build(base);
        built = true;
    }
    Scene work;
    for (auto _ : state) {
        state.PauseTiming();
        *work.game = *base.game;
        work.sys->sparks = base.sys->sparks;
        work.sys->rng = base.sys->rng;
        work.sys->frame.clear();
        state.ResumeTiming();
        step(work);
        benchmark::DoNotOptimize(work.game->player.score);
    }
    world::lanes::use_width(world::lanes::widest());
}

void BM_WorstCaseFrame(benchmark::State& state) { run<build_worst>(state, world_frame); }
void BM_WorstCaseFoePass(benchmark::State& state) {
    run<build_worst>(state, [](Scene& s) {
        prepare_foe_pass(*s.game);
        foe_step(*s.sys, *s.game);
    });
}
void BM_LodestoneGridPass(benchmark::State& state) {
    run<build_lodestones>(state, [](Scene& s) {
        prepare_foe_pass(*s.game);
        foe_step(*s.sys, *s.game);
    });
}
void BM_Level20Frame(benchmark::State& state) { run<build_level20>(state, world_frame); }

}  // namespace

BENCHMARK(BM_WorstCaseFrame)->Arg(8)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorstCaseFoePass)->Arg(8)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LodestoneGridPass)->Arg(8)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Level20Frame)->Arg(8)->Unit(benchmark::kMicrosecond);
