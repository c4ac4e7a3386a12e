// saved.dat: 1001 bytes, byte k = best ship count on arrival at level 10k.
#include "store/progress_file.h"

namespace qvar {

LevelProgress load_level_progress(const Paths& paths) {
    LevelProgress progress;
    progress.path = paths.user("saved.dat");
    if (auto bytes = read_file(progress.path)) {
        size_t n = bytes->size() < progress.ships.size() ? bytes->size() : progress.ships.size();
        for (size_t i = 0; i < n; ++i) progress.ships[i] = (*bytes)[i];
    }
    return progress;
}

std::vector<uint8_t> progress_bytes(const LevelProgress& progress) {
    return std::vector<uint8_t>(progress.ships.begin(), progress.ships.end());
}

bool record_level_progress(LevelProgress& progress, int32_t level, int32_t ships) {
    if (level <= 0 || level % 10 != 0 || level / 10 >= PROGRESS_ENTRIES) return false;
    uint8_t& entry = progress.ships[static_cast<size_t>(level / 10)];
    if (!(static_cast<int32_t>(entry) < ships)) return false;
    entry = static_cast<uint8_t>(ships > 255 ? 255 : ships);
    // The file may have been changed by another run meanwhile: merge by rereading it and
    // changing only our byte, so the other entries on disk are never lost.
    std::vector<uint8_t> bytes = progress_bytes(progress);
    if (auto on_disk = read_file(progress.path)) {
        for (size_t i = 0; i < bytes.size() && i < on_disk->size(); ++i) bytes[i] = (*on_disk)[i];
    }
    bytes[static_cast<size_t>(level / 10)] = entry;
    write_file_atomic(progress.path, bytes);
    return true;
}

}  // namespace qvar
