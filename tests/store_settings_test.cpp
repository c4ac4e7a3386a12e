// The settings file: a first run's file, the round trip, every faulty line reported with its
// number, the command line's overrides and the atomic save of what changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/run_settings.h"
#include "store/settings_file.h"
#include "store/settings_text.h"
#include "test_support.h"

using namespace qvar;

namespace {

using test::read_text;
using test::write_text;

// Every setting away from its default.
Settings unusual_settings() {
    Settings s{.fullscreen = true, .scale = 16, .aspect = Aspect::FourThree, .window_width = 1000, .window_height = 700,
               .window_placed = true, .window_x = -20, .window_y = 35, .pause_on_focus_loss = false,
               .screenshot_folder = "~/Pictures/qvar shots"};
    for (auto& keys : s.keys) keys = {"Keypad " + std::to_string(&keys - s.keys.data()), "Hash"};
    return s;
}

}  // namespace

TEST(Settings, AFirstRunWritesEveryDefaultWithItsCommentAndReadsItBack) {
    test::TempDir dir;
    const std::string path = dir.file("config/qvar/qvar.conf");
    std::vector<std::string> notes;
    SettingsFile file = load_settings_file(path, true, notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(file.usable);
    const std::string text = read_text(path);
    EXPECT_EQ(text, default_settings_text());
    EXPECT_NE(read_text(std::string(QVAR_SOURCE_DIR) + "/README.md").find("```\n" + text + "```\n"), std::string::npos)
        << "the README's \"Settings\" shows a first run's file";
    std::vector<SettingsProblem> problems;
    const Settings read = parse_settings_text(text, unusual_settings(), problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(changed_settings(read, Settings{}).empty());
    for (const SettingInfo& info : setting_infos()) {  // a comment line right above each setting
        const size_t at = text.find("\n" + std::string(info.name) + " =");
        ASSERT_NE(at, std::string::npos) << info.name;
        EXPECT_EQ(text[text.rfind('\n', at - 1) + 1], '#') << info.name;
    }
    load_settings_file(dir.file("absent.conf"), false, notes);  // a headless run writes nothing
    EXPECT_FALSE(std::filesystem::exists(dir.file("absent.conf")));
    EXPECT_EQ(notes, (std::vector<std::string>{dir.file("absent.conf") + ": no such settings file; the defaults are used"}));
}

TEST(Settings, EverySettingSurvivesTheRoundTripThroughTheFile) {
    const Settings wanted = unusual_settings();
    std::vector<std::pair<std::string, std::string>> changes;
    for (std::string_view name : changed_settings(Settings{}, wanted))
        changes.emplace_back(std::string(name), setting_text(wanted, name));
    EXPECT_EQ(changes.size(), setting_infos().size());
    std::vector<SettingsProblem> problems;
    const Settings read = parse_settings_text(updated_settings_text(default_settings_text(), changes), Settings{}, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(changed_settings(read, wanted).empty());
    // Spellings a player may use: upper case names, other yes/no words, blanks, a comment after a blank.
    const Settings loose = parse_settings_text("  Fullscreen=ON\nscale = auto # as big as fits\r\npause_on_focus_loss: false\n",
                                               wanted, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(loose.fullscreen);
    EXPECT_EQ(loose.scale, 0);
    EXPECT_FALSE(loose.pause_on_focus_loss);
}

TEST(Settings, EveryFaultyLineIsReportedWithItsNumberAndTheSettingKeepsItsValue) {
    // Line 2 is good; then out of range, unknown, no value, a section, a bad value, too small, a
    // bad position, a zero byte, too long, a blank line, and no newline at the end.
    const std::string text = "# comment\nscale = 3\nscale = 0\nzoom = 2\nfullscreen\n[window]\naspect = 16:9\n"
                             "window_size = 100x100\nwindow_position = 1,2,3\nfullscreen = yes" + std::string(1, '\0') +
                             "\nscreenshot_folder = " + std::string(300, 'x') + "\n\npause_on_focus_loss = maybe";
    std::vector<SettingsProblem> problems;
    const Settings s = parse_settings_text(text, Settings{}, problems);
    std::vector<int> lines;
    for (const SettingsProblem& p : problems) lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 13}));
    ASSERT_EQ(problems.size(), 10u);
    EXPECT_EQ(problems[0].message, "bad value '0' for scale: expected auto or a whole number from 1 to 16");
    EXPECT_EQ(problems[1].message, "unknown setting 'zoom'");
    EXPECT_EQ(problems[2].message, "expected NAME = VALUE");
    EXPECT_EQ(s.scale, 3);
    EXPECT_TRUE(changed_settings(s, [] { Settings d; d.scale = 3; return d; }()).empty());
    // The whole file's problems reach stderr as PATH:LINE: ... (the documentation's example);
    // garbage still gives settings; a folder or an oversized file (refused, never cut) is unusable.
    test::TempDir dir;
    write_text(dir.file("q.conf"), "\x89PNG\r\n\x1a\n\x01\x02scale = 2\n");
    std::filesystem::create_directory(dir.file("folder.conf"));
    write_text(dir.file("big.conf"), "scale = 2\n" + std::string(1 << 20, '#'));
    const struct { const char* name; bool usable; size_t notes; const char* last; } files[] = {
        {"q.conf", true, 3, "q.conf:3: the line holds bytes that are not text"},
        {"folder.conf", false, 1, "cannot read the settings file (is a folder, not a file)"},
        {"big.conf", false, 1, "is larger than 1048576 bytes"}};
    for (const auto& f : files) {
        std::vector<std::string> notes;
        const SettingsFile file = load_settings_file(dir.file(f.name), true, notes);
        EXPECT_EQ(file.usable, f.usable) << f.name;
        EXPECT_EQ(file.settings.scale, 0) << f.name;
        ASSERT_EQ(notes.size(), f.notes) << f.name;
        EXPECT_NE(notes.back().find(f.last), std::string::npos) << notes.back();
    }
}

TEST(Settings, KeyBindingsTakeSdlKeyNamesAndABadOneKeepsTheDefault) {
    set_key_name_check(sdl_key_name_known);
    std::vector<SettingsProblem> problems;
    const Settings s = parse_settings_text("fire = left ctrl ,X\nthrust = Up, Warp\nretro =\npause = ,\nquit_game = Escape\n"
                                           "next_weapon = Semicolon\n",
                                           Settings{}, problems);
    set_key_name_check(nullptr);
    EXPECT_EQ(s.keys[size_t(GameKey::Space)], (std::vector<std::string>{"left ctrl", "X"}));
    EXPECT_EQ(s.keys[size_t(GameKey::Q)], (std::vector<std::string>{"Escape"}));
    EXPECT_EQ(s.keys[size_t(GameKey::Control)], (std::vector<std::string>{"Semicolon"}));
    for (GameKey kept : {GameKey::Up, GameKey::Down, GameKey::P})
        EXPECT_EQ(s.keys[size_t(kept)], Settings{}.keys[size_t(kept)]);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].line * 1000 + problems[1].line * 10 + problems[2].line, 2034);
    EXPECT_NE(problems[0].message.find("bad value 'Up, Warp' for thrust: expected one or more key names"), std::string::npos);
}

