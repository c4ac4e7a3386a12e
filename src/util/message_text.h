// Quoting outside text (arguments, script words, paths) for one-line messages on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvar {

inline constexpr size_t MESSAGE_WORD_LIMIT = 80;

// The text made safe to print inside a one-line message: control characters (C0, DEL and
// C1) and bytes that are not valid UTF-8 become escapes (\n, \t, \r, \e, \xHH), a backslash
// becomes \\, and what would take more than `max_columns` columns is cut, ending in "..."
// (an escape takes as many columns as it has characters). Valid UTF-8 letters are kept as
// they are, so non-English paths stay readable.
std::string printable(std::string_view text, size_t max_columns = MESSAGE_WORD_LIMIT);

}  // namespace qvar
