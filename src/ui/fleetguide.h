#pragma once

#include "core/board.h"
#include "core/fleetrules.h"
#include "match/matchstate.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

// What is left to place while the fleet is built: the eleven ships drawn as little rows of
// cells in the grids' colours (the five as a T), each filled with the ship colour and ticked
// once a legal ship of its size stands on the own grid, and the rule the fleet breaks, in
// the player's words and naming its cells, for the window to show under the status. It
// lies over the cover panel while the fleet is built and is hidden otherwise; clicks go
// through it. Nothing is judged here: the fleet rules count the ships and find the rule.
class FleetGuide : public QWidget {
    Q_OBJECT

public:
    explicit FleetGuide(QWidget* parent);

    // Shown while placing, with the fleet as it stands; otherwise hidden, with no rule.
    void showPhase(GamePhase phase, const Board& fleet);
    // The fleet as it stands after a change. With the 25th cell the engine refused and took
    // away again, the fleet is judged with that cell in place, as the engine judged it.
    void showFleet(const Board& fleet, std::optional<GridCell> refused = std::nullopt);

    const FleetCount& count() const { return ships; }
    // The rule the fleet breaks, or nothing.
    const QString& ruleLine() const { return rule; }
    // A rule broken, in a line: "Barcos a tocar-se em C4 e D5." Cells are named as the grid
    // labels them, the row's letter first.
    static QString describe(const FleetProblem& problem);

    // Where the list draws the first cell of the nth ship (from 0) of a size, and its tick.
    static QRect firstCell(int size, int nth);
    static QRect tickArea(int size, int nth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FleetCount ships;
    QString rule;
};
