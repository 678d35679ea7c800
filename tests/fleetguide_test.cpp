// The list of ships to place and the rule line under the status, in the window, as a player
// builds the fleet with the mouse against a bare socket.

#include "ui/fleetguide.h"

#include "pixelprobe.h"
#include "screenshot.h"
#include "waituntil.h"

#include "core/fleetgenerator.h"
#include "net/gametexts.h"
#include "ui/boardpainter.h"
#include "ui/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/maindialog.h"

#include <QAbstractButton>
#include <QTcpSocket>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace {

using Rows = std::array<std::string_view, 10>; // top to bottom, '#' a ship cell

GridCell at(std::string_view name) { return { name[1] - '0', name[0] - 'A' }; }

// The window while the fleet is built: it listens, and a bare socket connects.
struct Placing {
    Placing()
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.startConnection(0, 0, QString());
        peer.connectToHost(QHostAddress::LocalHost, dialog.gameSession().listeningPort());
        EXPECT_TRUE(waitUntil([&] { return phase() == GamePhase::Placing; }));
    }
    GamePhase phase() { return dialog.gameSession().engine().phase(); }
    std::string status() { return label()->property("text").toString().toStdString(); }
    QWidget* label() { return dialog.control(IDC_STATUS); }
    bool statusFits() { return label()->heightForWidth(label()->width()) <= label()->height(); }

    // A click on a cell of the own grid, as the player gives it.
    void click(std::string_view cell, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint point(25 + 12 + 25 * at(cell).column, 22 + 25 * at(cell).row);
        QTest::mouseMove(&dialog.canvas(), point);
        QTest::mouseClick(&dialog.canvas(), button, {}, point);
    }
    // Sets the fleet's cells in reading order, the cell named last; or takes them all away.
    void place(const Rows& rows, std::string_view last, Qt::MouseButton button = Qt::LeftButton)
    {
        for (int row = 0; row < 10; ++row)
            for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
                if (rows[row][column] == '#' && GridCell { column, row } != at(last))
                    click(std::string { char('A' + row), char('0' + column) }, button);
        click(last, button);
    }
    MainDialog dialog;
    QTcpSocket peer;
};

// The 25th cell refused: the status keeps "Corrija o jogo..." and says on its own line which
// rule the fleet broke, and where; of two, the one a player mends first. In English too.
TEST(FleetGuide, ARefusedFleetSaysWhichRuleItBreaksAndWhere)
{
    const struct {
        Rows rows;
        const char* last;
        const char* line;
    } refusals[] = {
        { { "", ".###.####.", "..#", "..#......#", "....##...#", "#........#", "#.##....#.", "#",
              "......##", "#...#....#" },
            "G8", "Barcos a tocar-se em F9 e G8." },
        { { ".....#..#.", ".###.####.", "..#", "..#......#", "....##...#", "#......#.#", "#.##",
              "#", "......##", ".........#" },
            "J9", "Barco de 6 canos em A5: o máximo é 5." },
        { { "..#", "..#..####.", "..#", "..#......#", "..#.##...#", "#......#.#", "#.##", "#",
              "......##", "#...#....#" },
            "J9", "O barco de 5 em A2 não é um T." },
        { { "", ".###.####.", "..#", "..#......#", "....##...#", "#......#.#", "#.##", "#",
              "......##", "..##.....#" },
            "J3", "Barcos de 2: 4 em vez de 3 (E4, G2, I6, J2)." },
        // Touching, and a two split into singles.
        { { "", ".###.####.", "..#", "..#......#", "....##...#", "#........#", "#.#.#...#.", "#",
              "......##", "#...#....#" },
            "J9", "Barcos a tocar-se em F9 e G8." },
    };
    Placing window;
    for (const auto& refusal : refusals) {
        window.place(refusal.rows, refusal.last);
        EXPECT_EQ(window.status(), std::string("Corrija o jogo...\n") + refusal.line);
        EXPECT_TRUE(window.statusFits()) << refusal.line;
        window.place(refusal.rows, refusal.last, Qt::RightButton);
        EXPECT_EQ(window.status(), "Coloque o cano 1") << refusal.line;
    }

    QTranslator* english = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(english, nullptr);
    window.place(refusals[3].rows, refusals[3].last);
    EXPECT_EQ(
        window.status(), "Correct the fleet...\nShips of 2: 4 instead of 3 (E4, G2, I6, J2).");
    EXPECT_TRUE(window.statusFits());
    QCoreApplication::removeTranslator(english);
    delete english;

    // A cell clicked beside a generated fleet of 25, clear of its ships, is a single too many.
    window.place(refusals[3].rows, refusals[3].last, Qt::RightButton);
    static_cast<QAbstractButton*>(window.dialog.control(IDC_RANDOMIZE))->click();
    const Board& fleet = window.dialog.gameSession().engine().ownBoard();
    std::string clear;
    for (int row = 0; row < 10 && clear.empty(); ++row)
        for (int column = 0; column < 10 && clear.empty(); ++column)
            if (isClearAround(column, row, fleet))
                clear = { char('A' + row), char('0' + column) };
    ASSERT_FALSE(clear.empty());
    window.click(clear);
    EXPECT_TRUE(window.status().starts_with("Corrija o jogo...\nBarcos de 1: 5 em vez de 4 ("))
        << window.status();
    EXPECT_TRUE(window.statusFits());
}

