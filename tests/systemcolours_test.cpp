#include "about/systemcolours.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr std::uint32_t untouched = 0x00abcdef;

constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red + 256 * green + 65536 * blue;
}

class ColourFile : public testing::Test {
protected:
    // Reads a scheme into cells all `untouched`; a fresh name each time, as QSettings caches.
    bool read(const std::string& contents)
    {
        const QString path = directory.filePath(QStringLiteral("colours%1.ini").arg(++count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents.data(), static_cast<qint64>(contents.size()));
        file.close();
        cells.fill(untouched);
        return readSystemColours(cells, path);
    }
    long untouchedCells() const { return std::count(cells.begin(), cells.end(), untouched); }

    QTemporaryDir directory;
    int count = 0;
    SystemColours cells;
};

// Each component keeps its low 8 bits; fewer than three integers, a list, a typed value or 64
// characters or more leave the cell alone. Any spelling of the names, in any case, will do.
TEST_F(ColourFile, ValueTextGivesTheCell)
{
    const struct {
        std::string text;
        std::optional<std::uint32_t> menu;
    } cases[] = { { "255 0 0", 255 }, { "0 0 128", 128u * 65536u },
        { "212 208 200", rgb(212, 208, 200) }, { "300 -1 0", rgb(44, 255, 0) },
        { "256 512 -256", 0 }, { "  7\t8    9 and more", rgb(7, 8, 9) },
        { "+1 +2 +3", rgb(1, 2, 3) }, { "99999999999999999999999 0 0", 255 }, // as strtol
        { "1 2", std::nullopt }, { "abc", std::nullopt }, { "", std::nullopt },
        { "1,2,3", std::nullopt }, { "@Point(1 2)", std::nullopt },
        { std::string(58, '0') + "1 2 3", rgb(1, 2, 3) },
        { std::string(59, '0') + "1 2 3", std::nullopt } };
    const std::string groups[] = { "[Control Panel\\Colors]", "[Control Panel/Colors]",
        "[control panel\\COLORS]", "[Control%20Panel\\Colors]" };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(groups[i % 4] + c.text);
        EXPECT_TRUE(read(groups[i % 4] + (i % 2 ? "\nmenu=" : "\nMenu=") + c.text + "\n"));
        EXPECT_EQ(cells[MenuColour], c.menu.value_or(untouched));
        EXPECT_EQ(untouchedCells(), c.menu ? 23 : 24);
    }
}

// The names in the platform's order, written out on their own so a slip in the table shows.
TEST_F(ColourFile, EveryNameFillsItsCell)
{
    const char* const names[24] = { "Scrollbar", "Background", "ActiveTitle", "InactiveTitle",
        "Menu", "Window", "WindowFrame", "MenuText", "WindowText", "TitleText", "ActiveBorder",
        "InactiveBorder", "AppWorkspace", "Hilight", "HilightText", "ButtonFace", "ButtonShadow",
        "GrayText", "ButtonText", "InactiveTitleText", "ButtonHilight", "ButtonDkShadow",
        "ButtonLight", "InfoText" };
    std::string contents = "[Control Panel\\Colors]\n";
    for (int i = 23; i >= 0; --i)
        contents += std::string(names[i]) + "=" + std::to_string(i) + " 7 7\n";
    ASSERT_TRUE(read(contents));
    for (std::uint32_t i = 0; i < 24; ++i)
        EXPECT_EQ(cells[i], rgb(i, 7, 7)) << names[i];
}

TEST_F(ColourFile, WithoutTheFileOrTheGroupNothingIsRead)
{
    for (const char* contents : { "", "[General]\nMenu=1 2 3\n", "[Colors]\nMenu=1 2 3\n",
             "[Control Panel\\Desktop]\nMenu=1 2 3\n", "Menu=1 2 3\n",
             "\x01\x02 not an ini file at all \xff\n" }) {
        SCOPED_TRACE(contents);
        EXPECT_FALSE(read(contents));
        EXPECT_EQ(untouchedCells(), 24);
    }
    EXPECT_FALSE(readSystemColours(cells, directory.filePath(QStringLiteral("missing.ini"))));
    EXPECT_FALSE(readSystemColours(cells, directory.path())); // a directory, not a file
    // Nor is there yet a colours.ini in the program's configuration directory.
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", directory.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-naval"));
    EXPECT_EQ(colourSchemePath(), directory.filePath(QStringLiteral("quorvel-naval/colours.ini")));
    EXPECT_FALSE(readSystemColours(cells));
    qputenv("XDG_CONFIG_HOME", home);
    EXPECT_EQ(untouchedCells(), 24);
}

