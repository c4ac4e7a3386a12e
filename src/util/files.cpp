// File helpers: bounded reads that report instead of throwing, and atomic, synced writes.
#include "util/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace qvar {

namespace fs = std::filesystem;

std::string Paths::data(const std::string& name) const { return (fs::path(data_dir) / name).string(); }
std::string Paths::user(const std::string& name) const { return (fs::path(user_dir) / name).string(); }

std::string error_words(int error_number) {
    switch (error_number) {
        case ENOSPC: return "disk full";
        case EDQUOT: return "disk quota exceeded";
        case EACCES:
        case EPERM: return "permission denied";
        case EROFS: return "read-only file system";
        case ENOENT: return "no such file or folder";
        case ENOTDIR: return "part of the path is not a folder";
        case EISDIR: return "is a folder";
        case EEXIST: return "its temporary file is blocked";
        case EIO: return "input/output error";
        case ENAMETOOLONG: return "name too long";
        case ELOOP: return "too many symbolic links";
        default: break;
    }
    std::string words = std::strerror(error_number);
    if (!words.empty() && words[0] >= 'A' && words[0] <= 'Z') words[0] = static_cast<char>(words[0] - 'A' + 'a');
    return words;
}

namespace {

FileRead read_problem(FileProblem problem, std::string reason) {
    FileRead r;
    r.problem = problem;
    r.reason = std::move(reason);
    return r;
}

// Reads up to `limit` bytes in chunks, so a large limit costs nothing for a small file, and
// then one more byte to learn whether the file is longer.
bool read_bounded(int fd, size_t limit, std::vector<uint8_t>& bytes, bool& longer) {
    constexpr size_t CHUNK = 64 * 1024;
    bytes.clear();
    for (;;) {
        const size_t used = bytes.size();
        const size_t want = used == limit ? 1 : std::min(CHUNK, limit - used);
        bytes.resize(used + want);
        const ssize_t n = ::read(fd, bytes.data() + used, want);
        bytes.resize(used + (n > 0 ? static_cast<size_t>(n) : 0));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0 || used == limit) {
            longer = bytes.size() > limit;
            if (longer) bytes.resize(limit);
            return true;
        }
    }
}

}  // namespace

FileRead read_file(const std::string& path, size_t limit, Oversize oversize) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT) return read_problem(FileProblem::Missing, "no such file");
        return read_problem(FileProblem::Unreadable, error_words(e));
    }
    struct stat st {};
    FileRead r;
    if (::fstat(fd, &st) != 0) {
        r = read_problem(FileProblem::Unreadable, error_words(errno));
    } else if (S_ISDIR(st.st_mode)) {
        r = read_problem(FileProblem::NotAFile, "is a folder, not a file");
    } else if (!S_ISREG(st.st_mode)) {
        r = read_problem(FileProblem::NotAFile, "is not a regular file");
    } else {
        bool longer = false;
        if (!read_bounded(fd, limit, r.bytes, longer))
            r = read_problem(FileProblem::Unreadable, error_words(errno));
        else if (longer && oversize == Oversize::Refuse)
            r = read_problem(FileProblem::TooLarge, "is larger than " + std::to_string(limit) + " bytes");
    }
    ::close(fd);
    return r;
}

namespace {

bool write_all(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates the temporary file. One left with our process id can only come from an earlier
// process that had the same id and was killed: it is replaced.
int create_temporary(const std::string& temp) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(temp.c_str(), flags, 0666);
    if (fd < 0 && errno == EEXIST) {
        if (::unlink(temp.c_str()) == 0) return ::open(temp.c_str(), flags, 0666);
        errno = EEXIST;
    }
    return fd;
}

// After the rename, the folder's entry must reach the disk too, or a power cut can bring the
// old file back. The new content is in place already, so a folder that cannot be synced
// (some file systems refuse) does not make the write fail.
void sync_folder(const std::string& path) {
    std::string dir = fs::path(path).parent_path().string();
    if (dir.empty()) dir = ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

FileWrittenHook& file_written_hook() {
    static FileWrittenHook hook = nullptr;
    return hook;
}

}  // namespace

void set_file_written_hook(FileWrittenHook hook) { file_written_hook() = hook; }

FileResult write_file_atomic(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp." + std::to_string(::getpid());
    const int fd = create_temporary(temp);
    if (fd < 0) return {false, error_words(errno)};
    bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) ok = false, error = errno;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false, error = errno;
    if (!ok) {
        ::unlink(temp.c_str());
        return {false, error_words(error)};
    }
    sync_folder(path);
    if (file_written_hook() != nullptr) file_written_hook()(path);
    return {};
}

bool make_dirs(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

std::string executable_dir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return ".";
    return exe.parent_path().string();
}

std::string default_user_dir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return (fs::path(xdg) / "qvar").string();
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".local" / "share" / "qvar").string();
    return "qvar-data";
}

}  // namespace qvar
