// Whole games through run_game on the headless backend: controls, pause, Q, the trace,
// and a second identical run.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <fstream>
#include <sstream>

#include "game/frame.h"
#include "game/ship.h"
#include "game/trace.h"
#include "game_fixture.h"
#include "gfx/draw.h"

using namespace qvar;

namespace {

std::vector<std::string> read_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

uint64_t frame_hash(const std::array<uint8_t, 64000>& pixels) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t p : pixels) h = (h ^ p) * 1099511628211ull;
    return h;
}

struct ScriptedRun {
    std::vector<uint64_t> hashes;
    std::vector<std::string> trace;
    GameOutcome outcome;
    uint64_t veil_frame = 0;
    uint64_t presented_when_typed = 0;
    bool ship_seen = false;
    bool hud_seen = false;
    bool black_after_pause = false;
};

// The first frame after a game frame's present that shows the ship turned once to the
// right at the centre, and the HUD: three chevrons and a score of 0.
void check_first_frame(test::TestRig& rig, const Game& sprites_from, ScriptedRun& run) {
    const auto& shown = rig.platform.last_frame();
    FrameBuffer ship;
    blit_sprite_wrapped(ship, 152, 92, sprites_from.sprites.ship[1]);
    const Sprite& base = sprites_from.sprites.ship[1];
    bool all = true;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (base.at(c, r) != TRANSPARENT) all = all && shown[static_cast<size_t>((92 + r) * 320 + 152 + c)] == base.at(c, r);
    run.ship_seen = all;
    run.hud_seen = shown[2 * 320 + 46] == 14 && shown[2 * 320 + 52] == 12 &&
                   shown[301] == rig.sys->large_digits[0].at(1, 0);
}

ScriptedRun scripted_game() {
    test::TestRig rig;
    ScriptedRun run;
    rig.sys->trace_path = rig.user_dir.file("trace.jsonl");
    // The test's own copy of the game's sprites, to know what the ship must look like.
    test::GameFixture reference;
    rig.platform.set_key(GameKey::Right, true);
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t n) {
        run.hashes.push_back(frame_hash(p.last_frame()));
        if (n == 1) check_first_frame(rig, *reference.game, run);
        if (n == 5) {
            p.set_key(GameKey::Right, false);
            p.set_key(GameKey::Up, true);
        }
        if (n == 30) {
            p.set_key(GameKey::Up, false);
            p.press_key(GameKey::Space);
        }
        if (n == 31) p.release_key(GameKey::Space);
        if (n == 40) p.press_key(GameKey::P);
        if (n == 41) {
            const auto& f = p.last_frame();
            if (f[1 * 320 + 1] == 20 && f[2 * 320 + 2] == 19) run.veil_frame = n;
            const uint64_t now = p.now_ms();
            p.at_time(now + 100, [](HeadlessPlatform& q) { q.release_key(GameKey::P); });
            p.at_time(now + 200, [](HeadlessPlatform& q) { q.press_key(GameKey::Left); });
            p.at_time(now + 300, [](HeadlessPlatform& q) { q.release_key(GameKey::Left); });
            p.at_time(now + 1000, [&run](HeadlessPlatform& q) {
                run.presented_when_typed = q.frames_presented();
                q.type_char('x');
            });
        }
        if (n == 42) {
            run.black_after_pause = true;
            for (uint8_t px : p.last_frame()) run.black_after_pause = run.black_after_pause && px == 0;
        }
        if (n == 60) p.set_key(GameKey::Q, true);
    });
    LevelProgress progress;
    run.outcome = run_game(*rig.sys, GameStart{}, progress);
    run.trace = read_lines(rig.sys->trace_path);
    return run;
}

bool has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

}  // namespace

TEST(GameRun, TurnThrustFirePauseResumeAndQuit) {
    const ScriptedRun run = scripted_game();
    EXPECT_EQ(run.outcome.score, 0);
    EXPECT_EQ(run.outcome.level, 0);
    EXPECT_FALSE(run.outcome.failed);
    EXPECT_TRUE(run.ship_seen);
    EXPECT_TRUE(run.hud_seen);
    EXPECT_EQ(run.veil_frame, 41u);
    EXPECT_EQ(run.presented_when_typed, 41u);  // the arrow did not end the pause
    EXPECT_TRUE(run.black_after_pause);
    ASSERT_EQ(run.hashes.size(), 60u);  // 59 game frames and the veiled one
    ASSERT_EQ(run.trace.size(), 59u);
    EXPECT_TRUE(has(run.trace[0], "{\"frame\":1,\"level\":0,\"score\":0,\"shown_score\":0,\"ships\":3,\"weapon\":1,"));
    EXPECT_TRUE(has(run.trace[0], "\"ship_angle\":0.100000001,"));
    EXPECT_TRUE(has(run.trace[0], "\"sparks\":1000,\"shots\":0,"));
    EXPECT_TRUE(has(run.trace[0], "\"foe_kinds\":[0,0,0,0,0,0,0,0,0,0,0,0,0]}"));
    EXPECT_TRUE(has(run.trace[4], "\"ship_angle\":0.5"));
    EXPECT_TRUE(has(run.trace[4], "\"ship_vy\":0,"));
    EXPECT_TRUE(has(run.trace[5], "\"ship_vy\":-0.06"));  // Up from frame 6, heading 0.5
    EXPECT_TRUE(has(run.trace[29], "\"shots\":0,"));
    EXPECT_TRUE(has(run.trace[30], "\"shots\":1,"));  // Space down in frame 31
    EXPECT_TRUE(has(run.trace[58], "{\"frame\":59,"));
}