TEST(Settings, TheCommandLineOverridesForTheRunAndOnlyPlayersChangesAreSaved) {
    test::TempDir dir;
    const std::string path = dir.file("qvar.conf");
    write_text(path, "# mine\nscale = 2\nzoom = 9\nfullscreen = no # kept by the game\r\nfullscreen = no\n");
    CommandLine options;
    options.config_path = path;
    options.overrides = {{"scale", "5"}, {"aspect", "4:3"}};
    RunSettings run = load_run_settings(options, true);
    EXPECT_EQ(std::make_tuple(run.file.settings.scale, run.at_start.scale, run.at_start.aspect),
              std::make_tuple(2, 5, Aspect::FourThree));
    save_run_settings(run, run.at_start);  // nothing changed while playing: nothing written
    EXPECT_EQ(read_text(path), "# mine\nscale = 2\nzoom = 9\nfullscreen = no # kept by the game\r\nfullscreen = no\n");
    Settings at_end = run.at_start;  // the player went full screen and resized the window
    at_end.fullscreen = true;
    at_end.window_width = 960;
    at_end.window_height = 600;
    write_text(path, read_text(path) + "# added while playing\n");  // edits made meanwhile are kept
    save_run_settings(run, at_end);  // the last line that sets a setting gets its value
    EXPECT_EQ(read_text(path),
              "# mine\nscale = 2\nzoom = 9\nfullscreen = no # kept by the game\r\nfullscreen = yes\n# added while playing\n"
              "window_size = 960x600\n");
    // (written whole through a temporary file: WriteFileAtomic)
    // A save that cannot be written says why and leaves the file as it was.
    write_text(dir.file("plain"), "not a folder");
    run.file.path = dir.file("plain/qvar.conf");
    std::string reason;
    EXPECT_FALSE(save_settings_changes(run.file, Settings{}, at_end, reason));
    EXPECT_NE(reason.find("cannot create the folder"), std::string::npos) << reason;
    EXPECT_EQ(read_text(dir.file("plain")), "not a folder");
}
