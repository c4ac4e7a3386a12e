// The table of settings: names, comments for a new file, and the reading and writing of values.
#include "store/settings.h"

#include <charconv>

#include "util/ascii.h"
#include "util/message_text.h"

namespace qvar {

namespace {

// A whole decimal number with an optional minus sign, within [low, high].
bool parse_int(std::string_view text, int low, int high, int& out) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc{} || ptr != end || v < low || v > high) return false;
    out = v;
    return true;
}

bool parse_yes_no(std::string_view text, bool& out) {
    for (std::string_view word : {"yes", "true", "on", "1", "no", "false", "off", "0"}) {
        if (!same_word(text, word)) continue;
        out = word == "yes" || word == "true" || word == "on" || word == "1";
        return true;
    }
    return false;
}

std::string yes_no(bool v) { return v ? "yes" : "no"; }

bool parse_fullscreen(Settings& s, std::string_view v, std::string& expected) {
    expected = "yes or no";
    return parse_yes_no(v, s.fullscreen);
}

bool parse_scale(Settings& s, std::string_view v, std::string& expected) {
    expected = "auto or a whole number from 1 to 16";
    if (!same_word(v, "auto")) return parse_int(v, 1, MAX_SCALE, s.scale);
    s.scale = 0;
    return true;
}

bool parse_aspect(Settings& s, std::string_view v, std::string& expected) {
    expected = "square or 4:3";
    if (!same_word(v, "square") && v != "4:3") return false;
    s.aspect = v == "4:3" ? Aspect::FourThree : Aspect::Square;
    return true;
}

// A window is at least the play-field's size, and no bigger than any screen made.
constexpr int MAX_WINDOW_SIDE = 16384;

bool parse_window_size(Settings& s, std::string_view v, std::string& expected) {
    expected = "auto or WIDTHxHEIGHT, at least 320x200";
    if (same_word(v, "auto")) {
        s.window_width = s.window_height = 0;
        return true;
    }
    const size_t x = v.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string_view::npos || !parse_int(v.substr(0, x), 320, MAX_WINDOW_SIDE, w) ||
        !parse_int(v.substr(x + 1), 200, MAX_WINDOW_SIDE, h))
        return false;
    s.window_width = w;
    s.window_height = h;
    return true;
}

bool parse_window_position(Settings& s, std::string_view v, std::string& expected) {
    expected = "centered or X,Y";
    if (same_word(v, "centered") || same_word(v, "centred")) {
        s.window_placed = false;
        return true;
    }
    const size_t comma = v.find(',');
    int x = 0, y = 0;
    if (comma == std::string_view::npos || !parse_int(v.substr(0, comma), -MAX_WINDOW_SIDE, MAX_WINDOW_SIDE, x) ||
        !parse_int(v.substr(comma + 1), -MAX_WINDOW_SIDE, MAX_WINDOW_SIDE, y))
        return false;
    s.window_placed = true;
    s.window_x = x;
    s.window_y = y;
    return true;
}

bool parse_pause(Settings& s, std::string_view v, std::string& expected) {
    expected = "yes or no";
    return parse_yes_no(v, s.pause_on_focus_loss);
}

bool parse_folder(Settings& s, std::string_view v, std::string&) {
    s.screenshot_folder = std::string(v);
    return true;
}

KeyNameCheck key_name_check = nullptr;

