// The --trace record: one JSON line per game frame with the player's state and pool sizes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

inline constexpr size_t TRACE_LINE_CAPACITY = 2048;

// Formats frame `game.frame_number` as one JSON object and a line feed into `out` (no
// allocation). Reals use 9 significant digits, so equal lines mean equal states; a
// non-finite real is written as null. Returns the length, or 0 when it would not fit.
size_t format_trace_line(char* out, size_t capacity, const System& sys, const Game& game);

// Owns the trace file for one game. The first game of the program run that traces to a
// path starts the file afresh; later games append to it. With an empty path it writes
// nothing. When the file cannot be opened or a write fails (a full disk, /dev/full), one
// line on stderr says so, the trace stops and the game goes on.
class GameTrace {
public:
    explicit GameTrace(const std::string& path);
    ~GameTrace();
    GameTrace(const GameTrace&) = delete;
    GameTrace& operator=(const GameTrace&) = delete;

    // Called once at the end of every game frame.
    void write_frame(const System& sys, const Game& game);
    bool is_open() const { return file_ != nullptr; }

private:
    void fail(int error_number);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::array<char, TRACE_LINE_CAPACITY> line_{};
};

}  // namespace qvar
