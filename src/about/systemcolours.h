#pragma once

#include <array>
#include <cstdint>

// The 24 colours of the user's desktop scheme, in the platform's system-colour order
// ("Scrollbar", "Background", ... "InfoText"). Each cell packs red + 256 * green +
// 65536 * blue.
using SystemColours = std::array<std::uint32_t, 24>;

// Index of the "Menu" colour, the fill of the cover panel.
inline constexpr int MenuColour = 4;

// Fills every cell from the desktop's palette.
void readPaletteColours(SystemColours& cells);

// Reads the user's colour scheme from the settings file in the program's configuration
// directory, over whatever the cells hold. Returns false when there is no such file or no
// such group; a value that is missing or not three integers leaves its cell as it was.
bool readSystemColours(SystemColours& cells);
