// The gamepad: its translation on its own (the pointer's speed and dead zone, the letters'
// cycle in the name entry, buttons held across a change of mode), then from the menu to the
// name entry through SDL's GameController API with a virtual pad under the dummy video
// driver, and rebound keys: whatever the device, the game sees key states, pointer moves and
// typed characters. Checked through the game's trace and files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>

#include "app/main_cycle.h"
#include "game_fixture.h"
#include "platform/pad_input.h"
#include "store/high_score_file.h"

using namespace qvar;

namespace {

using T = SdlTestEvent::Type;
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // unnamed fields keep their defaults

// The characters the pad typed, Backspace as '<', Enter as '|'.
std::string typed(PadInput& pad) {
    std::string s;
    for (Message m; pad_next_message(pad, m);)
        if (m.kind == MessageKind::Character) s += m.character == 8 ? '<' : m.character == 13 ? '|' : char(m.character);
    return s;
}

// Where the pointer is after the stick is held at `x` for a second, from the middle.
int pointer_after_a_second(int16_t x) {
    PadInput pad;
    pad_saw_message(pad, Message{.kind = MessageKind::MouseMove, .x = 100, .y = 100});
    pad_tick(pad, 1000);
    pad_axis(pad, PadAxis::LeftX, x, 1000);
    for (uint64_t t = 1010; t <= 2000; t += 10) pad_tick(pad, t);
    int last = 100;
    for (Message m; pad_next_message(pad, m);)
        if (m.kind == MessageKind::MouseMove) last = m.x;
    return last;
}

void tap(PadButton button) {
    sdl_test_pad_button(button, true);
    sdl_test_pad_button(button, false);
}

// What the pad does in each frame of the game, counted from the game's first frame.
struct GamePlan {
    int frame = 0;
    int veils = 0;  // frames showing the pause
};
constexpr int BACK_HELD_AT = 90;

// The stick's push that moves the pointer by `distance`: further for a longer way, and
// always past the dead zone.
int16_t push(int distance) {
    const int strength = std::clamp(std::abs(distance) * 2000, PAD_DEAD_ZONE + 2000, 32767);
    return static_cast<int16_t>(distance < 0 ? -strength : strength);
}

// A number of the trace's line `n` (a game frame, from 0).
double trace_field(const std::string& trace, int n, const std::string& name) {
    size_t at = 0;
    for (int i = 0; i < n && at != std::string::npos; ++i) at = trace.find('\n', at + 1);
    at = at == std::string::npos ? at : trace.find("\"" + name + "\":", at);
    return at == std::string::npos ? -1.0 : std::atof(trace.c_str() + at + name.size() + 3);
}

void play_game_frame(GamePlan& g, const uint8_t* pixels) {
    ++g.frame;
    const bool veiled = test::count_pixels(*reinterpret_cast<const test::Pixels*>(pixels), 20) > 5000;
    if (veiled) {
        ++g.veils;
        tap(PadButton::Start);  // Start again ends the pause
        return;
    }
    if (g.frame == 2) sdl_test_pad_axis(PadAxis::LeftX, 30000);  // turn right ...
    if (g.frame == 30) sdl_test_pad_axis(PadAxis::LeftX, 0);
    if (g.frame == 31) sdl_test_pad_button(PadButton::A, true);  // ... and fire
    if (g.frame == 33) sdl_test_pad_button(PadButton::A, false);
    if (g.frame == 40) tap(PadButton::Start);  // pause
    if (g.frame == 60) sdl_test_pad_button(PadButton::Back, true);
    if (g.frame == 65) sdl_test_pad_button(PadButton::Back, false);  // too short: the game goes on
    if (g.frame == BACK_HELD_AT) sdl_test_pad_button(PadButton::Back, true);
}

}  // namespace

TEST(Pad, ThePointerRestsInTheDeadZoneAndMovesFasterTheFurtherTheStickIsPushed) {
    EXPECT_EQ(pointer_after_a_second(PAD_DEAD_ZONE - 1), 100);
    const int slow = pointer_after_a_second(12000), middle = pointer_after_a_second(20000);
    EXPECT_GT(slow, 100 + 20);
    EXPECT_GT(middle, slow);
    EXPECT_EQ(pointer_after_a_second(32767), 319);  // all the way: across the field within the second
    EXPECT_LT(pointer_after_a_second(-20000), 100);
}

