#include "displaytext.h"

#include <utility>

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// The code point that starts at bytes[at], and its length in bytes; U+FFFD and 1 when the
// bytes there are not valid UTF-8 (a stray or missing continuation byte, an overlong form,
// a surrogate, beyond U+10FFFF).
std::pair<char32_t, std::size_t> decode(std::string_view bytes, std::size_t at)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return { lead, 1 };
    std::size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return { Replacement, 1 };
    }
    if (bytes.size() - at < length)
        return { Replacement, 1 };
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return { Replacement, 1 };
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return { Replacement, 1 };
    return { c, length };
}

void append(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string escape(char32_t control)
{
    switch (control) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        break;
    }
    constexpr char hex[] = "0123456789abcdef";
    std::string out = control < 0x80 ? "\\x" : "\\u";
    for (int shift = control < 0x80 ? 4 : 12; shift >= 0; shift -= 4)
        out += hex[(control >> shift) & 0xF];
    return out;
}

char32_t picture(char32_t control)
{
    if (control < 0x20)
        return 0x2400 + control;
    if (control == 0x7F)
        return 0x2421;
    if (control == 0x2028 || control == 0x2029)
        return 0x2424;
    return Replacement;
}

} // namespace

std::string displayText(std::string_view utf8, ControlMarks marks, std::size_t maxCharacters)
{
    std::string out;
    if (maxCharacters == 0)
        return out;
    out.reserve(utf8.size());
    std::size_t characters = 0;
    std::size_t cut = std::string::npos; // where the ellipsis goes if the text is too long
    std::string piece;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto [c, length] = decode(utf8, at);
        at += length;
        piece.clear();
        std::size_t pieceCharacters = 1;
        if (!isControl(c)) {
            append(piece, c);
        } else if (marks == ControlMarks::Escapes) {
            piece = escape(c);
            pieceCharacters = piece.size();
        } else {
            append(piece, picture(c));
        }
        if (cut == std::string::npos && characters + pieceCharacters > maxCharacters - 1)
            cut = out.size();
        if (characters + pieceCharacters > maxCharacters) {
            out.resize(cut);
            out += "…";
            return out;
        }
        out += piece;
        characters += pieceCharacters;
    }
    return out;
}
