// Parsing input scripts: every line is checked, every fault reported with its line number.
#include "platform/input_script.h"

#include <array>
#include <optional>

#include "util/ascii.h"
#include "util/files.h"
#include "util/message_text.h"

namespace qvar {

namespace {

constexpr uint64_t MAX_SCRIPT_NUMBER = 1000000000;  // ms or frames: about eleven days
constexpr size_t MAX_TEXT = 1000;

// A word of the line, quoted for an error message.
std::string quoted(std::string_view word) { return "'" + printable(word) + "'"; }

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && (is_blank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Splits off the first blank-separated word; `rest` keeps what follows, trimmed.
std::string_view next_word(std::string_view& rest) {
    size_t end = 0;
    while (end < rest.size() && !is_blank(rest[end])) ++end;
    std::string_view word = rest.substr(0, end);
    rest = trim(rest.substr(end));
    return word;
}

// Decimal digits only, at most MAX_SCRIPT_NUMBER; no sign, no overflow.
std::optional<uint64_t> parse_number(std::string_view s) {
    if (s.empty() || s.size() > 10) return std::nullopt;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > MAX_SCRIPT_NUMBER) return std::nullopt;
    return v;
}

// "2500", "2500ms" or "3s" as milliseconds.
std::optional<uint64_t> parse_ms(std::string_view s) {
    uint64_t factor = 1;
    if (s.size() > 2 && same_word(s.substr(s.size() - 2), "ms")) {
        s.remove_suffix(2);
    } else if (s.size() > 1 && lower_ascii(s.back()) == 's') {
        s.remove_suffix(1);
        factor = 1000;
    }
    std::optional<uint64_t> v = parse_number(s);
    if (!v || *v * factor > MAX_SCRIPT_NUMBER) return std::nullopt;
    return *v * factor;
}

bool parse_when(std::string_view word, ScriptEvent& ev) {
    bool relative = !word.empty() && word.front() == '+';
    if (relative) word.remove_prefix(1);
    bool frames = !word.empty() && lower_ascii(word.front()) == 'f';
    if (frames) word.remove_prefix(1);
    std::optional<uint64_t> v = frames ? parse_number(word) : parse_ms(word);
    if (!v) return false;
    ev.at = *v;
    if (frames) ev.when = relative ? ScriptWhen::AfterFrames : ScriptWhen::AtFrame;
    else ev.when = relative ? ScriptWhen::AfterTime : ScriptWhen::AtTime;
    return true;
}

bool parse_key(std::string_view word, GameKey& key) {
    static constexpr std::array<std::pair<std::string_view, GameKey>, 9> names = {{
        {"space", GameKey::Space}, {"ctrl", GameKey::Control}, {"control", GameKey::Control},
        {"left", GameKey::Left},   {"up", GameKey::Up},        {"right", GameKey::Right},
        {"down", GameKey::Down},   {"p", GameKey::P},          {"q", GameKey::Q},
    }};
    for (const auto& [name, k] : names)
        if (same_word(word, name)) {
            key = k;
            return true;
        }
    return false;
}

bool parse_button(std::string_view word, uint32_t& button) {
    if (same_word(word, "left")) button = MOUSE_LEFT;
    else if (same_word(word, "right")) button = MOUSE_RIGHT;
    else return false;
    return true;
}

bool is_printable(char c) { return c >= 32 && c <= 126; }

// A single printable character (bare, or quoted as "#"), or the name of a control key,
// of the blank or of '#'.
std::optional<char> parse_char(std::string_view word) {
    if (word.size() == 1 && is_printable(word[0])) return word[0];
    if (word.size() == 3 && word[0] == '"' && word[2] == '"' && is_printable(word[1])) return word[1];
    if (same_word(word, "hash")) return '#';
    if (same_word(word, "enter") || same_word(word, "return")) return '\r';
    if (same_word(word, "backspace")) return '\b';
    if (same_word(word, "escape") || same_word(word, "esc")) return '\x1b';
    if (same_word(word, "space")) return ' ';
    return std::nullopt;
}

bool parse_position(std::string_view& rest, ScriptEvent& ev, std::string& error) {
    std::string_view xs = next_word(rest);
    std::string_view ys = next_word(rest);
    std::optional<uint64_t> x = parse_number(xs);
    std::optional<uint64_t> y = parse_number(ys);
    if (!x || !y || *x > 319 || *y > 199) {
        error = "expected a position X Y with X in 0..319 and Y in 0..199, found " +
                quoted(std::string(xs) + (ys.empty() ? "" : " ") + std::string(ys));
        return false;
    }
    ev.has_position = true;
    ev.x = static_cast<uint16_t>(*x);
    ev.y = static_cast<uint16_t>(*y);
    return true;
}

bool parse_text(std::string_view rest, ScriptEvent& ev, std::string& error) {
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    if (rest.empty() || rest.size() > MAX_TEXT) {
        error = "text needs 1 to 1000 characters";
        return false;
    }
    ev.text = std::string(rest);
    return true;
}

bool parse_click(std::string_view rest, ScriptEvent& ev, std::string& error) {
    if (!rest.empty() && (rest.front() < '0' || rest.front() > '9')) {
        const std::string_view word = next_word(rest);
        if (!parse_button(word, ev.button)) {
            error = "click takes left or right, then an optional position, not " + quoted(word);
            return false;
        }
    }
    if (rest.empty()) return true;
    if (!parse_position(rest, ev, error)) return false;
    if (rest.empty()) return true;
    error = "unexpected " + quoted(rest) + " after the position";
    return false;
}

// Parses ACTION [ARGUMENTS]; the arguments must be used up exactly.
bool parse_action(std::string_view rest, ScriptEvent& ev, std::string& error) {
    std::string_view verb = next_word(rest);
    bool ok = true;
    if (same_word(verb, "press") || same_word(verb, "release")) {
        ev.op = same_word(verb, "press") ? ScriptOp::Press : ScriptOp::Release;
        const std::string_view word = next_word(rest);
        ok = parse_key(word, ev.key);
        if (!ok) error = "unknown key " + quoted(word) + ": expected space, ctrl, left, up, right, down, p or q";
    } else if (same_word(verb, "type")) {
        ev.op = ScriptOp::Type;
        const std::string_view word = next_word(rest);
        std::optional<char> c = parse_char(word);
        ok = c.has_value();
        if (ok) ev.text = std::string(1, *c);
        else error = "cannot type " + quoted(word) + ": expected one printable character, or enter, backspace, escape, space or hash";
    } else if (same_word(verb, "text")) {
        ev.op = ScriptOp::Text;
        return parse_text(rest, ev, error);
    } else if (same_word(verb, "move")) {
        ev.op = ScriptOp::Move;
        ok = parse_position(rest, ev, error);
    } else if (same_word(verb, "button-down") || same_word(verb, "button-up")) {
        ev.op = same_word(verb, "button-down") ? ScriptOp::ButtonDown : ScriptOp::ButtonUp;
        const std::string_view word = next_word(rest);
        ok = parse_button(word, ev.button);
        if (!ok) error = "unknown button " + quoted(word) + ": expected left or right";
    } else if (same_word(verb, "click")) {
        ev.op = ScriptOp::Click;
        return parse_click(rest, ev, error);
    } else if (same_word(verb, "quit")) {
        ev.op = ScriptOp::Quit;
    } else if (same_word(verb, "focus-lost") || same_word(verb, "focus-gained")) {
        ev.op = same_word(verb, "focus-lost") ? ScriptOp::FocusLost : ScriptOp::FocusGained;
    } else {
        error = verb.empty() ? "an event needs an action after its time" : "unknown action " + quoted(verb);
        return false;
    }
    if (ok && !rest.empty()) {
        error = "unexpected " + quoted(rest) + " at the end of the line";
        ok = false;
    }
    return ok;
}

bool parse_idle_quit(std::string_view rest, InputScript& out, std::string& error) {
    const std::string_view word = next_word(rest);
    std::optional<uint64_t> ms = parse_ms(word);
    if (!ms || !rest.empty()) {
        error = "idle-quit takes one time in ms (0: never), not " + quoted(rest.empty() ? word : rest);
        return false;
    }
    out.idle_quit_ms = *ms;
    return true;
}

// Cuts a comment off the end of a line: a '#' after a blank, outside double quotes.
std::string_view strip_comment(std::string_view line) {
    bool quoted = false;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted && is_blank(line[i - 1])) return trim(line.substr(0, i));
    }
    return line;
}

