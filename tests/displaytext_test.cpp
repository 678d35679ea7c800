#include "match/displaytext.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// Every control is marked, in ASCII escapes or in pictures; other characters stay as they
// are, and bytes that are not UTF-8 become U+FFFD.
TEST(DisplayText, MarksEveryControlCharacter)
{
    using namespace std::string_literals;
    const std::tuple<std::string, std::string, std::string> cases[] = {
        { "ola, olá €", "ola, olá €", "ola, olá €" },
        { "\x1b[2J\x1b]0;t\a!", "\\x1b[2J\\x1b]0;t\\x07!", "␛[2J␛]0;t␇!" },
        { "a\r\nb\tc", "a\\r\\nb\\tc", "a␍␊b␉c" },
        { "a\0b\x1f\x7f"s, "a\\x00b\\x1f\\x7f", "a␀b␟␡" },
        { "\u0080 \u0085 \u009f \u00a0", "\\u0080 \\u0085 \\u009f \u00a0", "� � � \u00a0" },
        { "a\u2028b\u2029", "a\\u2028b\\u2029", "a␤b␤" },
        // A stray continuation byte, a lead byte cut short, an overlong ESC, a surrogate.
        { "\x85 \xc2 \xc0\x9b \xed\xa0\x80", "� � �� ���", "� � �� ���" },
        { "\\x1b", "\\x1b", "\\x1b" },
    };
    for (const auto& [text, escaped, pictured] : cases) {
        SCOPED_TRACE(escaped);
        EXPECT_EQ(displayText(text, ControlMarks::Escapes), escaped);
        EXPECT_EQ(displayText(text, ControlMarks::Pictures), pictured);
    }
}

// A text longer than the limit ends in "…" within it, cut before a character or a mark.
TEST(DisplayText, CutsALongTextWithAnEllipsis)
{
    const std::tuple<std::string, ControlMarks, std::size_t, std::string> cases[] = {
        { "abcde", ControlMarks::Pictures, 5, "abcde" },
        { "abcdef", ControlMarks::Pictures, 5, "abcd…" },
        { "ãçéõ€ü", ControlMarks::Pictures, 4, "ãçé…" },
        { "a\nbcdef", ControlMarks::Pictures, 4, "a␊b…" },
        { "ab\ncd", ControlMarks::Escapes, 6, "ab\\ncd" },
        { "abc\nd", ControlMarks::Escapes, 5, "abc…" },
        { "abcdef", ControlMarks::Escapes, 1, "…" },
        { "abcdef", ControlMarks::Escapes, 0, "" },
    };
    for (const auto& [text, marks, limit, expected] : cases) {
        SCOPED_TRACE(text + " " + std::to_string(limit));
        EXPECT_EQ(displayText(text, marks, limit), expected);
    }
}

} // namespace
