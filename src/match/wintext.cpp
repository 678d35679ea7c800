#include "wintext.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// An iconv conversion descriptor, closed when it goes out of scope.
class Converter {
public:
    Converter(const char* to, const char* from)
        : descriptor(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (valid())
            iconv_close(descriptor);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return descriptor != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false on an input sequence it cannot convert,
    // leaving in and inLeft at that sequence.
    bool convert(const char*& in, size_t& inLeft, std::string& out)
    {
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result
                = iconv(descriptor, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            if (result == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t descriptor;
};

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray byte.
size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::string toWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    Converter converter("WINDOWS-1252", "UTF-8");
    if (!converter.valid()) {
        for (char c : utf8)
            out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return out;
    }
    const char* in = utf8.data();
    size_t inLeft = utf8.size();
    while (!converter.convert(in, inLeft, out)) {
        out += '?';
        // The sequence is its lead byte and the continuation bytes that follow it, so that a
        // sequence cut short does not take the next character with it.
        const size_t length = std::min(inLeft, sequenceLength(static_cast<unsigned char>(*in)));
        size_t skip = 1;
        while (skip < length && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
            ++skip;
        in += skip;
        inLeft -= skip;
    }
    return out;
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    Converter converter("UTF-8", "WINDOWS-1252");
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    while (!converter.valid() || !converter.convert(in, inLeft, out)) {
        if (inLeft == 0)
            break;
        const unsigned char byte = static_cast<unsigned char>(*in);
        if (byte < 0x80)
            out += static_cast<char>(byte);
        else
            out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
    }
    return out;
}
