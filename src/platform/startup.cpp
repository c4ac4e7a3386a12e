// The start-up sequence, in the order the first frames must appear.
#include "platform/startup.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "gfx/data_files.h"
#include "gfx/text.h"
#include "screens/prefs_file.h"
#include "screens/progress_file.h"

namespace qvar {

namespace {

constexpr size_t HISCORE_ENTRIES = 20;
constexpr size_t HISCORE_NAME_BYTES = 50;
constexpr size_t HISCORE_RECORD_BYTES = HISCORE_NAME_BYTES + 4;  // name, then a 32-bit score

// Writes the file only when nothing exists at its path, so a player's own file, even a
// damaged one, is never replaced.
bool create_if_missing(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (std::filesystem::exists(status)) return true;
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    return write_file_atomic(path, bytes);
}

// Reports a damaged or missing read-only file and sets the status for game_main.
bool data_failure(System& sys, const std::string& error, int& exit_status) {
    fatal_error(sys, error);
    exit_status = 1;
    return false;
}

// The window and the display; the first frame shows colour 0 of the display's first palette.
bool open_screen(System& sys, int& exit_status) {
    std::string reason;
    if (!sys.platform.open_display(reason)) {
        if (!reason.empty()) std::fprintf(stderr, "qvar: %s\n", reason.c_str());
        fatal_error(sys, "Couldn't create a window");
        exit_status = 0;  // as after any window failure: the box, then a normal end
        return false;
    }
    sys.display_open = true;
    sys.palette = initial_palette();
    for (int i = 0; i < 256; ++i)
        sys.platform.set_palette_entry(static_cast<uint8_t>(i), sys.palette[static_cast<size_t>(i)]);
    clear_and_present(sys);
    return true;
}

void show_initialising(System& sys) {
    draw_text(sys.frame, sys.font, SCREEN_WIDTH / 2 - 25, SCREEN_HEIGHT / 2 - 2, NO_WRAP, "Initialising...", 13, 5);
    present_frame(sys);
}

}  // namespace

std::vector<uint8_t> default_prefs_bytes() { return gamma_bytes(DEFAULT_GAMMA); }

std::vector<uint8_t> default_saved_bytes() { return std::vector<uint8_t>(PROGRESS_ENTRIES, 0); }

std::vector<uint8_t> default_hiscores_bytes() {
    return std::vector<uint8_t>(HISCORE_ENTRIES * HISCORE_RECORD_BYTES, 0);
}

bool ensure_user_files(const Paths& paths) {
    if (!make_dirs(paths.user_dir)) return false;
    bool ok = create_if_missing(paths.user("prefs.dat"), default_prefs_bytes());
    ok = create_if_missing(paths.user("saved.dat"), default_saved_bytes()) && ok;
    ok = create_if_missing(paths.user("hiscores.dat"), default_hiscores_bytes()) && ok;
    return ok;
}

bool run_startup(System& sys, int& exit_status) {
    exit_status = 0;
    if (!open_screen(sys, exit_status)) return false;
    if (!ensure_user_files(sys.paths))
        std::fprintf(stderr, "qvar: could not create the player's files in %s\n",
                     sys.paths.user_dir.c_str());
    sys.gamma = load_gamma(sys.paths);
    build_palette(sys, sys.gamma);

    std::string error;
    if (!load_font(sys.paths, sys.font, error)) return data_failure(sys, error, exit_status);
    show_initialising(sys);
    calibrate_delay(sys);  // keeps "Initialising..." up for its second

    sys.sparks.count = 0;
    if (!load_large_digits(sys.paths, sys.large_digits, error)) return data_failure(sys, error, exit_status);
    sys.large_digits_swapped = swap_digit_colours(sys.large_digits);
    return true;
}

}  // namespace qvar
