#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

// Text shown line by line, in a terminal or in the window's log, may hold what a peer sent:
// a control character in it would clear the screen, set the terminal's title, go back to
// the start of the line or begin a line that looks like one of ours. Shown, every control
// character is a visible mark instead, so that a line of text stays one line.

// The controls marked: C0 (U+0000-U+001F), DEL (U+007F), C1 (U+0080-U+009F), and the Unicode
// line and paragraph separators (U+2028, U+2029), which a text view breaks lines at.
enum class ControlMarks {
    // For a terminal or a log file, in ASCII: "\n", "\r", "\t"; any other C0 control and DEL
    // as "\x" and two lower-case hexadecimal digits ("\x1b", "\x00", "\x07", "\x7f"); a C1
    // control and the separators as "\u" and four ("\u0085", "\u2028").
    Escapes,
    // For the window: a C0 control as its Unicode control picture (U+2400-U+241F: "␊", "␛"),
    // DEL as "␡" (U+2421), the separators as "␤" (U+2424), and a C1 control, which has no
    // picture, as "�" (U+FFFD), as the bytes Windows-1252 leaves undefined already show.
    Pictures,
};

// The UTF-8 text with its controls marked, in UTF-8; a byte that does not belong to valid
// UTF-8 becomes U+FFFD. When it is longer than maxCharacters characters (code points, a
// mark counting as the characters it is written with), it is cut before a character or a
// mark so that, with "…" (U+2026) at its end, it is maxCharacters long at most.
std::string displayText(std::string_view utf8, ControlMarks marks,
    std::size_t maxCharacters = std::numeric_limits<std::size_t>::max());
