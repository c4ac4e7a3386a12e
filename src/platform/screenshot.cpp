// Naming and writing screenshots.
#include "platform/screenshot.h"

#include <filesystem>

#include "util/files.h"

namespace qvar {

namespace fs = std::filesystem;

namespace {
constexpr int MAX_ATTEMPTS = 100;  // shots within one second
}

std::string screenshot_file_name(const std::tm& local_time, int attempt) {
    char stamp[32];
    if (std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local_time) == 0) stamp[0] = '\0';
    std::string name = std::string("qvar-") + stamp;
    if (attempt > 0) name += "-" + std::to_string(attempt + 1);
    return name + ".png";
}

bool save_screenshot(const std::string& folder, const uint8_t* pixels, const Palette& palette, PixelAspect aspect,
                     std::time_t now, std::string& path, std::string& reason) {
    if (!make_dirs(folder)) {
        reason = "cannot create the folder " + folder;
        return false;
    }
    std::tm local{};
    localtime_r(&now, &local);
    std::error_code ec;
    for (int attempt = 0; attempt < MAX_ATTEMPTS; ++attempt) {
        path = (fs::path(folder) / screenshot_file_name(local, attempt)).string();
        if (fs::exists(fs::symlink_status(path, ec))) continue;
        return write_png_indexed(path, 320, 200, pixels, rgb_triples(palette), aspect, reason);
    }
    reason = "too many screenshots in one second";
    return false;
}

}  // namespace qvar
