#include "about/systemcolours.h"

#include <QCoreApplication>
#include <QFile>
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

} // namespace
