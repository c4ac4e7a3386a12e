// A game from set-up to its end: set-up and sprites, bad data files, whole headless games
// (controls, Q, the trace, closing the window), the pause, the trace line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <tuple>

#include "game/frame.h"
#include "game/game_sprites.h"
#include "player/pause.h"
#include "game/trace.h"
#include "game_fixture.h"
#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/draw.h"

using namespace qvar;

namespace {

std::vector<std::string> read_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// Set up again from the menu's choice, over a busy pool and a game with leftovers. (The
// starting values are the trace's first line, which the recordings check.)
TEST(GameSetup, ASecondSetUpClearsTheLeftoversAndStartsTheBurst) {
    test::GameFixture f;
    const Player& p = f.player();
    EXPECT_EQ(f.game->progress, &f.progress);
    f.sparks().count = 4000;
    f.add_foe(1.0f, 1.0f);
    f.add_shot(1.0f, 1.0f, 0.0f, 0.0f, 5, 1);
    ASSERT_TRUE(f.set_up(GameStart{19, 7}));
    EXPECT_EQ(std::tie(p.ships, p.level), std::make_tuple(7, 19));
    EXPECT_EQ(f.game->foes.count + f.game->shots.count + f.game->debris.count + f.game->boni.count, 0);
    EXPECT_EQ(f.sparks().count, 1000);
    EXPECT_EQ(test::bad_burst_spark(f.sparks(), 0, 1000), -1);
}

TEST(GameSprites, TurnedShipsRocksAndBlocks) {
    test::GameFixture f;
    const GameSprites& gs = f.game->sprites;
    Sprite base;
    std::string error;
    ASSERT_TRUE(load_sprite_record(f.sys().paths, SPRITES_FILE, SHIP_RECORD, base, error));
    EXPECT_EQ(gs.ship[0].pixels, base.pixels);
    // 3.1 radians is all but a half turn: the picture is nearly upside down.
    int same_as_flipped = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) same_as_flipped += gs.ship[31].at(i, j) == base.at(15 - i, 15 - j);
    EXPECT_GT(same_as_flipped, 200);
    // Turned by 0.8 radians, the corners come from outside the picture: transparent.
    const Sprite turned = turn_ship_sprite(make_sprite(16, 16, 7), 8);
    EXPECT_EQ(std::make_tuple(turned.at(0, 0), turned.at(15, 15), turned.at(8, 8)), std::make_tuple(TRANSPARENT, TRANSPARENT, uint8_t{7}));

    const uint8_t sizes[21] = {0, 10, 14, 17, 20, 22, 24, 26, 28, 30, 31, 33, 34, 36, 37, 38, 40, 41, 42, 43, 44};
    EXPECT_TRUE(std::equal(std::begin(sizes), std::end(sizes), gs.rock_sizes.begin()));
    for (uint8_t p : gs.rocks[19].pixels) ASSERT_TRUE(p == TRANSPARENT || (p >= 20 && p <= 29)) << int(p);  // shaded discs
    const int sides[4] = {2, 5, 11, 23};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(std::make_tuple(gs.blocks[i].width, gs.blocks[i].at(0, 0)), std::make_tuple(sides[i], BLOCK_COLOURS[i]));
}

TEST(GameSetup, BadDataFilesAreRefusedAndAMissingOneEndsTheProgramWithAMessage) {
    {  // a short icon file (a record of the wrong shape: the start-up's test)
        test::TestRig rig;
        std::vector<uint8_t> icons = test::read_bytes(rig.data_dir.file(BONI_FILE));
        icons.resize(500);
        test::write_bytes(rig.data_dir.file(BONI_FILE), icons);
        auto game = std::make_unique<Game>();
        LevelProgress progress;
        std::string error;
        EXPECT_TRUE(!set_up_game(*rig.sys, *game, GameStart{}, progress, error) && test::has(error, BONI_FILE)) << error;
    }

    test::TestRig rig;
    std::remove(rig.data_dir.file(SPRITES_FILE).c_str());
    rig.sys->sparks.count = 17;
    LevelProgress progress;
    EXPECT_TRUE(run_game(*rig.sys, GameStart{}, progress).failed);
    EXPECT_TRUE(rig.sys->quit_requested);  // any later wait ends the program
    ASSERT_EQ(rig.platform.message_boxes().size(), 1u);
    EXPECT_TRUE(test::has(rig.platform.message_boxes()[0], "Oh sod it") && test::has(rig.platform.message_boxes()[0], "qvar.dat"));
    // The display is closed and nothing was started.
    EXPECT_EQ(std::make_tuple(rig.platform.display_open(), rig.sys->sparks.count, rig.platform.frames_presented()), std::make_tuple(false, 17, uint64_t{0}));
}

// Right held, Q from frame 60: the game shows 60 frames, the first with the ship turned once at
// the centre and a lone 0 for the score. (Turning, thrust and fire are the recordings'.)
TEST(GameRun, TheFirstFrameShowsTheTurnedShipAndQEndsTheGame) {
    test::TestRig rig;
    test::Pixels first{};
    rig.platform.set_key(GameKey::Right, true);
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t n) {
        if (n == 1) first = p.last_frame();
        if (n == 60) p.set_key(GameKey::Q, true);
    });
    LevelProgress progress;
    const GameOutcome outcome = run_game(*rig.sys, GameStart{}, progress);
    EXPECT_EQ(std::make_tuple(outcome.score, outcome.level, outcome.failed, rig.platform.frames_presented()),
              std::make_tuple(0, 0, false, uint64_t{60}));
    test::GameFixture reference;
    FrameBuffer with_ship;  // drawing the ship again over the frame changes nothing
    with_ship.pixels = first;
    blit_sprite_wrapped(with_ship, 152, 92, reference.game->sprites.ship[1]);
    EXPECT_TRUE(with_ship.pixels == first);
    test::expect_pixels(first, {{301, 0, reference.sys().large_digits[0].at(1, 0)}, {293, 0, 0}});
}

