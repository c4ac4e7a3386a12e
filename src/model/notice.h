// The one-line notice the window shows for a few seconds after a save failed.
#pragma once

#include <cstdint>
#include <string>

#include "util/files.h"

namespace qvar {

struct System;

inline constexpr uint64_t NOTICE_SHOW_MS = 4000;

// Program-wide, in System. Empty text: nothing to show, and no frame is touched.
struct Notice {
    std::string text;
    uint64_t shown_since_ms = 0;
    bool showing = false;  // drawn at least once: the time runs from then
};

// Reports a failed save of the player file `name` (`what` names it for the player, as in
// "the high scores"): a line on stderr with the file and the reason, and the notice "Could
// not save the high scores: disk full" for the next screen. Replaces any pending notice.
void notice_save_failure(System& sys, const char* name, const char* what, const FileResult& result);

// Called by the main menu, the high-score screen and the game just before they present:
// draws the pending notice centred on a black band at rows 176..184, for NOTICE_SHOW_MS from
// the first frame that shows it, then forgets it. Does nothing when no notice is pending.
void draw_notice(System& sys);

}  // namespace qvar