// While placing by hand, a rule already broken shows under the count of cells, or under the
// opponent's news, until it is mended or the match is gone.
TEST(FleetGuide, ARuleBrokenWhilePlacingShowsUnderTheCountUntilMended)
{
    Placing window;
    window.click("B1");
    window.click("C2");
    EXPECT_EQ(window.status(), "Coloque o cano 3\nBarcos a tocar-se em B1 e C2.");
    window.click("C1"); // joins them into one ship of three
    EXPECT_EQ(window.status(), "Coloque o cano 4");
    window.click("C1", Qt::RightButton);
    window.click("C2", Qt::RightButton);
    EXPECT_EQ(window.status(), "Coloque o cano 2");

    window.place({ "", "", "", "...#####" }, "D7"); // no more cells can make it a T
    EXPECT_EQ(window.status(), "Coloque o cano 7\nO barco de 5 em D3 não é um T.");
    window.click("D8");
    EXPECT_EQ(window.status(), "Coloque o cano 8\nBarco de 6 canos em D3: o máximo é 5.");
    window.peer.write("$READY$ &RANDOMIZED");
    ASSERT_TRUE(waitUntil([&] { return window.status().starts_with("O outro"); }));
    EXPECT_EQ(window.status(),
        "O outro jogador randomizou o jogo e está pronto.\nBarco de 6 canos em D3: o máximo é "
        "5.");
    EXPECT_TRUE(window.statusFits());
    saveScreenshot(window.dialog, "placing-news");
    window.place({ "", "", "", "...##" }, "D4", Qt::RightButton);
    EXPECT_EQ(window.status(), "Coloque o cano 6");

    window.click("C2");
    window.peer.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return window.phase() == GamePhase::Idle; }));
    EXPECT_EQ(window.status().find("Barcos"), std::string::npos) << window.status();
}

// The list shows only while the fleet is built, and ticks the ships that stand. A ticked ship
// is filled with the ship colour and has its tick; one still to place shows as sea, with none.
TEST(FleetGuide, TheListTicksTheShipsThatStandWhileTheFleetIsBuilt)
{
    Placing window;
    const FleetGuide& guide = window.dialog.fleetGuide();
    EXPECT_TRUE(guide.isVisible());
    EXPECT_EQ(guide.count(), FleetCount {});

    // The T, the four, a two and two singles; a third single touches the four at a corner, so
    // neither counts.
    window.place({ "", ".###.####.", "..#......#", "..#", "....##", "", "#.#" }, "C9");
    EXPECT_EQ(guide.count().ships, (std::array { 0, 2, 1, 0, 0, 1 }));
    saveScreenshot(window.dialog, "placing");
    window.dialog.canvas().drawPending(); // the grids beneath the list as they stand
    const QImage picture = window.dialog.page()->grab().toImage();
    const auto pixel = [&](const QRect& area) {
        const QPoint centre = guide.pos() + area.center();
        return logicalPixel(picture, centre.x(), centre.y());
    };
    EXPECT_EQ(pixel(FleetGuide::firstCell(2, 0)), BoardPainter::cellColour(CellShip, 0, 0));
    EXPECT_EQ(pixel(FleetGuide::firstCell(2, 1)), BoardPainter::cellColour(CellEmpty, 0, 0));
    const auto inked = [&](const QRect& area) {
        const QRect on = area.translated(guide.pos());
        for (int y = on.top(); y <= on.bottom(); ++y)
            for (int x = on.left(); x <= on.right(); ++x)
                if (logicalPixel(picture, x, y) != window.dialog.canvas().coverColour().rgb())
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(FleetGuide::tickArea(2, 0)));
    EXPECT_FALSE(inked(FleetGuide::tickArea(2, 1)));

    QTest::mouseClick(window.dialog.control(IDC_RANDOMIZE), Qt::LeftButton);
    EXPECT_EQ(guide.count().ships, FleetShipsOfSize);
    QTest::mouseClick(window.dialog.control(IDC_ACCEPT), Qt::LeftButton);
    EXPECT_EQ(window.phase(), GamePhase::Ready);
    EXPECT_FALSE(guide.isVisible());
}

} // namespace
