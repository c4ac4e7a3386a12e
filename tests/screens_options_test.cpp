// Options screen: the gamma limits, a held arrow, the "Back" band, prefs.dat and a quit.
#include <gtest/gtest.h>

#include "gfx/palette.h"
#include "screens/options.h"
#include "store/prefs_file.h"
#include "screens_support.h"

using namespace qvar;

namespace {

// Presses the left button at (x, y) after frame 1. Still held, the pointer goes just below the
// "Back" band after frame 5 (which ends nothing) and onto its bottom line far right after
// frame 6; the button is let go after frame 7. With `quit_after`, the button is let go and a
// quit asked for after that frame instead. Returns frame 4, shown while the button was held.
test::Frame hold_then_back(test::ScreenRig& rig, uint16_t x, uint16_t y, uint64_t quit_after = 0) {
    test::Frame held{};
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 1) { p.move_mouse(x, y); p.set_buttons(MOUSE_LEFT); }
        if (frame == 4) held = p.last_frame();
        if (frame == 5 || frame == 6) p.move_mouse(300, frame == 5 ? 87 : 86);
        if (frame == 7 || frame == quit_after) p.set_buttons(0);
        if (frame == quit_after) p.request_quit();
    });
    show_options(*rig.sys);
    return held;
}

}  // namespace

// The screen's runs cover the limits reached by a held arrow; these are the clamps from
// just inside them and the file's byte order.
TEST(GammaStep, ClampsAtTheLimitsAndStoresLittleEndianFloats) {
    EXPECT_EQ(gamma_step_up(9.95f), 10.0f);
    EXPECT_EQ(gamma_step_down(0.1005f), 0.1f);
    EXPECT_EQ(gamma_bytes(10.0f), (std::vector<uint8_t>{0x00, 0x00, 0x20, 0x41}));
    EXPECT_EQ(gamma_bytes(0.1f), (std::vector<uint8_t>{0xcd, 0xcc, 0xcc, 0x3d}));
}

TEST(OptionsScreen, HeldArrowStepsOncePerFrameWithinTheLimitsAndBackSaves) {
    // The button is held at (x, y); `end` follows frames 2 .. 5 seeing it; the held arrow's
    // `chevron` pixel is 15 when it moved gamma, 12 when it could not.
    struct Case { float start; uint16_t x, y; float end; const char* shown; size_t chevron; uint8_t colour; };
    const Case cases[] = {
        {1.0f, 150, 69, 1.040604f, "1.02", 60 * 320 + 145, 15},  // the arrow box's bottom-right corner
        {10.0f, 146, 62, 10.0f, "10.00", 60 * 320 + 145, 12},    // at the top nothing changes
        {0.1f, 130, 62, 0.1f, "0.10", 60 * 320 + 132, 15},       // steps down and back to the clamp
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        test::ScreenRig rig;
        rig.sys->gamma = c.start;
        build_palette(*rig.sys, c.start);
        const test::Frame held = hold_then_back(rig, c.x, c.y);
        EXPECT_FLOAT_EQ(rig.sys->gamma, c.end);
        EXPECT_EQ(held[c.chevron], c.colour);
        EXPECT_TRUE(test::shows_text(held.data(), rig.sys->font, 110, 60, c.shown, 11, 3));
        EXPECT_EQ(rig.platform.palette(), compute_palette(rig.sys->gamma));
        EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), gamma_bytes(rig.sys->gamma));
        // "Back" ends the screen in frame 7, lit with its band across the whole width.
        const auto& last = rig.platform.last_frame();
        EXPECT_EQ(std::make_tuple(rig.platform.frames_presented(), last[78 * 320 + 0], last[86 * 320 + 200]),
                  std::make_tuple(uint64_t{7}, uint8_t{2}, uint8_t{2}));
        EXPECT_TRUE(test::shows_text(last.data(), rig.sys->font, 40, 80, "Back", 15, 7));
    }
}

TEST(OptionsScreen, QuitWritesNothing) {
    // A quit while an arrow has moved gamma, and one arriving with the release on "Back".
    const std::array<uint16_t, 3> cases[] = {{146, 62, 3}, {40, 80, 2}};
    for (const auto& [x, y, quit_after] : cases) {
        test::ScreenRig rig;
        EXPECT_THROW(hold_then_back(rig, x, y, quit_after), QuitRequested);
        EXPECT_TRUE(test::read_bytes(rig.sys->paths.user("prefs.dat")).empty()) << x;
    }
}
