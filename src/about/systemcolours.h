#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

// The 24 colours of the user's desktop scheme, in the platform's system-colour order
// ("Scrollbar", "Background", ... "InfoText"). Each cell packs red + 256 * green +
// 65536 * blue.
using SystemColours = std::array<std::uint32_t, 24>;

// The colour a cell holds.
inline QColor cellColour(std::uint32_t cell)
{
    return QColor(static_cast<int>(cell & 255u), static_cast<int>((cell >> 8) & 255u),
        static_cast<int>((cell >> 16) & 255u));
}

// Index of the "Menu" colour, the fill of the cover panel.
inline constexpr int MenuColour = 4;

// The value names of the colour scheme, in cell order.
inline constexpr std::array<const char*, 24> systemColourNames = {
    "Scrollbar",
    "Background",
    "ActiveTitle",
    "InactiveTitle",
    "Menu",
    "Window",
    "WindowFrame",
    "MenuText",
    "WindowText",
    "TitleText",
    "ActiveBorder",
    "InactiveBorder",
    "AppWorkspace",
    "Hilight",
    "HilightText",
    "ButtonFace",
    "ButtonShadow",
    "GrayText",
    "ButtonText",
    "InactiveTitleText",
    "ButtonHilight",
    "ButtonDkShadow",
    "ButtonLight",
    "InfoText",
};

// Fills every cell from the desktop's palette (the application's QPalette), so that the
// cells have sensible values when the user keeps no colour scheme of the game's own.
// Needs a QGuiApplication.
void readPaletteColours(SystemColours& cells);

// Reads the user's colour scheme from the settings file in the program's configuration
// directory, over whatever the cells hold. Returns false when there is no such file or no
// such group; a value that is missing or not three integers leaves its cell as it was.
//
// The file is colours.ini in QStandardPaths::AppConfigLocation, which for the application
// name "quorvel-naval" is ~/.config/quorvel-naval/colours.ini (or
// $XDG_CONFIG_HOME/quorvel-naval/colours.ini). It is an INI file with one group,
// [Control Panel\Colors], holding any of the 24 names above, each set to three decimal
// integers red, green and blue separated by white space; each component keeps its low
// 8 bits, so 300 reads as 44 and -1 as 255. Group and value names are matched without
// regard to case. For example:
//
//     [Control Panel\Colors]
//     Menu=192 192 192
//     ButtonFace=212 208 200
//     Hilight=10 36 106
//     HilightText=255 255 255
//
// A value that holds fewer than three integers, is a list (has a comma) or a typed value
// ("@Point(1 2)"), or is 64 characters or longer is skipped. A file larger than 64 KiB, or
// one that is no plain file (a pipe, a device), is not read: the cells stay as they were,
// and the result is false.
bool readSystemColours(SystemColours& cells);

// The same from the INI file at filePath.
bool readSystemColours(SystemColours& cells, const QString& filePath);

// Where readSystemColours(cells) looks: colours.ini in the program's configuration
// directory.
QString colourSchemePath();
