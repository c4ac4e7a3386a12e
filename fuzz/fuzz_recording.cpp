// Fuzz targets for recordings and hiscores.rec: any bytes must be refused or read to their
// end without fault, and a link file gives only safe file names and writes back as it read.
#include <algorithm>

#include "fuzz_support.h"
#include "game/game_recording.h"
#include "platform/recording.h"
#include "store/score_links.h"

namespace qvar::fuzz {

int fuzz_recording(const uint8_t* data, size_t size) {
    RecordReader reader;
    std::string error;
    if (!reader.parse(bytes_of(data, size), error)) {
        require(!error.empty(), "a refused recording says why");
        return 0;
    }
    GameStart start;
    LevelProgress progress;
    apply_game_start(reader.header().start_state, fuzz_system(), start, progress);
    // Ask as a replayed run would, in a pattern the input's own bytes choose.
    for (size_t step = 0; step < 4 * size + 16; ++step) {
        const uint8_t b = data[step % size];
        if ((b & 3) == 0) reader.key(static_cast<GameKey>((b >> 2) & 7));
        const RecordOp peeked = reader.peek();
        const RecordOp op = reader.next().op;
        require(op == peeked || op == RecordOp::Broken, "peek tells what next gives");
        if (op == RecordOp::End || op == RecordOp::Broken) {
            require(reader.next().op == op, "the end stays the end");
            return 0;
        }
    }
    return 0;
}

int fuzz_score_links(const uint8_t* data, size_t size) {
    const std::vector<ScoreLink> links = parse_score_links(bytes_of(data, size));
    for (const ScoreLink& link : links)
        require(!link.file.empty() && link.file.find('/') == std::string::npos && link.file[0] != '.',
                "a linked recording is a plain file name in the recordings folder");
    const std::vector<ScoreLink> again = parse_score_links(score_links_bytes(links));
    require(again.size() == links.size() &&
                std::equal(links.begin(), links.end(), again.begin(),
                           [](const ScoreLink& a, const ScoreLink& b) {
                               return a.score == b.score && a.name == b.name && a.file == b.file;
                           }),
            "hiscores.rec writes back what it read");
    return 0;
}

}  // namespace qvar::fuzz
