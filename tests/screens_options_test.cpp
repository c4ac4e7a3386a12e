// Options screen: the gamma limits, the arrows' colours, "Back" and prefs.dat.
#include <gtest/gtest.h>

#include "gfx/palette.h"
#include "screens/options.h"
#include "screens/prefs_file.h"
#include "screens_support.h"
#include "test_support.h"

using namespace qvar;

namespace {

constexpr uint64_t HELD_FRAME = 4;  // by then the pointer is on the arrow with the button down

// Scripts: after frame 1 the pointer moves to (x, y) with the button held; after frame
// HELD_FRAME + 1 it moves to "Back"; after the next frame the button is released.
void hold_then_back(test::FrameScript& s, uint16_t x, uint16_t y) {
    s.at(1, [=](HeadlessPlatform& p) {
        p.move_mouse(x, y);
        p.set_buttons(MOUSE_LEFT);
    });
    s.at(HELD_FRAME + 1, [](HeadlessPlatform& p) { p.move_mouse(40, 80); });
    s.at(HELD_FRAME + 2, [](HeadlessPlatform& p) { p.set_buttons(0); });
}

}  // namespace

TEST(GammaStep, LimitsAreComparedInDoublePrecision) {
    EXPECT_TRUE(gamma_can_go_down(0.1f));  // 0.1f lies a shade above one tenth
    EXPECT_EQ(gamma_step_down(0.1f), 0.1f);
    EXPECT_FALSE(gamma_can_go_up(10.0f));
    EXPECT_TRUE(gamma_can_go_up(9.99f));
    EXPECT_EQ(gamma_step_up(9.95f), 10.0f);
    EXPECT_EQ(gamma_step_down(1.0f), static_cast<float>(1.0 / 1.01));
    EXPECT_EQ(gamma_step_up(1.0f), static_cast<float>(1.01));
    float g = 1.0f;
    int steps = 0;
    while (gamma_can_go_up(g)) {
        g = gamma_step_up(g);
        ++steps;
    }
    EXPECT_EQ(g, 10.0f);
    EXPECT_NEAR(steps, 232, 1);  // a full sweep from 1 to 10
}

TEST(OptionsScreen, HeldClickAtTheUpperLimitChangesNothing) {
    test::TestRig rig;
    rig.sys->gamma = 10.0f;
    build_palette(*rig.sys, 10.0f);
    const Palette before = rig.platform.palette();
    test::FrameScript script;
    hold_then_back(script, 146, 62);
    uint8_t arrow = 0;
    script.at(HELD_FRAME, [&](HeadlessPlatform& p) { arrow = p.last_frame()[60 * 320 + 145]; });
    script.install(rig.platform);
    show_options(*rig.sys);
    EXPECT_EQ(arrow, 12);
    EXPECT_EQ(rig.sys->gamma, 10.0f);
    EXPECT_EQ(rig.platform.palette(), before);
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), (std::vector<uint8_t>{0x00, 0x00, 0x20, 0x41}));
}

TEST(OptionsScreen, HeldClickAtTheLowerLimitStaysAtPointOne) {
    test::TestRig rig;
    rig.sys->gamma = 0.1f;
    test::FrameScript script;
    hold_then_back(script, 130, 62);
    std::array<uint8_t, 64000> held{};
    script.at(HELD_FRAME, [&](HeadlessPlatform& p) { held = p.last_frame(); });
    script.install(rig.platform);
    show_options(*rig.sys);
    EXPECT_EQ(held[60 * 320 + 132], 15);  // the click moved it (down and back up to the clamp)
    EXPECT_EQ(held[62 * 320 + 147], 14);  // the other arrow is not hovered
    EXPECT_TRUE(test::shows_text(held.data(), rig.sys->font, 110, 60, "0.10", 11, 3));
    EXPECT_EQ(rig.sys->gamma, 0.1f);
    EXPECT_EQ(rig.platform.palette(), compute_palette(0.1f));
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), gamma_bytes(0.1f));
    EXPECT_EQ(load_gamma(rig.sys->paths), 0.1f);
}

