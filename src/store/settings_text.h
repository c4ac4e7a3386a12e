// The settings file's text: reading it (through libinih), a new file's text, and the text
// after the game changed some settings, with everything the player wrote kept.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/settings.h"

namespace qvar {

// A line of the file that could not be used, and why.
struct SettingsProblem {
    int line = 0;  // from 1
    std::string message;
};

// Reads settings from the text of a file, starting from `settings` (normally the defaults).
// Lines are NAME = VALUE; blank lines, lines starting with # or ; and the rest of a line after
// a blank and # are comments. Every line that cannot be used is listed in `problems`, and
// the setting it meant keeps its value. Any bytes are safe input.
Settings parse_settings_text(std::string_view text, Settings settings, std::vector<SettingsProblem>& problems);

// The file a first run writes: every setting at its default, each with a comment above it.
std::string default_settings_text();

// `text` with the settings in `changes` (name, value) set: the last line that sets each one
// gets the new value, and a setting the text does not have is added at its end. Every other
// line, comments and faulty lines included, stays as it is.
std::string updated_settings_text(std::string_view text,
                                  const std::vector<std::pair<std::string, std::string>>& changes);

}  // namespace qvar
