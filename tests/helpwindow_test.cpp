#include "core/fleetrules.h"
#include "ui/helpwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTranslator>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

// The scheme's menu colour is (1, 2, 3), no colour of the grids.
SystemColours scheme()
{
    SystemColours colours {};
    colours[MenuColour] = 1 + 256 * 2 + 65536 * 3;
    return colours;
}

// The window in either language: its title, icon and size, its section headings, and the
// game's captions as the game window shows them in that language. With QUORVEL_SHOTS_DIR
// set, it is saved there as the player sees it, for a person to look at.
TEST(HelpWindow, SpeaksThePlayersLanguage)
{
    const struct {
        const char* translation; // none: the Portuguese of the sources
        const char* shot;
        const char* title;
        const char* headings;
        std::vector<const char*> present;
        std::vector<const char*> absent;
    } languages[] = {
        { nullptr, "help_pt.png", "Como jogar",
            "A esquadra|Regras da colocação|Construir a esquadra|Os tiros|Cores e marcas|"
            "O teclado|Jogar com um amigo|Jogar contra o computador",
            { "Servidor", "Escutar", "Cliente", "Conectar", "Randomize", "Aceitar", "Fechar COM",
                "Fácil", "Difícil", "Corrija o jogo...", "[ Eu=1 , Adv=0 ]" },
            { "Listen", "Accept" } },
        { ":/i18n/quorvel_en.qm", "help_en.png", "How to play",
            "The fleet|Placing the ships|Building your fleet|Firing|Colours and marks|"
            "The keyboard|Playing a friend|Playing the computer",
            { "Server", "Listen", "Client", "Connect", "Randomize", "Accept", "Close COM", "Easy",
                "Hard", "Correct the fleet...", "[ Me=1 , Opp=0 ]" },
            { "Escutar", "Aceitar", "barco", "canos", "Jogo" } },
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.title);
        QTranslator translator;
        if (language.translation) {
            ASSERT_TRUE(translator.load(QString::fromLatin1(language.translation)));
            ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
        }
        HelpWindow window(scheme(), nullptr);
        QCoreApplication::removeTranslator(&translator);

        EXPECT_TRUE(window.isWindow() && !window.isModal() && window.browser()->isReadOnly());
        EXPECT_EQ(window.windowTitle().toStdString(), language.title);
        EXPECT_FALSE(window.windowIcon().isNull());
        // The offscreen screen is 600 pixels high: the window leaves room for its frame.
        EXPECT_EQ(window.width(), 520);
        EXPECT_LE(window.height(), window.screen()->availableGeometry().height() * 9 / 10);
        EXPECT_GE(window.height(), 500);
        QStringList headings;
        const QTextDocument& document = *window.browser()->document();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            if (block.blockFormat().headingLevel() == 3)
                headings << block.text();
        EXPECT_EQ(headings.join(QLatin1Char('|')).toStdString(), language.headings);
        const QString text = document.toPlainText();
        for (const char* word : language.present)
            EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
        for (const char* word : language.absent)
            EXPECT_FALSE(text.contains(QString::fromUtf8(word))) << word;

        window.show();
        if (const QString directory = qEnvironmentVariable("QUORVEL_SHOTS_DIR");
            !directory.isEmpty())
            window.grab().save(QDir(directory).filePath(QString::fromLatin1(language.shot)));
    }
}

// Pixels of ships, sea and water inside the cells' outlines. Each row of a grid is five steps
// brighter than the one above, each column one brighter than the one to its left, so a kind
// of cell is told by how its channels stand to one another: ships are 200, 50, 50 brightened,
// sea 20, 20, 100, water 50, 50, 255. The outline, (100, 100, 255), marks the grid's extent
// (and has the colour of water a few rows down, so it is left out); cells are 25 pixels apart
// and hold 24 by 24 pixels inside their outline, 576.
constexpr QRgb Outline = qRgb(100, 100, 255);

bool isShip(QRgb p)
{
    return qRed(p) - qGreen(p) == 150 && qGreen(p) == qBlue(p) && qGreen(p) >= 50
        && qGreen(p) <= 104;
}

