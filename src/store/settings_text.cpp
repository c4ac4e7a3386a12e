// Reading the settings file with libinih, line by line through our own reader so that every
// faulty line is reported with its number; writing a new file and updating an old one.
#include "store/settings_text.h"

#ifndef QVAR_NO_INIH
#include <ini.h>
#endif

#include <cstring>

#include "util/ascii.h"

namespace qvar {

namespace {

constexpr std::string_view BOM = "\xEF\xBB\xBF";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && (is_blank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A line as libinih should see it: no blanks at either end (so that it never takes a line
// for the continuation of the one above), no comment, nothing for a comment line. A '#'
// after a blank or straight after the '=' starts a comment, so that a value the game writes
// back as "name = value" reads the same as before.
std::string_view without_comment(std::string_view line) {
    line = trim(line);
    if (!line.empty() && (line.front() == '#' || line.front() == ';')) return {};
    for (size_t i = 1; i < line.size(); ++i)
        if (line[i] == '#' && (is_blank(line[i - 1]) || line[i - 1] == '=' || line[i - 1] == ':'))
            return trim(line.substr(0, i));
    return line;
}

bool is_text(std::string_view line) {
    for (char c : line)
        if ((static_cast<unsigned char>(c) < 32 && c != '\t') || c == 127) return false;
    return true;
}

// Hands libinih one line at a time and notices the lines it could not take.
struct LineFeed {
    std::string_view rest;
    int line = 0;          // the line handed out last, from 1
    bool content = false;  // it holds something for libinih
    bool taken = false;    // libinih's handler has had it
    Settings* settings = nullptr;
    std::vector<SettingsProblem>* problems = nullptr;

    void problem(std::string message) { problems->push_back({line, std::move(message)}); }
    void finish_line() {
        if (content && !taken) problem("expected NAME = VALUE");
        content = taken = false;
    }
    std::string_view next_line(int room);
};

// The next line, cleaned; a line that cannot be given to libinih is reported and given as
// an empty one. `room` is what libinih's buffer holds, its newline and terminator included.
std::string_view LineFeed::next_line(int room) {
    const size_t end = rest.find('\n');
    std::string_view raw = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    ++line;
    if (line == 1 && raw.starts_with(BOM)) raw.remove_prefix(BOM.size());
    std::string_view clean = without_comment(raw);
    if (!is_text(clean)) {
        problem("the line holds bytes that are not text");
        return {};
    }
    if (clean.size() + 2 >= static_cast<size_t>(room)) {
        problem("the line is longer than " + std::to_string(room - 3) + " characters");
        return {};
    }
    if (clean.starts_with("[")) {
        problem("this file has no [sections]; the line is ignored");
        return {};
    }
    content = !clean.empty();
    return clean;
}

char* read_line(char* buffer, int room, void* stream) {
    auto& feed = *static_cast<LineFeed*>(stream);
    feed.finish_line();
    if (feed.rest.empty() || room < 4) return nullptr;
    const std::string_view line = feed.next_line(room);
    if (!line.empty()) std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\n';
    buffer[line.size() + 1] = '\0';
    return buffer;
}

int take_setting(void* user, const char*, const char* name, const char* value) {
    auto& feed = *static_cast<LineFeed*>(user);
    feed.taken = true;
    std::string key(name);
    for (char& c : key) c = lower_ascii(c);
    std::string error;
    if (!apply_setting(*feed.settings, key, value, error)) feed.problem(error);
    return 1;  // we report the line ourselves; libinih goes on either way
}

// The setting a line sets, lower case; empty for comments and lines without a name.
std::string line_setting(std::string_view line) {
    line = without_comment(line);
    const size_t split = line.find_first_of("=:");
    if (split == std::string_view::npos) return {};
    std::string name(trim(line.substr(0, split)));
    for (char& c : name) c = lower_ascii(c);
    return name;
}

}  // namespace

Settings parse_settings_text(std::string_view text, Settings settings, std::vector<SettingsProblem>& problems) {
    LineFeed feed;
    feed.rest = text;
    feed.settings = &settings;
    feed.problems = &problems;
#ifndef QVAR_NO_INIH
    ini_parse_stream(read_line, &feed, take_setting, &feed);
#else
    // The browser build has no libinih and no settings file: its page keeps its own choices.
    if (!text.empty()) problems.push_back({1, "this build reads no settings file"});
#endif
    return settings;
}

std::string default_settings_text() {
    std::string text =
        "# QVAR settings: NAME = VALUE lines; a line starting with # is a comment.\n"
        "# The game wrote this file on its first run. Edits take effect at the next start; the game\n"
        "# itself changes only what Alt+Enter or F11 and moving or resizing the window change.\n";
    const Settings defaults;
    for (const SettingInfo& info : setting_infos()) {
        text += "\n# ";
        for (char c : info.comment) text += c == '\n' ? std::string("\n# ") : std::string(1, c);
        text += "\n" + std::string(info.name) + " = " + info.format(defaults);
        while (text.back() == ' ') text.pop_back();
        text += "\n";
    }
    return text;
}

std::string updated_settings_text(std::string_view text,
                                  const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(start, stop - start));
        start = stop;
    }
    for (const auto& [name, value] : changes) {
        const std::string line = name + " = " + value;
        size_t last = lines.size();
        for (size_t i = 0; i < lines.size(); ++i)
            if (line_setting(lines[i]) == name) last = i;
        if (last < lines.size()) {
            const bool crlf = lines[last].ends_with("\r\n");
            const bool lf = lines[last].ends_with("\n");
            lines[last] = line + (crlf ? "\r\n" : lf ? "\n" : "");
            continue;
        }
        if (!lines.empty() && !lines.back().ends_with("\n")) lines.back() += "\n";
        lines.push_back(line + "\n");
    }
    std::string out;
    for (const std::string& l : lines) out += l;
    return out;
}

}  // namespace qvar
