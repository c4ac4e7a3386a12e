// Bounded file reads, atomic whole-file writes, and where the game's files live.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qvar {

struct FileResult;

// Stands between the game and the player's files while a run is recorded or played back:
// a recording notes what each read gave and how each save went, and a playback gives the
// recorded answers instead of touching the files at all.
class PlayerFileTap {
public:
    virtual ~PlayerFileTap() = default;
    virtual bool replaying() const = 0;
    // Playback: what the recorded run's read gave, and how its save went.
    virtual std::vector<uint8_t> replayed_read() = 0;
    virtual FileResult replayed_save() = 0;
    // Recording: called after each read and save.
    virtual void note_read(const std::vector<uint8_t>& bytes) = 0;
    virtual void note_save(const FileResult& result) = 0;
};

struct Paths {
    std::string data_dir;  // read-only data files (lets.dat, nums.dat, qvar.dat, boni.dat, c2.dat)
    std::string user_dir;  // the player's files (prefs.dat, saved.dat, hiscores.dat)
    PlayerFileTap* tap = nullptr;  // set while a run is recorded or played back

    std::string data(const std::string& name) const;
    std::string user(const std::string& name) const;
};

enum class FileProblem : uint8_t {
    None,
    Missing,     // nothing at the path
    NotAFile,    // a folder, a device, a pipe, ...: never opened for reading
    TooLarge,    // longer than the caller's limit, and the caller refuses the excess
    Unreadable,  // could not be opened or read (permissions, an I/O error, ...)
};

// What a read gives: the bytes, or the problem and its reason in plain words for a message.
struct FileRead {
    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    std::string reason;  // "no such file", "is a folder", "permission denied", ...
    bool ok() const { return problem == FileProblem::None; }
};

// What to do with a file longer than the limit: formats that ignore what lies past their
// size keep the first `limit` bytes (Cut); others refuse the file (Refuse).
enum class Oversize : uint8_t { Cut, Refuse };

// Reads a regular file, at most `limit` bytes of it. Anything but a regular file (a folder,
// a FIFO, /dev/zero) is refused without being read, and a FIFO never blocks. Never throws.
FileRead read_file(const std::string& path, size_t limit, Oversize oversize);

// The outcome of a write; `reason` says what went wrong in plain words ("disk full").
struct FileResult {
    bool ok = true;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// Writes a whole file atomically: a temporary file NAME.tmp.PID in the same folder, written
// and synced, renamed over the target, then the folder synced so that the rename survives a
// power cut. On any failure the old file is left untouched and the temporary file removed.
FileResult write_file_atomic(const std::string& path, const std::vector<uint8_t>& bytes);

// Called with the path after every successful write_file_atomic. The web build sets one at
// start-up to store the player's files in the browser; none is set elsewhere.
using FileWrittenHook = void (*)(const std::string& path);
void set_file_written_hook(FileWrittenHook hook);

// Plain words for an errno value, for messages: "disk full", "permission denied", ...
std::string error_words(int error_number);

// Creates a folder and its parents; true when it exists afterwards.
bool make_dirs(const std::string& path);

// The folder of the running executable, or "." when it cannot be found.
std::string executable_dir();

// $XDG_DATA_HOME/qvar, else $HOME/.local/share/qvar, else ./qvar-data.
std::string default_user_dir();

}  // namespace qvar
