// Recordings: what the game received from the machine, in the order it asked, written as a
// compact byte stream and read back so that a run can be played again exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qvar {

inline constexpr uint16_t RECORDING_FORMAT = 1;
inline constexpr size_t RECORDING_MAX_BYTES = 64u << 20;  // far beyond a day of play
inline constexpr size_t RECORDING_MAX_START = 64u << 10;

enum class RecordingKind : uint8_t { Session = 0, Game = 1 };

// What a recording must match to be played: the program and its data, and for a single game
// the state it started from (an opaque block the game layer writes and reads).
struct RecordingHeader {
    RecordingKind kind = RecordingKind::Session;
    std::string program_version;
    uint64_t data_hash = 0;
    std::vector<uint8_t> start_state;
};

// One step of the stream, as the reader hands it out.
enum class RecordOp : uint8_t { None, Message, Key, DelayEnd, Time, FileRead, FileSave, End, Broken };

struct RecordEvent {
    RecordOp op = RecordOp::Broken;
    Message message;
    uint8_t key = 0;
    bool key_down = false;
    uint64_t time_ms = 0;
    std::vector<uint8_t> bytes;  // FileRead: the file's bytes; FileSave: the failure reason
    bool save_ok = true;
};

// Appends a run's events to a file and makes them durable at every presented frame. A frame
// with nothing new (a pump that found nothing, keys unchanged, then the delay) costs nothing
// until the run of such frames ends; the open run is kept at the file's end meanwhile, so a
// killed run keeps every frame up to the last one presented.
class RecordWriter {
public:
    RecordWriter() = default;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    ~RecordWriter();

    // Creates (or truncates) `path` and writes the header. False with `error` set on failure.
    bool open(const std::string& path, const RecordingHeader& header, std::string& error);
    bool is_open() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    void pumped_nothing();
    void pumped(const Message& m);
    // Written only when the key reads otherwise than the last time it was read.
    void key_read(GameKey key, bool down);
    void delay_ended();
    void time_read(uint64_t ms);
    void file_read(const std::vector<uint8_t>& bytes);
    void file_saved(bool ok, const std::string& reason);
    // Writes out what the frame added; called at every present.
    void flush();
    // Writes the end mark and closes the file; a write error is reported once on stderr.
    void close();

private:
    void put(uint8_t b) { buf_.push_back(b); }
    void close_idle_run();
    void settle_pending();
    bool write_at(const uint8_t* data, size_t size, uint64_t offset);

    int fd_ = -1;
    std::string path_;
    std::vector<uint8_t> buf_;
    uint64_t written_ = 0;  // bytes of the file that are final
    uint32_t idle_run_ = 0;
    bool pending_none_ = false;
    std::array<bool, GAME_KEY_COUNT> keys_{};
};

// A whole recording in memory, read step by step as the replayed run asks.
class RecordReader {
public:
    // Reads `path` (at most RECORDING_MAX_BYTES) and its header; false with a one-line
    // `error` for a file that is missing, too large, foreign or damaged in its header.
    bool load(const std::string& path, std::string& error);
    // The same from bytes already in memory.
    bool parse(std::vector<uint8_t> bytes, std::string& error);
    const RecordingHeader& header() const { return header_; }
    const std::string& path() const { return path_; }  // as given to load

    // The next event, consumed. After the end (or damage) it keeps giving End (or Broken).
    RecordEvent next();
    // Peeks at the next event's kind without consuming it.
    RecordOp peek();
    // The replayed read of `key`: a recorded change when one comes next, else the last value.
    bool key(GameKey key);

    // Whether the stream's end mark was reached or is next (false: cut short or damaged).
    bool complete() const;
    bool broken() const { return broken_; }

private:
    bool decode(RecordEvent& e, size_t& pos) const;

    std::string path_;
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0;
    RecordingHeader header_;
    uint32_t run_left_ = 0;  // idle frames still to give out
    bool run_in_delay_ = false;  // the run's pump was given; its delay end is next
    bool finished_ = false;
    bool broken_ = false;
    std::array<bool, GAME_KEY_COUNT> keys_{};
};

// FNV-1a over the bytes, continuing from `hash` (start with FNV_START).
inline constexpr uint64_t FNV_START = 14695981039346656037ull;
uint64_t fnv1a(uint64_t hash, const uint8_t* data, size_t size);

}  // namespace qvar
