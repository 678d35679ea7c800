#include "about/systemcolours.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr std::uint32_t untouched = 0x00abcdef;

constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red + 256 * green + 65536 * blue;
}

SystemColours filledCells()
{
    SystemColours cells;
    cells.fill(untouched);
    return cells;
}

// Each case writes its own file: QSettings keeps what it read of a path, so a file written
// again under the same name within the same second could be read stale.
class ColourFile : public testing::Test {
protected:
    QString write(const std::string& contents)
    {
        const QString path = directory.filePath(QStringLiteral("colours%1.ini").arg(++count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents.data(), static_cast<qint64>(contents.size()));
        return path;
    }

    QTemporaryDir directory;
    int count = 0;
};

struct TextCase {
    std::string text;
    std::optional<std::uint32_t> menu; // nothing: the cell keeps its value
};

TEST_F(ColourFile, MenuTextGivesItsCell)
{
    const TextCase cases[] = {
        { "255 0 0", 255 }, { "0 0 128", 128u * 65536u }, { "212 208 200", rgb(212, 208, 200) },
        { "192 192 192", rgb(192, 192, 192) }, { "300 -1 0", rgb(44, 255, 0) },
        { "44 255 0", rgb(44, 255, 0) }, { "256 512 -256", 0 },
        { "  7\t8    9 and more", rgb(7, 8, 9) }, { "+1 +2 +3", rgb(1, 2, 3) },
        { "99999999999999999999999 0 0", 255 }, // saturates as strtol does
        { "1 2", std::nullopt }, { "1 2 x3", std::nullopt }, { "abc", std::nullopt },
        { "", std::nullopt }, { "- 1 2 3", std::nullopt },
        { "1,2,3", std::nullopt }, // a list, not a text
        { "@Point(1 2)", std::nullopt }, // a typed value, not a text
        { std::string(58, '0') + "1 2 3", rgb(1, 2, 3) }, // 63 characters
        { std::string(59, '0') + "1 2 3", std::nullopt }, // 64: too long
    };
    for (const TextCase& test : cases) {
        SCOPED_TRACE(test.text);
        SystemColours cells = filledCells();
        const QString path = write("[Control Panel\\Colors]\nMenu=" + test.text + "\n");
        EXPECT_TRUE(readSystemColours(cells, path));
        EXPECT_EQ(cells[MenuColour], test.menu.value_or(untouched));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i != MenuColour) {
                EXPECT_EQ(cells[i], untouched) << "cell " << i;
            }
        }
    }
}

TEST_F(ColourFile, EveryNameFillsItsCell)
{
    // The names in the order of the platform's system colours, written out here on their
    // own so that a slip in the program's table shows.
    const char* const names[24] = { "Scrollbar", "Background", "ActiveTitle", "InactiveTitle",
        "Menu", "Window", "WindowFrame", "MenuText", "WindowText", "TitleText", "ActiveBorder",
        "InactiveBorder", "AppWorkspace", "Hilight", "HilightText", "ButtonFace", "ButtonShadow",
        "GrayText", "ButtonText", "InactiveTitleText", "ButtonHilight", "ButtonDkShadow",
        "ButtonLight", "InfoText" };
    std::string contents = "[Control Panel\\Colors]\n";
    for (int i = 23; i >= 0; --i) {
        contents += std::string(names[i]) + "=" + std::to_string(i) + " " + std::to_string(i + 100)
            + " " + std::to_string(i + 200) + "\n";
    }
    SystemColours cells = filledCells();
    EXPECT_TRUE(readSystemColours(cells, write(contents)));
    for (std::uint32_t i = 0; i < 24; ++i)
        EXPECT_EQ(cells[i], rgb(i, i + 100, i + 200)) << names[i];
}

TEST_F(ColourFile, NamesAreMatchedWithoutRegardToCase)
{
    SystemColours cells = filledCells();
    EXPECT_TRUE(
        readSystemColours(cells, write("[control panel\\COLORS]\nmenu=1 2 3\nHILIGHT=4 5 6\n")));
    EXPECT_EQ(cells[MenuColour], rgb(1, 2, 3));
    EXPECT_EQ(cells[13], rgb(4, 5, 6));
}

TEST_F(ColourFile, OtherSpellingsOfTheGroupAreTheSame)
{
    for (const char* contents : { "[Control Panel/Colors]\nMenu=1 2 3\n",
             "[Control Panel]\nColors\\Menu=1 2 3\n", "[Control%20Panel\\Colors]\nMenu=1 2 3\n" }) {
        SCOPED_TRACE(contents);
        SystemColours cells = filledCells();
        EXPECT_TRUE(readSystemColours(cells, write(contents)));
        EXPECT_EQ(cells[MenuColour], rgb(1, 2, 3));
    }
}