TEST(Pad, NameEntryLettersCycleThroughLettersDigitsAndSpace) {
    PadInput pad;
    pad_set_mode(pad, InputMode::Text);
    pad_button(pad, PadButton::Down, true, 10);  // the first letter starts at a
    pad_button(pad, PadButton::Down, false, 20);
    pad_button(pad, PadButton::Down, true, 30);  // down from a: space, the last of the cycle
    pad_button(pad, PadButton::Down, false, 40);
    pad_button(pad, PadButton::Up, true, 50);  // up from space: a again; held, it repeats
    for (uint64_t t = 60; t <= 50 + LETTER_REPEAT_DELAY_MS + LETTER_REPEAT_MS; t += 10) pad_tick(pad, t);
    pad_button(pad, PadButton::Up, false, 600);
    pad_button(pad, PadButton::A, true, 610);  // the next letter
    pad_button(pad, PadButton::B, true, 620);  // deleted again
    pad_button(pad, PadButton::Start, true, 630);
    EXPECT_EQ(typed(pad), "a< <a<b<ca<|");
    pad_saw_message(pad, Message{.kind = MessageKind::Character, .character = 'Z'});  // the keyboard types too
    pad_button(pad, PadButton::Up, true, 700);
    EXPECT_EQ(typed(pad), "<0");
}

TEST(Pad, AButtonHeldAcrossAChangeOfModeCountsOnlyOnceLetGoAndPressedAgain) {
    PadInput pad;
    pad_button(pad, PadButton::A, true, 10);  // clicks Start in the menu
    pad_set_mode(pad, InputMode::Game);
    EXPECT_FALSE(pad_key_down(pad, GameKey::Space));
    pad_button(pad, PadButton::A, false, 20);  // the click's button still comes up
    Message m;
    int ups = 0;
    while (pad_next_message(pad, m)) ups += m.kind == MessageKind::MouseButton && m.button_flags == 0;
    EXPECT_EQ(ups, 1);
    pad_button(pad, PadButton::A, true, 30);
    pad_button(pad, PadButton::A, false, 35);  // a tap within one frame
    EXPECT_TRUE(pad_key_down(pad, GameKey::Space));
    pad_frame_shown(pad);
    EXPECT_FALSE(pad_key_down(pad, GameKey::Space));
    pad_axis(pad, PadAxis::LeftX, 20000, 40);  // the stick turns (left and the dead zone: SdlPad)
    EXPECT_TRUE(pad_key_down(pad, GameKey::Right));
}