TEST(OptionsScreen, HeldArrowStepsOncePerFrameAndThePaletteFollows) {
    test::TestRig rig;
    test::FrameScript script;
    hold_then_back(script, 150, 69);  // the increase arrow's bottom-right corner
    std::array<uint8_t, 64000> hovered{};
    script.at(1, [&](HeadlessPlatform& p) {
        hovered = p.last_frame();
        p.move_mouse(150, 69);
        p.set_buttons(MOUSE_LEFT);
    });
    script.install(rig.platform);
    show_options(*rig.sys);
    // Frames 2 .. HELD_FRAME + 1 saw the held button on the arrow: four steps up.
    float expected = 1.0f;
    for (int i = 0; i < 4; ++i) expected = gamma_step_up(expected);
    EXPECT_EQ(rig.sys->gamma, expected);
    EXPECT_EQ(rig.platform.palette(), compute_palette(expected));
    EXPECT_EQ(hovered[60 * 320 + 132], 14);  // nothing hovered before the pointer moved
    EXPECT_TRUE(test::shows_text(hovered.data(), rig.sys->font, 30, 30, "Options Screen", 12, 4));
    EXPECT_TRUE(test::shows_text(hovered.data(), rig.sys->font, 40, 60, "Gamma Correction", 10, 2));
    EXPECT_TRUE(test::shows_text(hovered.data(), rig.sys->font, 110, 60, "1.00", 11, 3));
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), gamma_bytes(expected));
}

TEST(OptionsScreen, BackBandIgnoresXAndEndsOnlyWhenClicked) {
    test::TestRig rig;
    test::FrameScript script;
    std::array<uint8_t, 64000> hover{};
    script.at(1, [](HeadlessPlatform& p) { p.move_mouse(300, 87); });
    script.at(2, [](HeadlessPlatform& p) { p.set_buttons(MOUSE_LEFT); });  // just below the band
    script.at(4, [](HeadlessPlatform& p) { p.set_buttons(0); });
    script.at(5, [](HeadlessPlatform& p) { p.move_mouse(300, 86); });
    script.at(6, [&](HeadlessPlatform& p) {
        hover = p.last_frame();
        p.set_buttons(MOUSE_RIGHT);
    });
    script.at(7, [](HeadlessPlatform& p) { p.set_buttons(0); });
    script.install(rig.platform);
    show_options(*rig.sys);
    EXPECT_EQ(rig.platform.frames_presented(), 7u);
    EXPECT_EQ(hover[78 * 320 + 0], 2);  // the band's two lines
    EXPECT_EQ(hover[86 * 320 + 200], 2);
    EXPECT_TRUE(test::shows_text(hover.data(), rig.sys->font, 40, 80, "Back", 15, 7));
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), gamma_bytes(1.0f));  // rewritten unchanged
}

TEST(OptionsScreen, QuitWritesNothing) {
    test::TestRig rig;
    test::FrameScript script;
    hold_then_back(script, 146, 62);
    script.at(3, [](HeadlessPlatform& p) { p.request_quit(); });
    script.install(rig.platform);
    EXPECT_THROW(show_options(*rig.sys), QuitRequested);
    EXPECT_TRUE(test::read_bytes(rig.sys->paths.user("prefs.dat")).empty());

    // A quit that arrives with the click on "Back" still leaves prefs.dat alone.
    test::TestRig rig2;
    test::FrameScript script2;
    script2.at(1, [](HeadlessPlatform& p) {
        p.move_mouse(40, 80);
        p.set_buttons(MOUSE_LEFT);
    });
    script2.at(2, [](HeadlessPlatform& p) {
        p.set_buttons(0);
        p.request_quit();
    });
    script2.install(rig2.platform);
    EXPECT_THROW(show_options(*rig2.sys), QuitRequested);
    EXPECT_TRUE(test::read_bytes(rig2.sys->paths.user("prefs.dat")).empty());
}