TEST_F(ColourFile, WithoutTheFileOrTheGroupNothingIsRead)
{
    const std::string withoutGroup[] = {
        "",
        "[General]\nMenu=1 2 3\n",
        "[Colors]\nMenu=1 2 3\n",
        "[Control Panel\\Desktop]\nMenu=1 2 3\n",
        "Menu=1 2 3\n",
        "\x01\x02 not an ini file at all \xff\n",
    };
    for (const std::string& contents : withoutGroup) {
        SCOPED_TRACE(contents);
        SystemColours cells = filledCells();
        EXPECT_FALSE(readSystemColours(cells, write(contents)));
        EXPECT_EQ(cells, filledCells());
    }

    SystemColours cells = filledCells();
    EXPECT_FALSE(readSystemColours(cells, directory.filePath(QStringLiteral("missing.ini"))));
    EXPECT_FALSE(readSystemColours(cells, directory.path())); // a directory, not a file
    EXPECT_EQ(cells, filledCells());
}

TEST_F(ColourFile, DefaultFileIsInTheProgramsConfigDirectory)
{
    const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
    const QString oldName = QCoreApplication::applicationName();
    qputenv("XDG_CONFIG_HOME", directory.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-naval"));

    const QString expected = directory.filePath(QStringLiteral("quorvel-naval/colours.ini"));
    EXPECT_EQ(colourSchemePath(), expected);
    SystemColours cells = filledCells();
    EXPECT_FALSE(readSystemColours(cells));
    ASSERT_TRUE(QDir(directory.path()).mkpath(QStringLiteral("quorvel-naval")));
    QFile file(expected);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Control Panel\\Colors]\nMenu=192 192 192\n");
    file.close();
    EXPECT_TRUE(readSystemColours(cells));
    EXPECT_EQ(cells[MenuColour], rgb(192, 192, 192));

    QCoreApplication::setApplicationName(oldName);
    if (oldHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldHome);
}

TEST(PaletteColours, CellsFollowTheDesktopPalette)
{
    const QPalette old = QGuiApplication::palette();
    QPalette palette = old;
    const auto set = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role, int n) {
        palette.setColor(group, role, QColor(n, n + 1, n + 2));
    };
    set(QPalette::All, QPalette::Window, 10);
    set(QPalette::All, QPalette::Base, 20);
    set(QPalette::All, QPalette::Button, 30);
    set(QPalette::All, QPalette::Highlight, 40);
    set(QPalette::All, QPalette::HighlightedText, 50);
    set(QPalette::All, QPalette::Text, 60);
    set(QPalette::Disabled, QPalette::Text, 70);
    set(QPalette::All, QPalette::ButtonText, 80);
    set(QPalette::All, QPalette::ToolTipText, 90);
    set(QPalette::All, QPalette::WindowText, 100);
    set(QPalette::All, QPalette::Shadow, 110);
    set(QPalette::All, QPalette::Light, 120);
    QGuiApplication::setPalette(palette);

    SystemColours cells = filledCells();
    readPaletteColours(cells);
    QGuiApplication::setPalette(old);

    const struct {
        int cell;
        std::uint32_t n;
    } expected[] = {
        { 4, 10 }, // Menu: the window background
        { 5, 20 }, // Window: the base of text views
        { 15, 30 }, // ButtonFace
        { 10, 30 }, // ActiveBorder
        { 13, 40 }, // Hilight
        { 2, 40 }, // ActiveTitle
        { 14, 50 }, // HilightText
        { 9, 50 }, // TitleText
        { 8, 60 }, // WindowText: text on the base
        { 17, 70 }, // GrayText: disabled text
        { 18, 80 }, // ButtonText
        { 23, 90 }, // InfoText
        { 7, 100 }, // MenuText
        { 21, 110 }, // ButtonDkShadow
        { 6, 110 }, // WindowFrame
        { 20, 120 }, // ButtonHilight
    };
    for (const auto& test : expected)
        EXPECT_EQ(cells[static_cast<std::size_t>(test.cell)], rgb(test.n, test.n + 1, test.n + 2))
            << systemColourNames[static_cast<std::size_t>(test.cell)];
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_NE(cells[i], untouched) << systemColourNames[i];
        EXPECT_EQ(cells[i] >> 24, 0u) << systemColourNames[i];
    }
}

} // namespace