TEST(SdlPad, FromTheMenuThroughAGameToTheNameEntry) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    test::TempDir data, user;
    test::write_test_data_files(data.path());
    auto sdl = make_sdl_platform(SdlOptions{});
    ASSERT_TRUE(sdl_attach_test_pad()) << "SDL cannot attach a virtual game controller";
    GamePlan game;
    int name_step = 0;
    const PadButton name_taps[] = {PadButton::Up, PadButton::A, PadButton::B, PadButton::A, PadButton::Up, PadButton::Start};
    test::WatchedPlatform platform(*sdl);
    System sys{platform};
    platform.after_present = [&](Platform&, const uint8_t* pixels) {
        switch (platform.mode) {
            case InputMode::Pointer: {  // the stick takes the pointer to Start (or Exit, the second time)
                const int want_y = game.frame > 0 ? 157 : 82, dy = want_y - sys.input.mouse_y, dx = 60 - sys.input.mouse_x;
                const bool there = std::abs(dx) < 10 && std::abs(dy) < 3;
                sdl_test_pad_axis(PadAxis::LeftX, there ? 0 : push(dx));
                sdl_test_pad_axis(PadAxis::LeftY, there ? 0 : push(dy));
                if (there) tap(PadButton::A);
                break;
            }
            case InputMode::Game: play_game_frame(game, pixels); break;
            case InputMode::Text:
                if (name_step < int(std::size(name_taps))) tap(name_taps[name_step++]);
                break;
            case InputMode::PressAnyKey:
                sdl_test_pad_button(PadButton::Back, false);
                if (name_step == int(std::size(name_taps))) tap(PadButton::A), ++name_step;  // leaves the high scores
                break;
        }
    };
    sys.paths = {data.path(), user.path()};
    sys.trace_path = user.file("trace.jsonl");
    EXPECT_EQ(game_main(sys), 0);  // Exit, clicked with the pad in the menu after the game
    sdl_detach_test_pad();

    const std::string trace = test::read_text(sys.trace_path);
    const int frames = int(std::count(trace.begin(), trace.end(), '\n'));  // a trace line a frame
    EXPECT_GT(trace_field(trace, 28, "ship_angle"), 0.5);  // turned right by the stick
    EXPECT_EQ(trace_field(trace, 40, "ship_angle"), trace_field(trace, 29, "ship_angle"));  // not once let go
    double shots = 0;
    for (int i = 30; i < 40; ++i) shots = std::max(shots, trace_field(trace, i, "shots"));
    EXPECT_GT(shots, 0);  // A fired
    EXPECT_EQ(game.veils, 1);  // Start paused once, and Start again went on
    // Back tapped at frame 60 did nothing; held from frame 90 it ended the game a second later.
    // The second is real time, so a loaded machine shows fewer frames in it, never more.
    EXPECT_GE(frames, BACK_HELD_AT + 20);
    EXPECT_LE(frames, BACK_HELD_AT + 130);
    const HighScoreTable table = read_high_scores(sys.paths);
    EXPECT_EQ(name_text(table.names[0]), "ab");  // up: a; A: aa; B: a; A: aa; up: ab; Start
}

TEST(SdlPad, APadPulledOutLetsGoOfWhatItHeld) {
    auto p = test::open_sdl_dummy({});
    ASSERT_TRUE(p);
    ASSERT_TRUE(sdl_attach_test_pad());
    p->set_input_mode(InputMode::Game);
    std::array<uint8_t, 64000> frame{};
    auto settle = [&] { test::drop_messages(*p), p->present(frame.data()); };
    test::drop_messages(*p);  // the pad is announced and opened
    sdl_test_pad_axis(PadAxis::LeftX, -20000);
    settle();
    EXPECT_TRUE(p->key_down(GameKey::Left));
    sdl_test_pad_axis(PadAxis::LeftX, -PAD_DEAD_ZONE + 100);  // within the dead zone
    settle();
    EXPECT_FALSE(p->key_down(GameKey::Left));
    sdl_test_pad_button(PadButton::RightShoulder, true);
    test::drop_messages(*p);
    sdl_detach_test_pad();
    settle();
    EXPECT_FALSE(p->key_down(GameKey::Control));
    ASSERT_TRUE(sdl_attach_test_pad());  // plugged in again: it works again
    test::drop_messages(*p);
    sdl_test_pad_button(PadButton::X, true);
    settle();
    EXPECT_TRUE(p->key_down(GameKey::Control));
    sdl_detach_test_pad();
    p->release_display();
}

TEST(SdlKeys, ARemappedKeyDrivesItsActionAndTheOldKeyNoLonger) {
    SdlOptions options;
    options.keys[size_t(GameKey::Space)] = {"X", "Keypad 0"};
    options.keys[size_t(GameKey::Q)] = {"Warp drive"};  // unknown: the default Q stays
    auto p = test::open_sdl_dummy(options);
    ASSERT_TRUE(p);
    std::array<uint8_t, 64000> frame{};
    auto press = [&](const char* key, GameKey action) {
        p->present(frame.data());
        EXPECT_TRUE(sdl_push_test_event(*p, {.type = T::KeyDown, .key_name = key}));
        EXPECT_TRUE(sdl_push_test_event(*p, {.type = T::KeyUp, .key_name = key}));
        test::drop_messages(*p);
        return p->key_down(action);
    };
    EXPECT_TRUE(press("X", GameKey::Space));
    EXPECT_TRUE(press("Keypad 0", GameKey::Space));
    EXPECT_FALSE(press("Space", GameKey::Space));
    EXPECT_TRUE(press("Q", GameKey::Q));
    EXPECT_TRUE(press("Left Ctrl", GameKey::Control));  // untouched bindings keep their keys
    p->release_display();
}
