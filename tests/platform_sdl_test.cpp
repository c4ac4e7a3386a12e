// The real SDL2 backend under SDL's dummy video driver: it opens, presents, ticks, turns
// events into messages by the window procedure's rules, and releases cleanly.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/input.h"
#include "platform/sdl_platform.h"

using namespace qvar;

namespace {

// Opens an SDL platform at scale 2 on the dummy driver, or says why it cannot.
std::unique_ptr<Platform> open_dummy(std::string& error) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto p = make_sdl_platform(SdlOptions{false, 2});
    if (!p->open_display(error)) return nullptr;
    return p;
}

std::vector<Message> drain(Platform& p) {
    std::vector<Message> out;
    Message m;
    while (out.size() < 1000 && p.poll_message(m)) out.push_back(m);
    return out;
}

SdlTestEvent ev(SdlTestEvent::Type type) {
    SdlTestEvent e;
    e.type = type;
    return e;
}

}  // namespace

TEST(SdlPlatform, OpensPresentsTicksAndReleasesTwice) {
    std::string error;
    auto p = open_dummy(error);
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display: " << error;
    EXPECT_EQ(sdl_window_scale(*p), 2);
    std::array<uint8_t, 64000> frame{};
    for (int i = 0; i < 256; ++i) p->set_palette_entry(static_cast<uint8_t>(i), Rgb{uint8_t(i), 0, uint8_t(255 - i)});
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i);
    p->present(frame.data());
    drain(*p);
    p->start_timer(CALIBRATION_TIMER_ID, 1000);
    const uint64_t start = p->now_ms();
    int waits = 0;
    bool ticked = false;
    while (!ticked && p->now_ms() - start < 3000) {
        Message m;
        if (p->poll_message(m)) {
            ticked = m.kind == MessageKind::Timer && m.timer_id == CALIBRATION_TIMER_ID;
            continue;
        }
        p->wait_message(5000);  // must wake for the tick, not sleep the whole timeout
        ++waits;
    }
    const uint64_t took = p->now_ms() - start;
    EXPECT_TRUE(ticked);
    EXPECT_GE(took, 1000u);
    EXPECT_LE(took, 1300u);
    EXPECT_LT(waits, 100) << "the wait spins";
    p->release_display();
    p->release_display();
    p->present(frame.data());  // after release: nothing to draw on, and no crash
}

TEST(SdlPlatform, EventsBecomeMessagesByTheWindowProcedureRules) {
    std::string error;
    auto p = open_dummy(error);
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display: " << error;
    drain(*p);
    using T = SdlTestEvent::Type;
    SdlTestEvent text = ev(T::Text), accent = ev(T::Text), enter = ev(T::KeyDown), back = ev(T::KeyDown),
                 other_key = ev(T::KeyDown), move = ev(T::Motion), far = ev(T::Motion), left = ev(T::ButtonDown),
                 right = ev(T::ButtonDown), left_up = ev(T::ButtonUp), dbl = ev(T::ButtonDown), mid = ev(T::ButtonDown),
                 right_dbl = ev(T::ButtonDown), right_up = ev(T::ButtonUp), shift_down = ev(T::KeyDown),
                 shift_to_ctrl = ev(T::KeyUp), ctrl_up = ev(T::KeyUp);
    text.text = "ab";
    accent.text = "\xc3\xa9";  // nothing printable in ASCII
    enter.key = 13;
    back.key = 8;
    back.repeat = true;
    other_key.key = 65;
    move.x = 2 * 100 + 1;
    move.y = 2 * 50 + 1;
    far.x = 5000;
    far.y = -40;
    shift_down.shift = true;
    right.button = 3;
    shift_to_ctrl.ctrl = true;  // Shift let go while Ctrl is held
    dbl.clicks = 2;
    mid.button = 2;
    right_dbl.button = 3;
    right_dbl.clicks = 2;
    right_up.button = 3;
    for (const SdlTestEvent& e : {text, accent, enter, back, other_key, move, far, shift_down, left, right,
                                  shift_to_ctrl, left_up, ctrl_up, dbl, mid, right_dbl, right_up, ev(T::Other),
                                  ev(T::Close)})
        ASSERT_TRUE(sdl_push_test_event(*p, e));
    std::vector<Message> got = drain(*p);
    using K = MessageKind;
    const std::vector<K> kinds = {K::Character, K::Character, K::Other, K::Character, K::Character, K::Other,
                                  K::MouseMove, K::MouseMove, K::Other, K::MouseButton, K::MouseButton, K::Other,
                                  K::MouseButton, K::Other, K::DoubleClick, K::Other, K::Other, K::MouseButton,
                                  K::Other, K::Quit};
    ASSERT_EQ(got.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(got[i].kind, kinds[i]) << "message " << i;
    EXPECT_EQ(got[0].character, 'a');
    EXPECT_EQ(got[1].character, 'b');
    EXPECT_EQ(got[3].character, 13);
    EXPECT_EQ(got[4].character, 8);
    EXPECT_EQ(got[6].x, 100);
    EXPECT_EQ(got[6].y, 50);
    EXPECT_EQ(got[7].x, 319);  // outside the picture: clamped to its edge
    EXPECT_EQ(got[7].y, 0);
    EXPECT_EQ(got[9].button_flags, MOUSE_LEFT | MOUSE_SHIFT);
    EXPECT_EQ(got[10].button_flags, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_SHIFT);
    EXPECT_EQ(got[12].button_flags, MOUSE_RIGHT | MOUSE_CONTROL);
    // left pressed again (double click), middle and right pressed: the right release
    // carries the left and middle buttons still held.
    EXPECT_EQ(got[17].button_flags, MOUSE_LEFT | MOUSE_MIDDLE);
    p->release_display();
}

TEST(SdlPlatform, AMissingVideoDriverIsAOneLineReason) {
    const char* before = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    auto p = make_sdl_platform(SdlOptions{});
    std::string error;
    EXPECT_FALSE(p->open_display(error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    p->release_display();
    if (before != nullptr) ::setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else ::unsetenv("SDL_VIDEODRIVER");
}

TEST(SdlPlatform, OpenGlDrawnByTheProcessorIsToldFromAGraphicsCard) {
    EXPECT_TRUE(is_software_gl("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(is_software_gl("softpipe"));
    EXPECT_TRUE(is_software_gl("Mesa X11 Software Rasterizer"));
    EXPECT_TRUE(is_software_gl("GDI Generic"));
    EXPECT_FALSE(is_software_gl("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(is_software_gl("NVIDIA GeForce GTX 1060/PCIe/SSE2"));
    EXPECT_FALSE(is_software_gl("AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(is_software_gl(""));  // not an OpenGL renderer at all
}

TEST(SdlPlatform, TheSocketWaitWakesForDataAndOtherwiseSleepsItsTimeout) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    using Clock = std::chrono::steady_clock;
    auto t0 = Clock::now();
    wait_readable(fds[0], 60);
    const auto empty_ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
    EXPECT_GE(empty_ms, 50);
    EXPECT_LT(empty_ms, 1000);
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    t0 = Clock::now();
    wait_readable(fds[0], 5000);
    const auto ready_ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
    EXPECT_LT(ready_ms, 1000) << "data was waiting: the wait must not sleep";
    ::close(fds[0]);
    ::close(fds[1]);
}
