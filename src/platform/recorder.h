// Where the machine's answers go while a run is recorded (the whole run, the current game, or
// both) and where they come from while one is played back.
#pragma once

#include <cstdint>
#include <string>

#include "platform/recording.h"
#include "util/files.h"

namespace qvar {

class Recorder : public PlayerFileTap {
public:
    // What every recording this run makes starts with (kind and start state aside).
    RecordingHeader base;
    RecordWriter* session = nullptr;  // --record: the whole run
    RecordWriter game;                // the game in play, for the high-score table
    RecordReader* playback = nullptr;
    // Set when the playback ran out or did not fit the run; the run then ends as if the
    // window had been closed.
    bool playback_over = false;
    bool window_closed = false;  // the playback's own window was closed

    template <class F>
    void each_writer(F&& f) {
        if (session != nullptr && session->is_open()) f(*session);
        if (game.is_open()) f(game);
    }

    // The next recorded event, or ends the playback when it is not of kind `op`.
    bool take(RecordOp op, RecordEvent& e);

    bool replaying() const override { return playback != nullptr; }
    std::vector<uint8_t> replayed_read() override;
    FileResult replayed_save() override;
    void note_read(const std::vector<uint8_t>& bytes) override;
    void note_save(const FileResult& result) override;
};

}  // namespace qvar
