// The SDL backend's window under the dummy driver: Alt+Enter and F11 both ways, resizing, the
// mouse on the play-field at several window sizes (square and 4:3, both ways round), the
// focus lost in a game, and F12's screenshots.
#include <gtest/gtest.h>

#include <filesystem>

#include "png_reader.h"
#include "test_support.h"

using namespace qvar;

namespace {

using T = SdlTestEvent::Type;
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // unnamed fields keep their defaults

// Takes every waiting message; the characters typed, and the last mouse position.
struct Drained {
    std::string typed;
    int x = -1, y = -1;
};
Drained drain(Platform& p) {
    Drained d;
    for (Message m; p.poll_message(m);) {
        if (m.kind == MessageKind::Character) d.typed += char(m.character);
        if (m.kind == MessageKind::MouseMove) d.x = m.x, d.y = m.y;
    }
    return d;
}

// The play-field pixel the mouse reaches at window position (x, y).
std::pair<int, int> field_at(Platform& p, int x, int y) {
    EXPECT_TRUE(sdl_push_test_event(p, {.type = T::Motion, .x = x, .y = y}));
    const Drained d = drain(p);
    return {d.x, d.y};
}

// Where the middle of field pixel (fx, fy) is in a w x h window, worked out apart from the
// backend: the largest whole factor centred, or the largest 4:3 picture centred.
std::pair<int, int> window_at(bool four_three, int w, int h, int fx, int fy) {
    if (!four_three) {
        const int s = std::min(w / 320, h / 200);
        return {(w - 320 * s) / 2 + fx * s + s / 2, (h - 200 * s) / 2 + fy * s + s / 2};
    }
    const int k = std::min(w / 4, h / 3);
    return {(w - 4 * k) / 2 + int((fx + 0.5) * 4 * k / 320), (h - 3 * k) / 2 + int((fy + 0.5) * 3 * k / 200)};
}

}  // namespace

TEST(SdlWindow, TheMouseReachesThePixelShownAtEverySizeSquareAndFourThree) {
    std::array<uint8_t, 64000> frame{};
    for (bool four_three : {false, true}) {
        auto p = test::open_sdl_dummy({.scale = 2, .four_three = four_three});
        if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
        for (auto [w, h] : {std::pair{640, 480}, {1000, 700}, {333, 251}, {1920, 1080}}) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (four_three ? " 4:3" : " square"));
            sdl_resize_test_window(*p, w, h);
            drain(*p);
            p->present(frame.data());
            for (auto [fx, fy] : {std::pair{0, 0}, {319, 199}, {160, 100}, {37, 151}, {300, 12}}) {
                const auto [x, y] = window_at(four_three, w, h, fx, fy);
                EXPECT_EQ(field_at(*p, x, y), std::make_pair(fx, fy)) << "from " << x << "," << y;
            }
            EXPECT_EQ(field_at(*p, 0, h - 1), std::make_pair(0, 199));  // a corner of the bars: the nearest pixel
            EXPECT_EQ(field_at(*p, w - 1, 0), std::make_pair(319, 0));
        }
    }
}

TEST(SdlWindow, AltEnterAndF11SwitchFullScreenBothWaysAndTypeNothing) {
    std::array<uint8_t, 64000> frame{};
    auto p = test::open_sdl_dummy({.scale = 2});
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
    p->present(frame.data());
    drain(*p);
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = "Return", .alt = true}));
    EXPECT_EQ(drain(*p).typed, "");  // Alt+Enter types no Enter
    EXPECT_TRUE(sdl_window_state(*p).fullscreen);
    p->present(frame.data());
    const auto [x, y] = window_at(false, 1024, 768, 5, 7);  // on the dummy driver's desktop
    EXPECT_EQ(field_at(*p, x, y), std::make_pair(5, 7));
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = "F11"}));
    drain(*p);
    const SdlWindowState back = sdl_window_state(*p);
    EXPECT_FALSE(back.fullscreen);
    EXPECT_EQ(back.width * 10000 + back.height, 640 * 10000 + 400);  // the window it was
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = "F11"}));
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = "F11", .repeat = true}));  // held: once
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key = 13}));
    EXPECT_EQ(drain(*p).typed, "\r");  // Enter alone still types
    EXPECT_TRUE(sdl_window_state(*p).fullscreen);
    p->release_display();
    EXPECT_TRUE(sdl_window_state(*p).fullscreen);  // as it was left, for the settings file
}

TEST(SdlWindow, LosingTheFocusInAGameTapsPOnlyThereAndOnlyWhenTheSettingIsOn) {
    std::array<uint8_t, 64000> frame{};
    for (bool setting : {true, false}) {
        auto p = test::open_sdl_dummy({.scale = 2, .pause_on_focus_loss = setting});
        if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
        drain(*p);
        ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::FocusLost}));  // in the menu: nothing
        drain(*p);
        EXPECT_FALSE(p->key_down(GameKey::P));
        p->set_input_mode(InputMode::Game);
        ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::FocusLost}));
        drain(*p);
        EXPECT_EQ(p->key_down(GameKey::P), setting);  // a tap: down until the next frame
        p->present(frame.data());
        EXPECT_FALSE(p->key_down(GameKey::P));
        ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::FocusGained}));
        drain(*p);
        EXPECT_FALSE(p->key_down(GameKey::P));
    }
}

TEST(SdlWindow, F12SavesTheFramePresentedWithItsPaletteAndAspect) {
    test::TempDir dir;
    auto p = test::open_sdl_dummy({.scale = 2, .four_three = true, .screenshot_folder = dir.file("shots")});
    if (!p) GTEST_SKIP() << "SDL cannot open even the dummy display";
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i % 251);
    p->set_palette_entry(250, Rgb{1, 2, 3});
    p->present(frame.data());
    p->set_palette_entry(250, Rgb{9, 9, 9});  // after the present: not in the shot
    ASSERT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = "F12"}));
    drain(*p);
    namespace fs = std::filesystem;  // one file, named as the Screenshot test says
    const std::vector<fs::path> shots(fs::directory_iterator(dir.file("shots")), fs::directory_iterator{});
    ASSERT_EQ(shots.size(), 1u);
    const test::DecodedPng png = test::decode_png_both_ways(shots[0].string());
    EXPECT_TRUE(std::equal(png.pixels.begin(), png.pixels.end(), frame.begin()) && png.pixels.size() == 64000);
    EXPECT_EQ(png.palette[750] * 10000 + png.palette[751] * 100 + png.palette[752], 10203);
    EXPECT_EQ(png.phys_x * 1000 + png.phys_y, 6005u);
}
