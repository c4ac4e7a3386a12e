// The player's settings (qvar.conf): what each one holds, its default, and its text form.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/default_keys.h"

namespace qvar {

enum class Aspect : uint8_t {
    Square,     // every game pixel a square, as the game draws
    FourThree,  // the frame stretched to the 4:3 screens it was made for
};

inline constexpr int MAX_SCALE = 16;

struct Settings {
    bool fullscreen = false;
    int scale = 0;  // 1 .. MAX_SCALE; 0: auto
    Aspect aspect = Aspect::Square;
    int window_width = 0;  // the window's last size; 0 x 0: not known yet
    int window_height = 0;
    bool window_placed = false;  // false: centred on the desktop
    int window_x = 0;
    int window_y = 0;
    bool pause_on_focus_loss = true;
    std::string screenshot_folder;  // empty: screenshots/ in the player's folder
    KeyNames keys = default_key_names();  // the keys of each game action, by SDL key name
};

// Whether a keyboard backend knows a key name. The program installs the SDL backend's check
// before it reads any settings; until then every name is taken.
using KeyNameCheck = bool (*)(std::string_view name);
void set_key_name_check(KeyNameCheck check);

// One setting: its name in the file, the comment a new file gives it, and its text form.
struct SettingInfo {
    std::string_view name;
    std::string_view comment;  // the lines above the setting in a new file, without "# "
    // Reads `value` into `settings`; false leaves them as they were and says in `expected`
    // what the value should have been.
    bool (*parse)(Settings& settings, std::string_view value, std::string& expected);
    std::string (*format)(const Settings& settings);
};

// Every setting, in the order a new file lists them.
std::span<const SettingInfo> setting_infos();

// The setting called `name` (exact, lower case); null when there is none.
const SettingInfo* find_setting(std::string_view name);

// Sets one setting from its text. False, with `error` saying what went wrong and what was
// expected ("unknown setting 'x'", "bad value 'y' for scale: expected ..."), leaves it as it was.
bool apply_setting(Settings& settings, std::string_view name, std::string_view value, std::string& error);

// The text a setting's value is written as.
std::string setting_text(const Settings& settings, std::string_view name);

// The names of the settings whose text differs between `before` and `after`, in file order.
std::vector<std::string_view> changed_settings(const Settings& before, const Settings& after);

}  // namespace qvar
