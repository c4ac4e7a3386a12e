// The settings of one run: the settings file, with the command line's changes for this run.
#pragma once

#include <string>

#include "app/command_line.h"
#include "store/settings_file.h"

namespace qvar {

struct RunSettings {
    SettingsFile file;
    Settings at_start;  // the file's settings with the command line's overrides applied
};

// Reads the settings file that --config names, or the one in its usual place. A windowed run
// (`window`) writes a missing file with the defaults; a headless run reads only a file that
// --config names and never writes one, so that scripted runs do not depend on the player's
// settings. Every problem is one line on stderr; the run always gets usable settings.
RunSettings load_run_settings(const CommandLine& options, bool window);

// Keeps in the settings file what the player changed while playing (full screen, the window's
// size and place): the settings where `at_end` differs from the run's start. A failed write
// is one line on stderr.
void save_run_settings(RunSettings& run, const Settings& at_end);

// The folder screenshots go to: the setting, else screenshots/ in the player's folder.
std::string screenshot_folder(const Settings& settings, const std::string& user_dir);

}  // namespace qvar
