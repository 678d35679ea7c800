#pragma once

#include <string>
#include <string_view>

// The wire carries Windows-1252; inside the program all text is UTF-8. These are the only
// two places where text changes its encoding.

// A character that Windows-1252 lacks, or a byte that is not valid UTF-8, becomes '?'.
std::string toWindows1252(std::string_view utf8);

// A byte that Windows-1252 leaves undefined becomes U+FFFD.
std::string fromWindows1252(std::string_view bytes);
