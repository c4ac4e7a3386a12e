// The settings file on disk: where it is, reading it (a first run writes it), saving changes.
#pragma once

#include <string>
#include <vector>

#include "store/settings.h"

namespace qvar {

// $XDG_CONFIG_HOME/qvar/qvar.conf, else $HOME/.config/qvar/qvar.conf, else ./qvar.conf.
std::string default_settings_path();

struct SettingsFile {
    std::string path;
    std::string text;     // the file as read, or as a first run wrote it
    bool usable = false;  // read or written: changes may be saved into it
    Settings settings;    // what it says; the default for anything it does not say usably
};

// Reads the settings file at `path`. When it does not exist and `create` is set, its folder
// and the file are created with every setting at its default (without `create`, a note). Each problem (a faulty line,
// an unreadable file, a failed first write) adds one line to `notes`, naming the file and,
// for a line, its number: "PATH:LINE: bad value 'x' for scale: expected ...". Whatever goes
// wrong, the result holds usable settings.
SettingsFile load_settings_file(const std::string& path, bool create, std::vector<std::string>& notes);

// Writes into the file, atomically, the settings whose values differ between `before` and
// `after`, leaving every other line as it was. Nothing is written when none differs or the
// file was not usable. False with `reason` when the write failed.
bool save_settings_changes(SettingsFile& file, const Settings& before, const Settings& after, std::string& reason);

// A folder setting as a path: a leading "~/" becomes the home folder.
std::string expand_home(const std::string& folder);

}  // namespace qvar