// "Space, Left Ctrl": one or more key names separated by commas.
template <GameKey KEY>
bool parse_keys(Settings& s, std::string_view v, std::string& expected) {
    expected = "one or more key names separated by commas, such as Space, Left Ctrl, P or Keypad 5";
    std::vector<std::string> names;
    for (std::string_view rest = v;;) {
        const size_t comma = rest.find(',');
        const std::string_view name = trim_blanks(rest.substr(0, comma));
        // No key's name starts with '#' or ';' (those keys go by words): written back after
        // ", " such a name would start a comment.
        if (name.empty() || name.front() == '#' || name.front() == ';') return false;
        if (key_name_check != nullptr && !key_name_check(name)) return false;
        names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    s.keys[static_cast<size_t>(KEY)] = std::move(names);
    return true;
}

template <GameKey KEY>
std::string format_keys(const Settings& s) {
    std::string text;
    for (const std::string& name : s.keys[static_cast<size_t>(KEY)]) text += (text.empty() ? "" : ", ") + name;
    return text;
}

constexpr SettingInfo SETTINGS[] = {
    {"fullscreen", "Full screen (the desktop's size) or a window: yes or no. Alt+Enter and F11 switch.",
     parse_fullscreen, [](const Settings& s) { return yes_no(s.fullscreen); }},
    {"scale",
     "The window's size when it opens, as a whole multiple of 320x200: 1 to 16, or auto\n"
     "(the size it had when the game last ended, else the largest that fits the desktop).",
     parse_scale, [](const Settings& s) { return s.scale == 0 ? std::string("auto") : std::to_string(s.scale); }},
    {"aspect",
     "The shape of the picture: square (every game pixel a square, sharp at any size) or 4:3\n"
     "(the frame at the proportions of the 4:3 screens the game was made for).",
     parse_aspect, [](const Settings& s) { return std::string(s.aspect == Aspect::Square ? "square" : "4:3"); }},
    {"window_size", "The window's size when the game last ended: WIDTHxHEIGHT, or auto. The game keeps it.",
     parse_window_size,
     [](const Settings& s) {
         if (s.window_width == 0) return std::string("auto");
         return std::to_string(s.window_width) + "x" + std::to_string(s.window_height);
     }},
    {"window_position", "Where the window was when the game last ended: X,Y, or centered. The game keeps it.",
     parse_window_position,
     [](const Settings& s) {
         if (!s.window_placed) return std::string("centered");
         return std::to_string(s.window_x) + "," + std::to_string(s.window_y);
     }},
    {"pause_on_focus_loss", "Pause a game when the window loses the focus, as P does: yes or no.", parse_pause,
     [](const Settings& s) { return yes_no(s.pause_on_focus_loss); }},
    {"screenshot_folder",
     "The folder F12 saves screenshots in. Empty: screenshots/ in the player's folder\n"
     "($XDG_DATA_HOME/qvar/screenshots). A leading ~/ stands for the home folder.",
     parse_folder, [](const Settings& s) { return s.screenshot_folder; }},
    {"turn_left",
     "The keys of the game, each action with one or more key names separated by commas\n"
     "(names as SDL gives them: Space, Left Ctrl, Return, Keypad 8, F1, A ...; Hash for #\n"
     "and Semicolon for ;). A typed character ends a pause whatever the keys are.\n"
     "Turn the ship to the left.",
     parse_keys<GameKey::Left>, format_keys<GameKey::Left>},
    {"turn_right", "Turn the ship to the right.", parse_keys<GameKey::Right>, format_keys<GameKey::Right>},
    {"thrust", "Thrust forward.", parse_keys<GameKey::Up>, format_keys<GameKey::Up>},
    {"retro", "Thrust backward, once the ship holds retro-thrusters.", parse_keys<GameKey::Down>, format_keys<GameKey::Down>},
    {"fire", "Fire the selected weapon.", parse_keys<GameKey::Space>, format_keys<GameKey::Space>},
    {"next_weapon", "Select the next weapon the ship holds supplies for.", parse_keys<GameKey::Control>, format_keys<GameKey::Control>},
    {"pause", "Pause the game.", parse_keys<GameKey::P>, format_keys<GameKey::P>},
    {"quit_game", "End the game; its score still counts.", parse_keys<GameKey::Q>, format_keys<GameKey::Q>},
};


}  // namespace

std::span<const SettingInfo> setting_infos() { return SETTINGS; }

void set_key_name_check(KeyNameCheck check) { key_name_check = check; }

const SettingInfo* find_setting(std::string_view name) {
    for (const SettingInfo& info : SETTINGS)
        if (info.name == name) return &info;
    return nullptr;
}

bool apply_setting(Settings& settings, std::string_view name, std::string_view value, std::string& error) {
    const SettingInfo* info = find_setting(name);
    if (info == nullptr) {
        error = "unknown setting '" + printable(name) + "'";
        return false;
    }
    Settings changed = settings;
    std::string expected;
    if (!info->parse(changed, value, expected)) {
        error = "bad value '" + printable(value) + "' for " + std::string(name) + ": expected " + expected;
        return false;
    }
    settings = std::move(changed);
    return true;
}

std::string setting_text(const Settings& settings, std::string_view name) {
    const SettingInfo* info = find_setting(name);
    return info != nullptr ? info->format(settings) : std::string();
}

std::vector<std::string_view> changed_settings(const Settings& before, const Settings& after) {
    std::vector<std::string_view> names;
    for (const SettingInfo& info : SETTINGS)
        if (info.format(before) != info.format(after)) names.push_back(info.name);
    return names;
}

}  // namespace qvar
