// The start-up sequence, in the order the first frames must appear.
#include "app/startup.h"

#include <cstdio>

#include "gfx/data_files.h"
#include "gfx/text.h"
#include "store/prefs_file.h"
#include "store/player_files.h"

namespace qvar {

namespace {

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