// Parses one line that is neither blank nor a comment.
bool parse_line(std::string_view line, int number, InputScript& out, std::string& error) {
    line = strip_comment(line);
    for (char c : line)
        if (!is_printable(c) && c != '\t') {
            error = "control or non-ASCII byte " + printable(std::string_view(&c, 1)) + " in the line";
            return false;
        }
    std::string_view rest = line;
    std::string_view first = next_word(rest);
    if (same_word(first, "idle-quit")) return parse_idle_quit(rest, out, error);
    ScriptEvent ev;
    ev.line = number;
    if (!parse_when(first, ev)) {
        error = "expected a time (2500, +400, 3s) or a frame (f120, +f10), found " + quoted(first);
        return false;
    }
    if (!parse_action(rest, ev, error)) return false;
    out.events.push_back(std::move(ev));
    return true;
}

}  // namespace

bool parse_input_script(std::string_view text, InputScript& out, std::vector<ScriptError>& errors) {
    out = InputScript{};
    errors.clear();
    int number = 0;
    size_t left_out = 0;
    while (!text.empty() || number == 0) {
        size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#') continue;
        std::string error;
        if (parse_line(line, number, out, error)) continue;
        if (errors.size() < MAX_SCRIPT_ERRORS) errors.push_back({number, std::move(error)});
        else ++left_out;
    }
    if (left_out != 0)
        errors.push_back({0, "and " + std::to_string(left_out) + " more faulty line" + (left_out == 1 ? "" : "s") +
                                 " not listed"});
    return errors.empty();
}

ScriptLoad load_input_script(const std::string& path, InputScript& out, std::string& message) {
    const std::string name = printable(path);
    const FileRead read = read_file(path, MAX_SCRIPT_BYTES, Oversize::Refuse);
    if (!read.ok()) {
        message = name + ": cannot read the input script: " + read.reason + "\n";
        return ScriptLoad::Unreadable;
    }
    std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    std::vector<ScriptError> errors;
    if (parse_input_script(text, out, errors)) return ScriptLoad::Ok;
    message.clear();
    for (const ScriptError& e : errors)
        message += name + (e.line != 0 ? ":" + std::to_string(e.line) : std::string()) + ": " + e.message + "\n";
    return ScriptLoad::Faulty;
}

}  // namespace qvar
