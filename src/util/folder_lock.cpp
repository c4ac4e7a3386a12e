// The folder lock (flock on qvar.lock) and removing temporary files of killed writers.
#include "util/folder_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <thread>

namespace qvar {

namespace fs = std::filesystem;

FolderLock::FolderLock(const std::string& dir, uint32_t wait_ms) {
    const std::string path = (fs::path(dir) / FOLDER_LOCK_FILE).string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return;
    // Another instance holds the lock only for the moment of a save; poll rather than block,
    // so that a holder that hangs cannot hang this program too.
    constexpr uint32_t STEP_MS = 5;
    for (uint32_t waited = 0;; waited += STEP_MS) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= wait_ms) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(STEP_MS));
    }
    ::close(fd);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

namespace {

// The process id of NAME.tmp.PID when `file` is the temporary file of one of `names`.
bool temporary_of(std::string_view file, std::initializer_list<const char*> names, long& pid) {
    for (const char* name : names) {
        const std::string prefix = std::string(name) + ".tmp.";
        if (!file.starts_with(prefix) || file.size() == prefix.size() || file.size() > prefix.size() + 9) continue;
        long value = 0;
        for (char c : file.substr(prefix.size())) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        pid = value;
        return true;
    }
    return false;
}

bool process_running(long pid) {
    if (pid <= 0) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

int remove_stale_temporaries(const std::string& dir, std::initializer_list<const char*> names, bool lock_held) {
    std::error_code ec;
    int removed = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        long pid = 0;
        const std::string file = it->path().filename().string();
        if (!temporary_of(file, names, pid)) continue;
        if (!lock_held && process_running(pid)) continue;
        struct stat st {};
        // Only plain files: anything else at such a path is not ours to remove.
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace qvar
