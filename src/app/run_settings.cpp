// Loading the run's settings, applying the command line to them, and saving at the end.
#include "app/run_settings.h"

#include <cstdio>
#include <filesystem>

namespace qvar {

RunSettings load_run_settings(const CommandLine& options, bool window) {
    RunSettings run;
    std::vector<std::string> notes;
    if (window || !options.config_path.empty()) {
        const std::string path = options.config_path.empty() ? default_settings_path() : options.config_path;
        run.file = load_settings_file(path, window, notes);
        if (!window) run.file.usable = false;  // read, never written
    }
    for (const std::string& note : notes) std::fprintf(stderr, "qvar: %s\n", note.c_str());
    run.at_start = run.file.settings;
    std::string error;
    for (const auto& [name, value] : options.overrides)
        if (!apply_setting(run.at_start, name, value, error)) std::fprintf(stderr, "qvar: %s\n", error.c_str());
    return run;
}

void save_run_settings(RunSettings& run, const Settings& at_end) {
    std::string reason;
    if (!save_settings_changes(run.file, run.at_start, at_end, reason))
        std::fprintf(stderr, "qvar: %s: cannot save the settings (%s)\n", run.file.path.c_str(), reason.c_str());
}

std::string screenshot_folder(const Settings& settings, const std::string& user_dir) {
    if (!settings.screenshot_folder.empty()) return expand_home(settings.screenshot_folder);
    return (std::filesystem::path(user_dir) / "screenshots").string();
}

}  // namespace qvar
