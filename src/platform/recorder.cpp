// The recorder's fan-out to its writers and the player files' answers in a playback.
#include "platform/recorder.h"

namespace qvar {

bool Recorder::take(RecordOp op, RecordEvent& e) {
    if (playback_over) return false;
    e = playback->next();
    if (e.op == op) return true;
    playback_over = true;
    return false;
}

std::vector<uint8_t> Recorder::replayed_read() {
    RecordEvent e;
    return take(RecordOp::FileRead, e) ? std::move(e.bytes) : std::vector<uint8_t>{};
}

FileResult Recorder::replayed_save() {
    RecordEvent e;
    if (!take(RecordOp::FileSave, e)) return {};
    return {e.save_ok, std::string(e.bytes.begin(), e.bytes.end())};
}

void Recorder::note_read(const std::vector<uint8_t>& bytes) {
    each_writer([&](RecordWriter& w) { w.file_read(bytes); });
}

void Recorder::note_save(const FileResult& result) {
    each_writer([&](RecordWriter& w) { w.file_saved(result.ok, result.reason); });
}

}  // namespace qvar
