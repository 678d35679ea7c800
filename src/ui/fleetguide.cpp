#include "fleetguide.h"

#include "boardpainter.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

// The list's cells are little squares of the grid's kind, sharing their border lines.
constexpr int Pitch = 12;
constexpr int HeadingHeight = 18;
constexpr int TickWidth = 11;

// Where each ship stands: the T and the four on the left, the threes, twos and singles in
// rows on the right. The T's bar is on top, its stem down from the middle.
struct Slot {
    int size;
    int nth;
    QPoint at; // the first cell's corner, below the heading
};
constexpr std::array<Slot, 11> slots { {
    { 5, 0, { 0, 0 } },
    { 4, 0, { 0, 43 } },
    { 3, 0, { 80, 0 } },
    { 3, 1, { 142, 0 } },
    { 2, 0, { 80, 22 } },
    { 2, 1, { 130, 22 } },
    { 2, 2, { 180, 22 } },
    { 1, 0, { 80, 43 } },
    { 1, 1, { 118, 43 } },
    { 1, 2, { 156, 43 } },
    { 1, 3, { 194, 43 } },
} };

// The cells of a ship, as offsets in cells from its first.
std::vector<QPoint> shapeOf(int size)
{
    if (size == LargestFleetShip)
        return { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 1, 1 }, { 1, 2 } };
    std::vector<QPoint> cells;
    for (int i = 0; i < size; ++i)
        cells.push_back({ i, 0 });
    return cells;
}

int barLength(int size) { return size == LargestFleetShip ? 3 : size; }

// As the player reads it off the grid, which letters the rows and numbers the columns ("C4":
// row C, column 4); the wire letters the column instead.
QString cellName(GridCell cell)
{
    return QChar(static_cast<char16_t>(u'A' + cell.row)) + QString::number(cell.column);
}

// The first few cells, so that the line fits the status box.
QString cellNames(const std::vector<GridCell>& cells)
{
    constexpr std::size_t named = 4;
    QStringList names;
    for (std::size_t i = 0; i < cells.size() && i < named; ++i)
        names << cellName(cells[i]);
    return names.join(QStringLiteral(", "))
        + (cells.size() > named ? QStringLiteral("…") : QString());
}

} // namespace

FleetGuide::FleetGuide(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(224, HeadingHeight + 43 + Pitch + 1);
    hide();
}

void FleetGuide::showPhase(GamePhase phase, const Board& fleet)
{
    const bool placing = phase == GamePhase::Placing;
    setVisible(placing);
    if (placing)
        showFleet(fleet);
    else
        rule.clear();
}

void FleetGuide::showFleet(const Board& fleet, std::optional<GridCell> refused)
{
    Board judged = fleet;
    if (refused)
        judged.setCell(*refused, CellShip);
    int placed = 0;
    for (const std::uint8_t cell : judged.cells)
        placed += cell == CellShip ? 1 : 0;
    ships = countShips(fleet);
    // A cell beyond the 25th, beside a generated fleet, is judged with the whole fleet.
    rule = describe(findProblem(judged, placed >= FleetCellCount));
    update();
}

QString FleetGuide::describe(const FleetProblem& problem)
{
    const QString first = problem.cells.empty() ? QString() : cellName(problem.cells.front());
    switch (problem.fault) {
    case FleetFault::None:
        break;
    case FleetFault::ShipTooLong:
        return tr("Barco de %1 canos em %2: o máximo é 5.").arg(problem.size).arg(first);
    case FleetFault::ShipsTouch:
        return tr("Barcos a tocar-se em %1 e %2.").arg(first, cellName(problem.cells.back()));
    case FleetFault::WrongShips: {
        const auto found = static_cast<int>(problem.cells.size());
        const int wanted = FleetShipsOfSize[problem.size];
        if (found == 0)
            return tr("Barcos de %1: %2 em vez de %3.").arg(problem.size).arg(found).arg(wanted);
        return tr("Barcos de %1: %2 em vez de %3 (%4).")
            .arg(problem.size)
            .arg(found)
            .arg(wanted)
            .arg(cellNames(problem.cells));
    }
    case FleetFault::FiveNotATee:
        return tr("O barco de 5 em %1 não é um T.").arg(first);
    }
    return {};
}

QRect FleetGuide::firstCell(int size, int nth)
{
    for (const Slot& slot : slots) {
        if (slot.size == size && slot.nth == nth)
            return QRect(slot.at + QPoint(0, HeadingHeight), QSize(Pitch + 1, Pitch + 1));
    }
    return {};
}

QRect FleetGuide::tickArea(int size, int nth)
{
    const QRect first = firstCell(size, nth);
    return QRect(first.left() + barLength(size) * Pitch + 4, first.top(), TickWidth, Pitch + 1);
}

// A ship that stands is filled in the ship colour and ticked; one still to place shows as
// sea, unticked.
void FleetGuide::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont heading = font();
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, width(), HeadingHeight - 4), Qt::AlignLeft | Qt::AlignVCenter,
        tr("Frota a colocar"));

    const QColor ship = QColor::fromRgb(BoardPainter::cellColour(CellShip, 0, 0));
    const QColor sea = QColor::fromRgb(BoardPainter::cellColour(CellEmpty, 0, 0));
    QPen tickPen(palette().color(QPalette::WindowText), 2);
    tickPen.setCapStyle(Qt::RoundCap);
    tickPen.setJoinStyle(Qt::RoundJoin);
    for (const Slot& slot : slots) {
        const bool ticked = slot.nth < ships.ticked(slot.size);
        const QRect first = firstCell(slot.size, slot.nth);
        painter.setPen(QColor::fromRgb(BoardPainter::outlineColour));
        painter.setBrush(ticked ? ship : sea);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const QPoint offset : shapeOf(slot.size))
            painter.drawRect(first.translated(offset * Pitch).adjusted(0, 0, -1, -1));
        if (!ticked)
            continue;
        const QRectF tick = tickArea(slot.size, slot.nth);
        QPainterPath check;
        check.moveTo(tick.left() + 1, tick.top() + tick.height() * 0.55);
        check.lineTo(tick.left() + tick.width() * 0.4, tick.bottom() - 1);
        check.lineTo(tick.right() - 1, tick.top() + 1);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.strokePath(check, tickPen);
    }
}