TEST(GameRun, TheSameRunTwiceIsTheSame) {
    const ScriptedRun a = scripted_game();
    const ScriptedRun b = scripted_game();
    EXPECT_EQ(a.hashes, b.hashes);
    EXPECT_EQ(a.trace, b.trace);
}

TEST(GameRun, HoldingQEndsTheGameBeforeItsFirstFrame) {
    test::TestRig rig;
    rig.sys->trace_path = rig.user_dir.file("trace.jsonl");
    rig.platform.set_key(GameKey::Q, true);
    LevelProgress progress;
    const GameOutcome out = run_game(*rig.sys, GameStart{4, 3}, progress);
    EXPECT_EQ(out.score, 0);
    EXPECT_EQ(out.level, 4);
    EXPECT_EQ(rig.platform.frames_presented(), 0u);
    EXPECT_TRUE(read_lines(rig.sys->trace_path).empty());
}

TEST(GameRun, ClosingTheWindowEndsTheProgramNotJustTheGame) {
    test::TestRig rig;
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t n) {
        if (n == 10) p.request_quit();
    });
    LevelProgress progress;
    EXPECT_THROW(run_game(*rig.sys, GameStart{}, progress), QuitRequested);
    EXPECT_EQ(rig.platform.frames_presented(), 10u);
}

TEST(GameLoop, LosingTheLastShipCompletesTheFrameThenEnds) {
    test::GameFixture f(GameStart{0, 1});
    destroy_ship(f.sys(), *f.game);
    int frames = 0;
    while (!game_should_end(f.sys(), *f.game)) {
        run_frame(f.sys(), *f.game);
        ++frames;
    }
    EXPECT_EQ(frames, 99);  // the wreck's 100 frames, then the respawn uses the last ship
    EXPECT_EQ(f.player().ships, 0);
    EXPECT_GE(f.sys().sparks.count, 1000);  // the respawn burst still came
}

TEST(GameLoop, TracesAppendAcrossGamesOfOneRun) {
    test::TestRig rig;
    rig.sys->trace_path = rig.user_dir.file("t.jsonl");
    for (int game = 0; game < 2; ++game) {
        rig.platform.set_key(GameKey::Q, false);
        rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t) { p.set_key(GameKey::Q, true); });
        LevelProgress progress;
        run_game(*rig.sys, GameStart{}, progress);
    }
    const std::vector<std::string> lines = read_lines(rig.sys->trace_path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(has(lines[0], "{\"frame\":1,"));
    EXPECT_TRUE(has(lines[1], "{\"frame\":1,"));
}

TEST(TraceLine, CountsFoesByKindAndFitsOrRefuses) {
    test::GameFixture f;
    f.add_foe(1.0f, 1.0f);
    f.add_foe(2.0f, 2.0f);
    f.game->foes.kind[1] = SPINNER;
    f.player().ship_vx = std::numeric_limits<float>::quiet_NaN();
    f.game->frame_number = 12;
    char line[TRACE_LINE_CAPACITY];
    const size_t n = format_trace_line(line, sizeof line, f.sys(), *f.game);
    ASSERT_GT(n, 0u);
    const std::string text(line, n);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_TRUE(has(text, "{\"frame\":12,"));
    EXPECT_TRUE(has(text, "\"ship_vx\":null,"));
    EXPECT_TRUE(has(text, "\"foes\":2,"));
    EXPECT_TRUE(has(text, "\"foe_kinds\":[1,0,0,0,0,0,0,0,0,0,0,0,1]"));
    for (const char* field : {"flame_count", "plasma_count", "whitehot_timer", "bullets", "spread", "stream",
                              "surround", "attract", "retro", "shot_speed", "death_timer", "invincible",
                              "debris", "boni", "hit_pairs"})
        EXPECT_TRUE(has(text, std::string("\"") + field + "\":")) << field;
    char small[40];
    EXPECT_EQ(format_trace_line(small, sizeof small, f.sys(), *f.game), 0u);
    EXPECT_EQ(small[0], '\0');
}
