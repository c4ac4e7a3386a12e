// The qvar executable: parses the command line, picks a backend and runs the game.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

#include "app/command_line.h"
#include "app/program_runs.h"
#include "app/recorded_runs.h"
#include "app/run_settings.h"
#include "platform/sdl_platform.h"
#include "store/settings.h"
#include "util/files.h"

namespace {

// The window as the settings say, with the command line's changes for this run.
qvar::SdlOptions window_options(const qvar::RunSettings& run, const qvar::CommandLine& options) {
    const qvar::Settings& s = run.at_start;
    qvar::SdlOptions sdl;
    sdl.fullscreen = s.fullscreen;
    sdl.scale = s.scale;
    sdl.four_three = s.aspect == qvar::Aspect::FourThree;
    sdl.window_width = s.window_width;
    sdl.window_height = s.window_height;
    sdl.window_placed = s.window_placed;
    sdl.window_x = s.window_x;
    sdl.window_y = s.window_y;
    sdl.pause_on_focus_loss = s.pause_on_focus_loss;
    const std::string user_dir = options.user_dir.empty() ? qvar::default_user_dir() : options.user_dir;
    sdl.screenshot_folder = qvar::screenshot_folder(s, user_dir);
    sdl.keys = s.keys;
    // Mappings for unusual pads, in SDL's gamecontrollerdb.txt format, beside the settings.
    sdl.controller_mappings = (std::filesystem::path(run.file.path).parent_path() / "gamecontrollerdb.txt").string();
    return sdl;
}

// The settings at the end of the run: the window as the player left it.
qvar::Settings settings_at_end(const qvar::Settings& at_start, const qvar::SdlWindowState& window) {
    qvar::Settings end = at_start;
    if (!window.known) return end;
    end.fullscreen = window.fullscreen;
    end.window_width = window.width;
    end.window_height = window.height;
    end.window_placed = true;
    end.window_x = window.x;
    end.window_y = window.y;
    return end;
}

int run(const qvar::CommandLine& options) {
    if (options.verify_scores) return qvar::verify_scores(options);
    if (!options.timedemo_path.empty()) return qvar::run_timedemo(options);
    if (options.headless) return qvar::run_headless(options);
    qvar::RunSettings settings = qvar::load_run_settings(options, true);
    std::unique_ptr<qvar::Platform> platform = qvar::make_sdl_platform(window_options(settings, options));
    const int status = qvar::run_windowed(*platform, options);
    qvar::save_run_settings(settings, settings_at_end(settings.at_start, qvar::sdl_window_state(*platform)));
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    qvar::set_key_name_check(qvar::sdl_key_name_known);  // before any setting is read, --set included
    const qvar::ParsedCommandLine parsed = qvar::parse_command_line(argc, argv);
    switch (parsed.action) {
        case qvar::CommandAction::Help: std::fputs(qvar::usage_text().c_str(), stdout); return 0;
        case qvar::CommandAction::Version: std::printf("qvar %s\n", qvar::QVAR_VERSION); return 0;
        case qvar::CommandAction::Error:
            std::fprintf(stderr, "qvar: %s\nTry 'qvar --help' for the options.\n", parsed.error.c_str());
            return 2;
        case qvar::CommandAction::Run: break;
    }
    try {
        return run(parsed.options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qvar: %s\n", e.what());
        return 1;
    }
}