// A file larger than 64 KiB is not read at all: one could hold a typed value nested deep
// enough to overflow the stack as it is decoded. The deepest that fits is only skipped.
TEST_F(ColourFile, LargeFilesAreNotRead)
{
    // A list in a list, as deep as fits, each level its type and length in 8 bytes.
    const std::string start = "[Control Panel\\Colors]\nHilight=4 5 6\nMenu=@Variant(";
    const std::string level("\0\0\0\x09\0\0\0\x01", 8);
    const std::string end = std::string("\0\0\0\x09\0\0\0\0)\n", 10);
    std::string deep = start;
    while (deep.size() + level.size() + end.size() <= 64 * 1024)
        deep += level;
    EXPECT_TRUE(read(deep + end));
    EXPECT_EQ(cells[13], rgb(4, 5, 6));
    EXPECT_EQ(untouchedCells(), 23);
    EXPECT_FALSE(read(deep + level + end));
    EXPECT_EQ(untouchedCells(), 24);
}

// The desktop's palette, every role a colour of its own, disabled text another.
const std::pair<QPalette::ColorRole, QColor> desktopRoles[] = {
    { QPalette::Midlight, QColor(1, 2, 3) },
    { QPalette::Mid, QColor(4, 5, 6) },
    { QPalette::Highlight, QColor(7, 8, 9) },
    { QPalette::Dark, QColor(10, 11, 12) },
    { QPalette::Window, QColor(13, 14, 15) },
    { QPalette::Base, QColor(16, 17, 18) },
    { QPalette::Shadow, QColor(19, 20, 21) },
    { QPalette::WindowText, QColor(22, 23, 24) },
    { QPalette::Text, QColor(25, 26, 27) },
    { QPalette::HighlightedText, QColor(28, 29, 30) },
    { QPalette::Button, QColor(31, 32, 33) },
    { QPalette::ButtonText, QColor(34, 35, 36) },
    { QPalette::Light, QColor(37, 38, 39) },
    { QPalette::ToolTipText, QColor(40, 41, 42) },
};
constexpr std::uint32_t disabledText = rgb(43, 44, 45);

// What each of the 24 cells takes from that palette.
constexpr SystemColours fromDesktop = {
    rgb(1, 2, 3), // Scrollbar: midlight
    rgb(4, 5, 6), // Background: mid
    rgb(7, 8, 9), // ActiveTitle: highlight
    rgb(10, 11, 12), // InactiveTitle: dark
    rgb(13, 14, 15), // Menu: window
    rgb(16, 17, 18), // Window: base
    rgb(19, 20, 21), // WindowFrame: shadow
    rgb(22, 23, 24), // MenuText: window text
    rgb(25, 26, 27), // WindowText: text
    rgb(28, 29, 30), // TitleText: highlighted text
    rgb(31, 32, 33), // ActiveBorder: button
    rgb(31, 32, 33), // InactiveBorder: button
    rgb(10, 11, 12), // AppWorkspace: dark
    rgb(7, 8, 9), // Hilight: highlight
    rgb(28, 29, 30), // HilightText: highlighted text
    rgb(31, 32, 33), // ButtonFace: button
    rgb(10, 11, 12), // ButtonShadow: dark
    disabledText, // GrayText: disabled text
    rgb(34, 35, 36), // ButtonText: button text
    rgb(1, 2, 3), // InactiveTitleText: midlight
    rgb(37, 38, 39), // ButtonHilight: light
    rgb(19, 20, 21), // ButtonDkShadow: shadow
    rgb(1, 2, 3), // ButtonLight: midlight
    rgb(40, 41, 42), // InfoText: tool tip text
};

// Where the settings file is silent (no file, no value in its group, one name missing) each
// cell keeps the colour the desktop's palette gave it.
TEST_F(ColourFile, WhereTheFileIsSilentTheDesktopsColoursStay)
{
    const QPalette original = QGuiApplication::palette();
    QPalette desktop;
    for (const auto& [role, colour] : desktopRoles)
        desktop.setColor(role, colour);
    desktop.setColor(QPalette::Disabled, QPalette::Text, QColor(43, 44, 45));
    QGuiApplication::setPalette(desktop);

    std::string everyNameButMenu = "[Control Panel\\Colors]\n";
    for (std::size_t i = 0; i < 24; ++i) {
        if (i != MenuColour)
            everyNameButMenu
                += std::string(systemColourNames[i]) + "=200 200 " + std::to_string(i) + "\n";
    }
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::uint32_t menu;
        bool othersFromFile; // else from the desktop
    } cases[] = {
        { "no file", std::nullopt, rgb(13, 14, 15), false },
        { "an empty group", "[Control Panel\\Colors]\n", rgb(13, 14, 15), false },
        { "the menu alone", "[Control Panel\\Colors]\nMenu=1 2 3\n", rgb(1, 2, 3), false },
        { "every name but the menu", everyNameButMenu, rgb(13, 14, 15), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = directory.filePath(QStringLiteral("silent%1.ini").arg(++count));
        if (c.file) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.file->data(), static_cast<qint64>(c.file->size()));
        }
        cells.fill(untouched);
        readPaletteColours(cells);
        readSystemColours(cells, path);
        EXPECT_EQ(cells[MenuColour], c.menu);
        for (std::uint32_t i = 0; i < 24; ++i) {
            if (i == MenuColour)
                continue;
            EXPECT_EQ(cells[i], c.othersFromFile ? rgb(200, 200, i) : fromDesktop[i])
                << systemColourNames[i];
        }
    }
    QGuiApplication::setPalette(original);
}

} // namespace