TEST(GameRun, QEndsTheGameClosingTheWindowEndsTheProgram) {
    test::TestRig rig;
    rig.sys->trace_path = rig.user_dir.file("trace.jsonl");
    rig.platform.set_key(GameKey::Q, true);
    LevelProgress progress;
    const GameOutcome out = run_game(*rig.sys, GameStart{4, 3}, progress);
    EXPECT_EQ(std::make_tuple(out.score, out.level, rig.platform.frames_presented()), std::make_tuple(0, 4, uint64_t{0}));
    EXPECT_TRUE(read_lines(rig.sys->trace_path).empty());
    // Q pressed during the first frame: one frame and one trace line per game, appended. The
    // frame between the games (game over's) lets the Q press go. The middle game traces to
    // another file (as the page's headless runs do beside its own game): still appended after.
    const std::string first = rig.sys->trace_path;
    for (int game = 0; game < 3; ++game) {
        rig.sys->trace_path = game == 1 ? rig.user_dir.file("other.jsonl") : first;
        rig.platform.set_key(GameKey::Q, false);
        present_frame(*rig.sys);
        rig.platform.at_frame(rig.platform.frames_presented() + 1, [](HeadlessPlatform& p) { p.set_key(GameKey::Q, true); });
        run_game(*rig.sys, GameStart{}, progress);
    }
    const std::vector<std::string> lines = read_lines(rig.sys->trace_path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(test::has(lines[0], "{\"frame\":1,") && test::has(lines[1], "{\"frame\":1,"));
    // Closing the window ends the program, not just the game.
    rig.platform.set_key(GameKey::Q, false);
    present_frame(*rig.sys);
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t n) {
        if (n == 16) p.request_quit();
    });
    EXPECT_THROW(run_game(*rig.sys, GameStart{}, progress), QuitRequested);
    EXPECT_EQ(rig.platform.frames_presented(), 16u);
    test::TestRig paused;  // also from within the pause
    paused.platform.set_key(GameKey::P, true);
    paused.platform.at_time(500, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(pause_step(*paused.sys), QuitRequested);
}

// The P press has been handled: its character is the last message seen, P is still down.
TEST(Pause, ATypedKeyResumesAndAnArrowDoesNotAndTheVeilCoversEveryOtherCell) {
    test::TestRig rig;
    rig.platform.set_key(GameKey::P, true);
    rig.sys->input.char_typed = 1, rig.sys->input.last_char = 'p';
    rig.platform.at_time(100, [](HeadlessPlatform& p) { p.release_key(GameKey::P); });
    rig.platform.at_time(900, [](HeadlessPlatform& p) { p.press_key(GameKey::Left); });
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.type_char(' '); });
    put_pixel(rig.sys->frame, 11, 1, 99);  // the game under an uncovered cell
    pause_step(*rig.sys);
    EXPECT_EQ(std::make_tuple(rig.platform.now_ms() >= 1000, rig.sys->input.char_typed, rig.platform.frames_presented()),
              std::make_tuple(true, 0, uint64_t{1}));
    // A cell's border and the open cells let the game through; "Paused" is written over it.
    test::expect_pixels(rig.platform.last_frame(), {{1, 1, 20}, {2, 2, 19}, {8, 8, 20}, {9, 9, 0}, {11, 1, 99}, {11, 11, 20}, {311, 191, 20}, {301, 191, 0}});
    EXPECT_GT(test::count_pixels(rig.platform.last_frame(), 15), 10);
    FrameBuffer veil;
    draw_pause_veil(veil);
    EXPECT_EQ(test::count_pixels(veil.pixels), 32 * 10 * 64);  // half of the 32 x 20 cells, 64 pixels each
}

// (The counts by kind are the trace's, which the recordings check.)
TEST(TraceLine, WritesNullForNaNAndFitsOrRefuses) {
    test::GameFixture f;
    f.player().ship_vx = std::numeric_limits<float>::quiet_NaN();
    f.game->frame_number = 12;
    char line[TRACE_LINE_CAPACITY], small[40];
    const std::string text(line, format_trace_line(line, sizeof line, f.sys(), *f.game));
    EXPECT_TRUE(test::has(text, "{\"frame\":12,") && test::has(text, "\"ship_vx\":null,")) << text;
    EXPECT_EQ(std::make_tuple(format_trace_line(small, sizeof small, f.sys(), *f.game), small[0]), std::make_tuple(size_t{0}, '\0'));
}

// /dev/full takes the open but no data: the failure shows at a write or at the close, is told
// once on stderr, and the game itself is not affected.
TEST(GameRun, ATraceThatCannotBeWrittenIsToldAndTheGameGoesOn) {
    test::TestRig rig;
    rig.sys->trace_path = "/dev/full";
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t n) { p.set_key(GameKey::Q, n == 30); });
    LevelProgress progress;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(run_game(*rig.sys, GameStart{}, progress).failed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "qvar: cannot write the trace to /dev/full: disk full; the game goes on without it\n");
    EXPECT_EQ(rig.platform.frames_presented(), 30u);
}
