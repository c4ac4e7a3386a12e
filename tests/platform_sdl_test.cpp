// The window procedure's rules for the shared input state, and the real SDL2 backend under
// SDL's dummy video driver: it opens, presents, ticks, turns events into messages by those
// rules, and releases cleanly.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "platform/input.h"
#include "test_support.h"

using namespace qvar;
using T = SdlTestEvent::Type;
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // unnamed fields keep their defaults

namespace {

Message msg(MessageKind kind, uint8_t character = 0, uint32_t flags = 0, int32_t timer = 0) {
    Message m;
    m.kind = kind;
    m.character = character;
    m.button_flags = flags;
    m.timer_id = timer;
    m.x = 5;  // a stray position: only a move may use it
    m.y = 6;
    return m;
}

// Every waiting message as "KIND[VALUE]": C character, T timer, M move, B button (flags: 1 left,
// 2 right, 4 Shift, 8 Ctrl, 16 middle), D double click, Q quit, O other.
std::vector<std::string> drain(Platform& p) {
    std::vector<std::string> out;
    Message m;
    while (out.size() < 1000 && p.poll_message(m)) {
        std::string s(1, "CTMBDQO"[int(m.kind)]);
        if (m.kind == MessageKind::Character) s += std::to_string(m.character);
        if (m.kind == MessageKind::MouseMove) s += std::to_string(m.x) + "," + std::to_string(m.y);
        if (m.kind == MessageKind::MouseButton) s += std::to_string(m.button_flags);
        out.push_back(s);
    }
    return out;
}

}  // namespace

TEST(WindowProc, TheRulesForTheSharedInputState) {
    using K = MessageKind;  // the character's rules: RegressionRecordings
    InputState in;
    Message move = msg(K::MouseMove);
    move.x = 319;
    move.y = 199;
    window_proc(in, move);
    window_proc(in, msg(K::MouseButton, 0, MOUSE_LEFT | MOUSE_SHIFT));  // with a stray position
    EXPECT_EQ(in.mouse_x, 319);
    EXPECT_EQ(in.mouse_y, 199);
    EXPECT_EQ(in.mouse_buttons, MOUSE_LEFT | MOUSE_SHIFT);  // the whole flag word is kept
    window_proc(in, msg(K::MouseButton, 0, MOUSE_CONTROL));  // released with Ctrl held: still nonzero
    window_proc(in, msg(K::DoubleClick));  // the second press of a double click changes nothing
    EXPECT_EQ(in.mouse_buttons, MOUSE_CONTROL);
    window_proc(in, msg(K::Timer, 0, 0, 41));
    EXPECT_EQ(in.timer_fired, 0);
    window_proc(in, msg(K::Timer, 0, 0, CALIBRATION_TIMER_ID));
    EXPECT_EQ(in.timer_fired, 1);
}

// The timer's tick wakes a wait; release is safe twice (keys tapped between presents: SdlKeys).
TEST(SdlPlatform, OpensPresentsTicksAndReleasesTwice) {
    auto p = test::open_sdl_dummy({.scale = 2});
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
    EXPECT_EQ(sdl_window_scale(*p), 2);
    std::array<uint8_t, 64000> frame{};
    p->present(frame.data());
    p->start_timer(CALIBRATION_TIMER_ID, 1000);
    const uint64_t start = p->now_ms();
    int waits = 0;
    Message m;
    while (!(m.kind == MessageKind::Timer && m.timer_id == CALIBRATION_TIMER_ID) && p->now_ms() - start < 3000) {
        if (p->poll_message(m)) continue;
        p->wait_message(5000);  // must wake for the tick, not sleep the whole timeout
        ++waits;
    }
    const uint64_t took = p->now_ms() - start;
    EXPECT_GE(took, 1000u);
    EXPECT_LE(took, 1300u);
    EXPECT_LT(waits, 100) << "the wait spins";
    p->release_display();
    p->release_display();
    p->present(frame.data());  // after release: nothing to draw on, and no crash
}

TEST(SdlPlatform, EventsBecomeMessagesByTheWindowProcedureRules) {
    auto p = test::open_sdl_dummy({.scale = 2});
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
    drain(*p);
    const SdlTestEvent events[] = {
        {.type = T::Text, .text = "ab"}, {.type = T::Text, .text = "\xc3\xa9"},  // nothing printable in ASCII
        {.type = T::KeyDown, .key = 13}, {.type = T::KeyDown, .key = 8, .repeat = true}, {.type = T::KeyDown, .key = 65},
        {.type = T::Motion, .x = 2 * 100 + 1, .y = 2 * 50 + 1}, {.type = T::Motion, .x = 5000, .y = -40},  // clamped
        {.type = T::KeyDown, .shift = true}, {.type = T::ButtonDown}, {.type = T::ButtonDown, .button = 3},
        {.type = T::KeyUp, .ctrl = true},  // Shift let go while Ctrl is held
        {.type = T::ButtonUp}, {.type = T::KeyUp}, {.type = T::ButtonDown, .clicks = 2},
        {.type = T::ButtonDown, .button = 2}, {.type = T::ButtonDown, .button = 3, .clicks = 2},
        {.type = T::ButtonUp, .button = 3}, {.type = T::Other}, {.type = T::Close}};
    for (const SdlTestEvent& e : events) ASSERT_TRUE(sdl_push_test_event(*p, e));
    // the right release carries the left (pressed again by the double click) and middle buttons
    EXPECT_EQ(drain(*p), (std::vector<std::string>{"C97", "C98", "O", "C13", "C8", "O", "M100,50", "M319,0", "O", "B5",
                                                   "B7", "O", "B10", "O", "D", "O", "O", "B17", "O", "Q"}));
    p->release_display();
}

TEST(SdlPlatform, AMissingVideoDriverIsAOneLineReason) {
    ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    auto p = make_sdl_platform(SdlOptions{});
    std::string error;
    EXPECT_FALSE(p->open_display(error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    p->release_display();
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);  // what every other SDL test here runs on
}

TEST(SdlPlatform, OpenGlDrawnByTheProcessorIsToldFromAGraphicsCard) {
    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 Software Rasterizer", "GDI Generic"})
        EXPECT_TRUE(is_software_gl(name)) << name;
    for (const char* name : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                             "AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)", ""})
        EXPECT_FALSE(is_software_gl(name)) << name;
}

TEST(SdlPlatform, TheSocketWaitWakesForDataAndOtherwiseSleepsItsTimeout) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    using Clock = std::chrono::steady_clock;
    auto t0 = Clock::now();
    EXPECT_FALSE(wait_readable(fds[0], 60000));
    const auto t1 = Clock::now();
    EXPECT_GE(t1 - t0, std::chrono::milliseconds(50));
    EXPECT_LT(t1 - t0, std::chrono::milliseconds(1000));
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    EXPECT_TRUE(wait_readable(fds[0], 5000000));
    EXPECT_LT(Clock::now() - t1, std::chrono::milliseconds(1000)) << "data was waiting: the wait must not sleep";
    ::close(fds[0]);
    ::close(fds[1]);
}