std::array<int, 3> countInsideCells(const QImage& picture)
{
    QRect grid;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) | 0xff000000u) == Outline)
                grid |= QRect(x, y, 1, 1);
    std::array<int, 3> counts {};
    for (int top = grid.top(); top + 25 <= grid.bottom(); top += 25)
        for (int left = grid.left(); left + 25 <= grid.right(); left += 25)
            for (int y = top + 1; y < top + 25; ++y)
                for (int x = left + 1; x < left + 25; ++x) {
                    const QRgb p = picture.pixel(x, y);
                    const bool grey = qRed(p) == qGreen(p);
                    counts[0] += isShip(p);
                    counts[1] += grey && qBlue(p) - qRed(p) == 80 && qRed(p) >= 20 && qRed(p) <= 74;
                    counts[2] += grey && qBlue(p) == 255 && qRed(p) >= 50 && qRed(p) <= 104;
                }
    return counts;
}

TEST(HelpWindow, ThePicturesShowTheFleetAndTheShots)
{
    EXPECT_TRUE(validateFleet(HelpWindow::exampleFleet()));
    HelpWindow window(scheme(), nullptr);
    const QString html = window.browser()->document()->toHtml();
    const struct {
        QUrl name;
        QSize size;
        std::array<int, 3> pixels; // of ships, sea and water
    } pictures[] = {
        // The eleven ships, 25 cells, in the sea of a whole grid.
        { HelpWindow::fleetPicture, QSize(281, 286), { 25 * 576, 75 * 576, 0 } },
        // The four T's, five cells each, in boxes of nine.
        { HelpWindow::teePicture, QSize(376, 76), { 20 * 576, 16 * 576, 0 } },
        // A three sunk, twelve cells of water around it, two hits and three misses.
        { HelpWindow::shotsPicture, QSize(281, 286), { 5 * 576, 80 * 576, 15 * 576 } },
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name.toString().toStdString());
        EXPECT_TRUE(html.contains(picture.name.toString()));
        const QImage image = window.picture(picture.name);
        EXPECT_EQ(image.size(), picture.size);
        EXPECT_EQ(countInsideCells(image), picture.pixels);
    }

    // The fleet's ships lie where the fleet has them: its grid's first cell at (17, 4).
    const QImage fleet = window.picture(HelpWindow::fleetPicture);
    const Board board = HelpWindow::exampleFleet();
    for (int column = 0; column < Board::Size; ++column)
        for (int row = 0; row < Board::Size; ++row)
            EXPECT_EQ(isShip(fleet.pixel(18 + 25 * column, 5 + 25 * row)),
                board.getCell(column, row) == CellShip)
                << column << ", " << row;

    // The marks: one cell each at a grid's top-left corner, outlined; the panel bare.
    const struct {
        const char* name;
        QRgb inside;
        QRgb outline;
    } swatches[] = {
        { "sea", qRgb(20, 20, 100), Outline },
        { "ship", qRgb(200, 50, 50), Outline },
        { "hit", qRgb(255, 200, 20), Outline },
        { "water", qRgb(50, 50, 255), Outline },
        { "revealed", qRgb(150, 150, 160), Outline },
        { "cover", qRgb(30, 100, 30), Outline },
        { "highlighted", qRgb(30, 30, 79), qRgb(200, 200, 0) },
        { "panel", qRgb(1, 2, 3), qRgb(1, 2, 3) },
    };
    for (const auto& swatch : swatches) {
        const QString name = QStringLiteral("quorvel:%1.png").arg(QLatin1String(swatch.name));
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(html.contains(name));
        const QImage image = window.picture(QUrl(name));
        ASSERT_EQ(image.size(), QSize(26, 26));
        EXPECT_EQ(image.pixel(12, 12) | 0xff000000u, swatch.inside);
        EXPECT_EQ(image.pixel(0, 0) | 0xff000000u, swatch.outline);
        EXPECT_EQ(image.pixel(25, 25) | 0xff000000u, swatch.outline);
    }
}

// The owner keeps one window: presenting it again shows that one, in front, however it was
// put away; Escape closes it; it goes with its parent.
TEST(HelpWindow, OneWindowShownAgain)
{
    auto parent = std::make_unique<QWidget>();
    QPointer<HelpWindow> kept;
    HelpWindow* first = HelpWindow::present(kept, scheme(), parent.get());
    ASSERT_TRUE(first != nullptr && kept == first);
    EXPECT_TRUE(first->isVisible() && first->isWindow());
    EXPECT_EQ(first->parentWidget(), parent.get());
    EXPECT_EQ(HelpWindow::present(kept, scheme(), parent.get()), first);

    first->showMinimized();
    first->close();
    EXPECT_EQ(HelpWindow::present(kept, scheme(), parent.get()), first);
    EXPECT_TRUE(first->isVisible() && !first->isMinimized());
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first->browser(), Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(parent->findChildren<HelpWindow*>().size(), 1);

    parent.reset();
    EXPECT_TRUE(kept.isNull());
}

} // namespace
