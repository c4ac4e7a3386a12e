// The save-failure notice: posted by the screens that save, drawn by the screens that follow.
#include "model/notice.h"

#include "gfx/draw.h"
#include "gfx/text.h"
#include "model/system.h"
#include "store/player_file_io.h"

namespace qvar {

namespace {

constexpr int32_t NOTICE_TOP = SCREEN_HEIGHT - 9;  // a black band over the bottom 9 rows
constexpr uint8_t NOTICE_COLOUR = 12;              // light red, shaded in red
constexpr uint8_t NOTICE_SHADE = 4;

}  // namespace

void notice_save_failure(System& sys, const char* name, const char* what, const FileResult& result) {
    report_save_failure(sys.paths, name, what, result);
    sys.notice = Notice{save_failure_notice(what, result)};
}

void draw_notice(System& sys) {
    Notice& notice = sys.notice;
    if (notice.text.empty()) return;
    const uint64_t now = sys.platform.now_ms();
    if (!notice.showing) notice.showing = true, notice.shown_since_ms = now;
    if (now - notice.shown_since_ms >= NOTICE_SHOW_MS) {
        notice = Notice{};
        return;
    }
    fill_rect(sys.frame, 0, static_cast<uint32_t>(NOTICE_TOP), static_cast<uint32_t>(SCREEN_WIDTH),
              static_cast<uint32_t>(SCREEN_HEIGHT - NOTICE_TOP), 0);
    const int32_t x = (SCREEN_WIDTH - text_width(notice.text)) / 2;
    draw_text(sys.frame, sys.font, x < 2 ? 2 : x, NOTICE_TOP + 2, NO_WRAP, notice.text, NOTICE_COLOUR, NOTICE_SHADE);
}

}  // namespace qvar
