#pragma once

#include "core/board.h"

#include <QPoint>
#include <QRect>

#include <optional>

// Where a grid lies in the window, in the window's logical pixels: its origin is the
// top-left corner of its first cell, and cells are 25 pixels apart, each a 26-pixel square
// whose border lines its neighbours share. The row letters stand 15 pixels left of the
// grid, the column digits below it, and a shadow frame runs 10 pixels along its bottom and
// right.
struct GridGeometry {
    static constexpr int Pitch = 25;
    static constexpr int CellSpan = 26;
    static constexpr int Extent = Board::Size * Pitch;

    QPoint origin;

    // The cell under a point; the grid's outer border lines belong to no cell.
    std::optional<GridCell> cellAt(QPoint point) const
    {
        const QPoint inside = point - origin;
        if (inside.x() <= 0 || inside.x() >= Extent || inside.y() <= 0 || inside.y() >= Extent)
            return std::nullopt;
        return GridCell { inside.x() / Pitch, inside.y() / Pitch };
    }
    // The top-left corner of a cell's square.
    QPoint cellCorner(int column, int row) const
    {
        return origin + QPoint(Pitch * column, Pitch * row);
    }
    QPoint cellCentre(GridCell cell) const
    {
        return cellCorner(cell.column, cell.row) + QPoint(Pitch / 2, Pitch / 2);
    }
    // The labels, the grid and its frame: what the cover panel hides.
    QRect fullArea() const
    {
        return QRect(origin + QPoint(-15, -3), origin + QPoint(Extent + 12, Extent + 30));
    }
    // Where the keyboard focus is shown around the grid.
    QRect focusFrame() const
    {
        return QRect(origin + QPoint(-17, -6), origin + QPoint(Extent + 14, Extent + 31));
    }
};

// The own fleet (or its cover) on the left, the opponent's grid on the right.
inline constexpr GridGeometry ownGrid { QPoint(25, 10) };
inline constexpr GridGeometry enemyGrid { QPoint(310, 10) };
