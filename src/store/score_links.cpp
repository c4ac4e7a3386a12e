// hiscores.rec: reading, writing and relinking the recordings that prove the high scores.
#include "store/score_links.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "util/folder_lock.h"

namespace qvar {

namespace {

constexpr std::string_view LINKS_TITLE = "qvar score recordings 1";

bool safe_file_name(std::string_view name) {
    if (name.empty() || name.size() > 100 || name[0] == '.') return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.'))
            return false;
    return true;
}

std::string to_hex(std::string_view text) {
    if (text.empty()) return "-";
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool from_hex(std::string_view hex, std::string& text) {
    text.clear();
    if (hex == "-") return true;
    if (hex.empty() || hex.size() % 2 != 0 || hex.size() > 2 * NAME_MAX_CHARS) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hex_digit(hex[i]), lo = hex_digit(hex[i + 1]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
        text.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

bool parse_score(std::string_view text, int32_t& score) {
    if (text.empty() || text.size() > 11) return false;
    const bool negative = text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return false;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    score = static_cast<int32_t>(v);
    return true;
}

// One line's three words: SCORE FILE NAME.
bool parse_link(std::string_view line, ScoreLink& link) {
    std::string_view words[3];
    for (std::string_view& w : words) {
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos) return false;
        line.remove_prefix(start);
        const size_t end = std::min(line.find(' '), line.size());
        w = line.substr(0, end);
        line.remove_prefix(end);
    }
    if (line.find_first_not_of(' ') != std::string_view::npos) return false;
    link.file = words[1];
    return parse_score(words[0], link.score) && safe_file_name(words[1]) && from_hex(words[2], link.name);
}

HighScoreTable table_on_disk(const Paths& paths) {
    // Straight from the file, never through a recording's tap: linking is not part of a game.
    FileRead read = read_file(paths.user(HIGH_SCORE_FILE), HIGH_SCORE_FILE_SIZE, Oversize::Cut);
    return parse_high_scores(read.ok() ? read.bytes : std::vector<uint8_t>{});
}

// For each place, the index of its link or -1: first links with the entry's score and name,
// then, for entries still without one, a link with the same name, so that an entry whose
// score was changed by hand keeps the recording that shows it differs.
std::array<int, HIGH_SCORE_COUNT> match_links(const HighScoreTable& table, const std::vector<ScoreLink>& links) {
    std::array<int, HIGH_SCORE_COUNT> match;
    match.fill(-1);
    std::vector<bool> used(links.size(), false);
    for (const bool by_score : {true, false})
        for (size_t p = 0; p < match.size(); ++p)
            for (size_t i = 0; i < links.size() && match[p] < 0; ++i)
                if (!used[i] && links[i].name == name_text(table.names[p]) && (!by_score || links[i].score == table.scores[p])) {
                    used[i] = true;
                    match[p] = static_cast<int>(i);
                }
    return match;
}

}  // namespace

std::string recordings_folder(const Paths& paths) { return paths.user(RECORDINGS_FOLDER); }

std::vector<ScoreLink> parse_score_links(const std::vector<uint8_t>& bytes) {
    std::vector<ScoreLink> links;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool first = true;
    while (!text.empty() && links.size() < 4 * HIGH_SCORE_COUNT) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (first) {
            if (line != LINKS_TITLE) return {};
            first = false;
            continue;
        }
        ScoreLink link;
        if (parse_link(line, link)) links.push_back(std::move(link));
    }
    return links;
}

std::vector<uint8_t> score_links_bytes(const std::vector<ScoreLink>& links) {
    std::string text(LINKS_TITLE);
    text += '\n';
    for (const ScoreLink& link : links)
        text += std::to_string(link.score) + " " + link.file + " " + to_hex(link.name) + "\n";
    return {text.begin(), text.end()};
}

std::vector<ScoreLink> read_score_links(const Paths& paths) {
    FileRead read = read_file(paths.user(SCORE_LINKS_FILE), SCORE_LINKS_MAX_BYTES, Oversize::Cut);
    return read.ok() ? parse_score_links(read.bytes) : std::vector<ScoreLink>{};
}

std::array<std::string, HIGH_SCORE_COUNT> recordings_by_place(const Paths& paths, const HighScoreTable& table,
                                                              const std::vector<ScoreLink>& links) {
    std::array<std::string, HIGH_SCORE_COUNT> files;
    const auto match = match_links(table, links);
    for (size_t p = 0; p < files.size(); ++p)
        if (match[p] >= 0) files[p] = recordings_folder(paths) + "/" + links[static_cast<size_t>(match[p])].file;
    return files;
}

FileResult keep_game_recording(Recorder& recorder, const Paths& paths, int32_t score, const NameBuffer& name) {
    if (recorder.replaying() || !recorder.game.is_open()) return {};
    const std::string path = recorder.game.path();
    recorder.game.close();
    const std::string file = path.substr(path.rfind('/') + 1);
    const FolderLock lock(paths.user_dir);
    std::vector<ScoreLink> links = read_score_links(paths);
    links.push_back({score, std::string(name_text(name)), file});
    const auto match = match_links(table_on_disk(paths), links);
    std::vector<ScoreLink> kept;
    std::vector<bool> keep(links.size(), false);
    for (int i : match)
        if (i >= 0) kept.push_back(links[static_cast<size_t>(i)]), keep[static_cast<size_t>(i)] = true;
    auto kept_file = [&kept](const std::string& f) {
        return std::any_of(kept.begin(), kept.end(), [&f](const ScoreLink& k) { return k.file == f; });
    };
    for (size_t i = 0; i < links.size(); ++i)  // entries that left the table lose their recordings
        if (!keep[i] && !kept_file(links[i].file)) ::unlink((recordings_folder(paths) + "/" + links[i].file).c_str());
    return write_file_atomic(paths.user(SCORE_LINKS_FILE), score_links_bytes(kept));
}

namespace {

// The process that made a recording named game-SECONDS-PID-N.qvr; 0 when the name is not such.
long recording_pid(const std::string& name) {
    long seconds = 0, pid = 0;
    unsigned n = 0;
    char end[8] = {};
    if (std::sscanf(name.c_str(), "game-%ld-%ld-%u%7s", &seconds, &pid, &n, end) != 4) return 0;
    return std::string_view(end) == RECORDING_SUFFIX ? pid : 0;
}

}  // namespace

void remove_orphan_recordings(const Paths& paths) {
    const std::string folder = recordings_folder(paths);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const std::vector<ScoreLink> links = read_score_links(paths);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const long pid = recording_pid(name);
        const bool linked = std::any_of(links.begin(), links.end(), [&](const ScoreLink& l) { return l.file == name; });
        if (pid <= 0 || linked || pid > INT32_MAX) continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
}

void discard_game_recording(Recorder& recorder) {
    if (!recorder.game.is_open()) return;
    const std::string path = recorder.game.path();
    recorder.game.close();
    ::unlink(path.c_str());
}

}  // namespace qvar
