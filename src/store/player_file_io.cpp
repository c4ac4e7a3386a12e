// Player-file reads that fall back with a line on stderr, and locked, merging saves.
#include "store/player_file_io.h"

#include <cstdio>

#include "util/folder_lock.h"
#include "util/message_text.h"

namespace qvar {

namespace {

std::vector<uint8_t> read_from_disk(const Paths& paths, const char* name, size_t size, const char* fallback) {
    const std::string path = paths.user(name);
    FileRead read = read_file(path, size, Oversize::Cut);
    if (read.ok()) return std::move(read.bytes);
    if (read.problem != FileProblem::Missing)
        std::fprintf(stderr, "qvar: cannot read %s (%s); %s\n", printable(path).c_str(), read.reason.c_str(), fallback);
    return {};
}

FileResult save_on_disk(const Paths& paths, const char* name, size_t size, const MergeBytes& merge) {
    const FolderLock lock(paths.user_dir);
    const std::string path = paths.user(name);
    FileRead on_disk = read_file(path, size, Oversize::Cut);
    if (!on_disk.ok() && on_disk.problem != FileProblem::Missing) return {false, on_disk.reason};
    const std::optional<std::vector<uint8_t>> bytes = merge(on_disk.bytes);
    if (!bytes) return {};
    return write_file_atomic(path, *bytes);
}

}  // namespace

std::vector<uint8_t> read_player_file(const Paths& paths, const char* name, size_t size, const char* fallback) {
    if (paths.tap != nullptr && paths.tap->replaying()) return paths.tap->replayed_read();
    std::vector<uint8_t> bytes = read_from_disk(paths, name, size, fallback);
    if (paths.tap != nullptr) paths.tap->note_read(bytes);
    return bytes;
}

FileResult save_player_file(const Paths& paths, const char* name, size_t size, const MergeBytes& merge) {
    if (paths.tap != nullptr && paths.tap->replaying()) return paths.tap->replayed_save();
    FileResult result = save_on_disk(paths, name, size, merge);
    if (paths.tap != nullptr) paths.tap->note_save(result);
    return result;
}

void report_save_failure(const Paths& paths, const char* name, const char* what, const FileResult& result) {
    std::fprintf(stderr, "qvar: could not save %s to %s: %s\n", what, printable(paths.user(name)).c_str(),
                 result.reason.c_str());
}

std::string save_failure_notice(const char* what, const FileResult& result) {
    return std::string("Could not save ") + what + ": " + result.reason;
}

}  // namespace qvar
