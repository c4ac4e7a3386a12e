// Escaping control characters and cutting long words for messages.
#include "util/message_text.h"

#include <cstdint>

namespace qvar {

namespace {

void add_escape(std::string& out, uint8_t b) {
    switch (b) {
        case '\n': out += "\\n"; return;
        case '\t': out += "\\t"; return;
        case '\r': out += "\\r"; return;
        case 0x1b: out += "\\e"; return;
        default: break;
    }
    static constexpr char HEX[] = "0123456789abcdef";
    out += "\\x";
    out += HEX[b >> 4];
    out += HEX[b & 15];
}

// Length of the valid UTF-8 sequence at the start of `s` (2..4), or 0. Overlong forms,
// surrogates and values past U+10FFFF are not valid.
size_t utf8_length(std::string_view s) {
    const auto b0 = static_cast<uint8_t>(s[0]);
    size_t n = 0;
    uint32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) n = 2, cp = b0 & 0x1Fu;
    else if (b0 >= 0xE0 && b0 <= 0xEF) n = 3, cp = b0 & 0x0Fu;
    else if (b0 >= 0xF0 && b0 <= 0xF4) n = 4, cp = b0 & 0x07u;
    if (n == 0 || s.size() < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if ((b & 0xC0u) != 0x80u) return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return cp <= 0x9F ? 0 : n;  // U+0080..U+009F are the C1 controls
}

}  // namespace

std::string printable(std::string_view text, size_t max_columns) {
    std::string out;
    size_t columns = 0;
    while (!text.empty()) {
        const auto b = static_cast<uint8_t>(text[0]);
        std::string shown;
        size_t used = 1, width = 1;
        if (b >= 0x20 && b < 0x7F) {
            shown = b == '\\' ? "\\\\" : std::string(1, static_cast<char>(b));
            width = shown.size();
        } else if (const size_t n = b >= 0x80 ? utf8_length(text) : 0; n != 0) {
            shown = text.substr(0, n);  // one letter, one column
            used = n;
        } else {
            add_escape(shown, b);
            width = shown.size();
        }
        if (columns + width > max_columns) {
            out += "...";
            break;
        }
        out += shown;
        columns += width;
        text.remove_prefix(used);
    }
    return out;
}

}  // namespace qvar
