// saved.dat: 1001 bytes, byte k = best ship count on arrival at level 10k.
#include "store/progress_file.h"

#include <algorithm>

#include "store/player_file_io.h"

namespace qvar {

void parse_progress(const std::vector<uint8_t>& bytes, LevelProgress& progress) {
    progress.ships.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), progress.ships.size()), progress.ships.begin());
}

LevelProgress load_level_progress(const Paths& paths) {
    LevelProgress progress;
    progress.paths = paths;
    parse_progress(read_player_file(paths, PROGRESS_FILE, PROGRESS_ENTRIES, "no level counts as reached"),
                   progress);
    return progress;
}

std::vector<uint8_t> progress_bytes(const LevelProgress& progress) {
    return std::vector<uint8_t>(progress.ships.begin(), progress.ships.end());
}

ProgressRecord record_level_progress(LevelProgress& progress, int32_t level, int32_t ships) {
    if (level <= 0 || level % 10 != 0 || level / 10 >= PROGRESS_ENTRIES) return {};
    uint8_t& entry = progress.ships[static_cast<size_t>(level / 10)];
    if (!(static_cast<int32_t>(entry) < ships)) return {};
    entry = static_cast<uint8_t>(ships > 255 ? 255 : ships);
    if (progress.paths.user_dir.empty()) return {true, {}};  // a table that was never read from a folder
    const FileResult saved = save_player_file(
        progress.paths, PROGRESS_FILE, PROGRESS_ENTRIES, [&progress](const std::vector<uint8_t>& on_disk) {
            LevelProgress merged;
            parse_progress(on_disk, merged);
            for (size_t i = 0; i < merged.ships.size(); ++i)
                merged.ships[i] = std::max(merged.ships[i], progress.ships[i]);
            return std::optional(progress_bytes(merged));
        });
    return {true, saved};
}

}  // namespace qvar
