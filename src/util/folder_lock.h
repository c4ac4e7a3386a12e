// The user folder's lock, and the clean-up of temporary files that killed writers left behind.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace qvar {

// An exclusive lock on a folder, taken through flock on its file `qvar.lock` (created when
// missing) and held until destruction. Every writer of the player's files holds it, so one
// instance's read-merge-write never interleaves with another's. Waits at most `wait_ms`
// for another holder; held() is false when the lock could not be had (the folder is not
// writable, or the wait ran out), and callers then go on without it.
class FolderLock {
public:
    explicit FolderLock(const std::string& dir, uint32_t wait_ms = 3000);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

inline constexpr const char* FOLDER_LOCK_FILE = "qvar.lock";

// Removes temporary files NAME.tmp.PID left in `dir` by writes of the given file names that
// never finished (the writer was killed). With `lock_held` every one is stale, since writers
// hold the lock; without it, only those whose process is no longer running are removed.
// Returns how many were removed.
int remove_stale_temporaries(const std::string& dir, std::initializer_list<const char*> names, bool lock_held);

}  // namespace qvar
