// Screenshots: the frame as it was presented, saved as an indexed PNG named by date and time.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "gfx/palette.h"
#include "util/png.h"

namespace qvar {

// "qvar-2026-12-06_21-04-22.png" for that local time; from the second attempt on, a number
// is added ("qvar-2026-12-06_21-04-22-2.png") so that two shots in one second both stay.
std::string screenshot_file_name(const std::tm& local_time, int attempt);

// Saves the 320x200 frame with its palette and pixel aspect into `folder` (made when missing)
// under a name from the local time `now` that no file has yet; an existing file is never
// replaced. True with the file's `path`; false with `reason` in plain words.
bool save_screenshot(const std::string& folder, const uint8_t* pixels, const Palette& palette, PixelAspect aspect,
                     std::time_t now, std::string& path, std::string& reason);

}  // namespace qvar
