// The save-failure notice: posted by the screens that save, drawn by the screens that follow.
#include "model/notice.h"

#include <algorithm>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "model/system.h"
#include "store/player_file_io.h"

namespace qvar {

namespace {

// A black band of 9 rows under the text, below the high-score table and above its last line.
constexpr int32_t NOTICE_TOP = 176;
constexpr int32_t NOTICE_ROWS = 9;
constexpr uint8_t NOTICE_COLOUR = 12;  // light red, shaded in red
constexpr uint8_t NOTICE_SHADE = 4;

}  // namespace

void notice_save_failure(System& sys, const char* name, const char* what, const FileResult& result) {
    report_save_failure(sys.paths, name, what, result);
    sys.notice = Notice{save_failure_notice(what, result)};
}

void draw_notice(System& sys) {
    Notice& notice = sys.notice;
    if (notice.text.empty()) return;
    const uint64_t now = clock_ms(sys);
    if (!notice.showing) notice.showing = true, notice.shown_since_ms = now;
    if (now - notice.shown_since_ms >= NOTICE_SHOW_MS) {
        notice = Notice{};
        return;
    }
    const int32_t width = std::min(text_width(notice.text) + 8, SCREEN_WIDTH);
    const int32_t left = (SCREEN_WIDTH - width) / 2;
    fill_rect(sys.frame, static_cast<uint32_t>(left), static_cast<uint32_t>(NOTICE_TOP), static_cast<uint32_t>(width),
              static_cast<uint32_t>(NOTICE_ROWS), 0);
    draw_text(sys.frame, sys.font, left + 4, NOTICE_TOP + 2, NO_WRAP, notice.text, NOTICE_COLOUR, NOTICE_SHADE);
}

}  // namespace qvar
