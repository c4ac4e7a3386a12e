// hiscores.dat: the table's file image, reading, atomic writing and placing a new score.
#include "store/high_score_file.h"

#include <cstring>

#include "store/player_file_io.h"

namespace qvar {

std::vector<uint8_t> high_score_bytes(const HighScoreTable& table) {
    std::vector<uint8_t> bytes;
    bytes.reserve(HIGH_SCORE_FILE_SIZE);
    for (size_t i = 0; i < static_cast<size_t>(HIGH_SCORE_COUNT); ++i) {
        for (char c : table.names[i]) bytes.push_back(static_cast<uint8_t>(c));
        const auto s = static_cast<uint32_t>(table.scores[i]);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(s >> shift));
    }
    return bytes;
}

HighScoreTable parse_high_scores(const std::vector<uint8_t>& bytes) {
    HighScoreTable table;
    const size_t whole = bytes.size() / HIGH_SCORE_RECORD;
    for (size_t i = 0; i < whole && i < static_cast<size_t>(HIGH_SCORE_COUNT); ++i) {
        const uint8_t* rec = bytes.data() + i * HIGH_SCORE_RECORD;
        std::memcpy(table.names[i].data(), rec, static_cast<size_t>(NAME_LENGTH));
        const uint8_t* s = rec + NAME_LENGTH;
        const uint32_t bits = static_cast<uint32_t>(s[0]) | static_cast<uint32_t>(s[1]) << 8 |
                              static_cast<uint32_t>(s[2]) << 16 | static_cast<uint32_t>(s[3]) << 24;
        table.scores[i] = static_cast<int32_t>(bits);
    }
    return table;
}

HighScoreTable read_high_scores(const Paths& paths) {
    return parse_high_scores(
        read_player_file(paths, HIGH_SCORE_FILE, HIGH_SCORE_FILE_SIZE, "showing an empty table"));
}

FileResult write_high_scores(const Paths& paths, const HighScoreTable& table) {
    return save_player_file(paths, HIGH_SCORE_FILE, HIGH_SCORE_FILE_SIZE,
                            [&table](const std::vector<uint8_t>&) { return high_score_bytes(table); });
}

bool enter_high_score(HighScoreTable& table, int32_t score, const NameBuffer& name) {
    const int32_t place = high_score_place(table, score);
    if (place >= HIGH_SCORE_COUNT) return false;
    open_high_score_slot(table, place);
    copy_name(table.names[static_cast<size_t>(place)], name);
    table.scores[static_cast<size_t>(place)] = score;
    return true;
}

FileResult save_high_score(const Paths& paths, int32_t score, const NameBuffer& name) {
    return save_player_file(paths, HIGH_SCORE_FILE, HIGH_SCORE_FILE_SIZE,
                            [score, &name](const std::vector<uint8_t>& on_disk) -> std::optional<std::vector<uint8_t>> {
                                HighScoreTable table = parse_high_scores(on_disk);
                                if (!enter_high_score(table, score, name)) return std::nullopt;
                                return high_score_bytes(table);
                            });
}

std::string_view name_text(const NameBuffer& name) {
    return {name.data(), strnlen(name.data(), static_cast<size_t>(NAME_MAX_CHARS))};
}

void copy_name(NameBuffer& to, const NameBuffer& from) {
    const std::string_view text = name_text(from);
    std::memcpy(to.data(), text.data(), text.size());
    to[text.size()] = '\0';
}

int32_t high_score_place(const HighScoreTable& table, int32_t score) {
    int32_t p = HIGH_SCORE_COUNT;
    while (p > 0 && table.scores[static_cast<size_t>(p - 1)] <= score) --p;
    return p;
}

void open_high_score_slot(HighScoreTable& table, int32_t place) {
    if (place < 0 || place >= HIGH_SCORE_COUNT) return;
    for (int32_t i = HIGH_SCORE_COUNT - 1; i > place; --i) {
        const auto to = static_cast<size_t>(i);
        copy_name(table.names[to], table.names[to - 1]);
        table.scores[to] = table.scores[to - 1];
    }
    table.names[static_cast<size_t>(place)][0] = '\0';
}

}  // namespace qvar
