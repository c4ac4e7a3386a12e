// Headless runs: scripts reach every wait through the virtual clock, finished scripts end
// the run, and the same script gives the same frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "gfx/draw.h"
#include "platform/frame_capture.h"
#include "platform/input_script.h"
#include "test_support.h"

using namespace qvar;

namespace {

InputScript script_of(const std::string& text) {
    InputScript script;
    std::vector<ScriptError> errors;
    EXPECT_TRUE(parse_input_script(text, script, errors));
    return script;
}

struct ScriptedRun {
    HeadlessPlatform platform;
    std::unique_ptr<System> sys = std::make_unique<System>(platform);

    explicit ScriptedRun(const std::string& script) {
        prepare_scripted_run(platform, script_of(script));
        std::string error;
        sys->display_open = platform.open_display(error);
    }
};

// A stand-in for a game screen: draws from the input state and the random numbers,
// presents, pumps once and delays, until Q is held or the quit arrives.
void toy_loop(System& sys, uint32_t delay) {
    try {
        while (!sys.platform.key_down(GameKey::Q)) {
            fill_rect(sys.frame, static_cast<uint32_t>(sys.input.mouse_x), static_cast<uint32_t>(sys.input.mouse_y), 8, 8, 12);
            put_pixel(sys.frame, static_cast<uint32_t>(random_int(sys.rng, 320)),
                      static_cast<uint32_t>(random_int(sys.rng, 200)), sys.input.last_char);
            if (sys.input.mouse_buttons != 0) fill_rect(sys.frame, 0, 0, 320, 10, 14);
            present_frame(sys);
            pump_or_quit(sys);
            if (delay != 0) delay_ms(sys, delay);
        }
    } catch (const QuitRequested&) {
    }
}

}  // namespace

TEST(HeadlessWaits, TimedEventsReachWaitsThatPresentNothing) {
    ScriptedRun run("1500 type x\n"
            "+1000 click left 30 40\n"
            "+1000 press p\n"
            "+2000 release p\n"
            "+100 type enter\n");
    System& sys = *run.sys;
    calibrate_delay(sys);  // waits for the one-second tick without presenting
    EXPECT_EQ(run.platform.now_ms(), 1000u);
    wait_until_char_typed(sys);
    EXPECT_EQ(sys.input.last_char, 'x');
    EXPECT_EQ(run.platform.now_ms(), 1500u);
    wait_key_or_click(sys);                   // released, then the click, then released
    EXPECT_EQ(sys.input.mouse_x, 30);
    EXPECT_EQ(run.platform.now_ms(), 2570u);
    while (!run.platform.key_down(GameKey::P)) pump_or_idle(sys);
    while (run.platform.key_down(GameKey::P)) pump_or_idle(sys);  // a pause waits while P is held
    EXPECT_EQ(run.platform.now_ms(), 5570u);
    wait_while_char_typed(sys);
    wait_until_char_typed(sys);
    EXPECT_EQ(sys.input.last_char, 13);
    EXPECT_EQ(run.platform.frames_presented(), 0u);
}

TEST(HeadlessWaits, AFinishedScriptEndsEveryKindOfLoop) {
    {  // a game-like loop with the one-second timer ticking all along
        ScriptedRun run("100 press space\n");
        calibrate_delay(*run.sys);
        toy_loop(*run.sys, 10);
        EXPECT_TRUE(run.sys->quit_requested);
        EXPECT_GE(run.platform.now_ms(), 100 + DEFAULT_IDLE_QUIT_MS);
        EXPECT_LE(run.platform.now_ms(), 100 + DEFAULT_IDLE_QUIT_MS + 20);
    }
    {  // a menu-like loop that never delays: presented frames move the clock
        ScriptedRun run("idle-quit 2000\n");
        toy_loop(*run.sys, 0);
        EXPECT_EQ(run.platform.now_ms(), 2000u);
        EXPECT_EQ(run.platform.frames_presented(), 2000u);
    }
    {  // a wait for a key that never comes
        ScriptedRun run("idle-quit 3s\n");
        EXPECT_THROW(wait_press(*run.sys), QuitRequested);
        EXPECT_EQ(run.platform.now_ms(), 3000u);
    }
    {  // a frame event cannot come while nothing is presented: the wait still ends
        ScriptedRun run("idle-quit 3s\nf10 press q\n");
        EXPECT_THROW(wait_press(*run.sys), QuitRequested);
    }
}

TEST(HeadlessWaits, PendingFrameEventsKeepAPresentingRunAlive) {
    ScriptedRun run("idle-quit 100\nf500 press q\n");
    toy_loop(*run.sys, 0);
    EXPECT_FALSE(run.sys->quit_requested);  // it ended on Q, at frame 500
    EXPECT_EQ(run.platform.frames_presented(), 500u);
}

TEST(HeadlessWaits, ALoopThatOnlyPumpsStillSeesTimePass) {
    HeadlessPlatform p;
    System sys(p);
    p.at_time(20, [](HeadlessPlatform& q) { q.type_char('k'); });
    uint64_t pumps = 0;
    while (sys.input.char_typed == 0 && pumps < 1000000) {
        pump_message(sys);
        ++pumps;
    }
    EXPECT_EQ(sys.input.last_char, 'k');
    EXPECT_EQ(p.now_ms(), 20u);
}

TEST(HeadlessRepeat, TheSameScriptGivesTheSameFramesByteForByte) {
    const std::string script = "50 move 100 60\n+200 click\n+100 text QVAR\n+300 move 10 150\n+50 press q\n";
    auto capture_run = [](const std::string& text, const std::string& dir) {
        ScriptedRun run(text);
        FrameSelection all;
        all.all = true;
        auto result = attach_frame_capture(run.platform, dir, all);
        build_palette(*run.sys, 1.0f);
        toy_loop(*run.sys, 10);
        EXPECT_FALSE(result->failed) << result->error;
        return result->written;
    };
    test::TempDir a, b, c;
    const uint64_t frames = capture_run(script, a.path());
    ASSERT_GT(frames, 50u);
    EXPECT_EQ(capture_run(script, b.path()), frames);
    capture_run("50 move 101 60\n+200 click\n+100 text QVAR\n+300 move 10 150\n+50 press q\n", c.path());
    int differing = 0;
    for (uint64_t f = 1; f <= frames; ++f) {
        const std::string name = frame_file_name(f);
        ASSERT_EQ(test::read_bytes(a.file(name)), test::read_bytes(b.file(name))) << name;
        if (test::read_bytes(a.file(name)) != test::read_bytes(c.file(name))) ++differing;
    }
    EXPECT_GT(differing, 0);  // a one-pixel change in the script shows in the frames
}
