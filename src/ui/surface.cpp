#include "surface.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Pixel size of the labels' font: a character cell about 16 pixels high, like the font of
// a fresh device context on the desktop this game was first played on.
constexpr int FontPixelSize = 13;

QFont smallFixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(FontPixelSize);
    font.setBold(true);
    return font;
}

} // namespace

Surface::Surface(QSize size, qreal devicePixelRatio, QRgb background)
    : logicalSize(size)
    , ratio(devicePixelRatio)
    , backgroundColour(background)
    , textFont(smallFixedFont())
{
    reset(devicePixelRatio);
}

void Surface::reset(qreal devicePixelRatio)
{
    ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    pixels = QImage(
        toDevice(logicalSize.width()), toDevice(logicalSize.height()), QImage::Format_RGB32);
    pixels.setDevicePixelRatio(ratio);
    pixels.fill(backgroundColour);
    glyphs.clear();
    changed = QRect(QPoint(0, 0), logicalSize);
}

QRgb Surface::pixel(int x, int y) const
{
    const int deviceX = toDevice(x);
    const int deviceY = toDevice(y);
    if (!pixels.valid(deviceX, deviceY))
        return backgroundColour;
    return pixels.pixel(deviceX, deviceY) | 0xff000000u;
}

Surface::Pen Surface::selectPen(Pen newPen) { return std::exchange(pen, newPen); }

QRgb Surface::selectBrush(QRgb colour) { return std::exchange(brush, colour); }

Surface::BackgroundMode Surface::setBackgroundMode(BackgroundMode mode)
{
    return std::exchange(backgroundMode, mode);
}

QRgb Surface::setTextColour(QRgb colour) { return std::exchange(textColour, colour); }

void Surface::setFont(const QFont& font)
{
    textFont = font;
    glyphs.clear();
}

int Surface::toDevice(int logical) const
{
    return static_cast<int>(std::lround(static_cast<qreal>(logical) * ratio));
}

// Fills a logical rectangle, clipped to the surface.
void Surface::fillArea(int x, int y, int width, int height, QRgb colour)
{
    if (width <= 0 || height <= 0)
        return;
    const QRect area = QRect(x, y, width, height) & QRect(QPoint(0, 0), logicalSize);
    if (area.isEmpty())
        return;
    changed |= area;
    const int left = toDevice(area.left());
    const int right = toDevice(area.left() + area.width());
    const int top = toDevice(area.top());
    const int bottom = toDevice(area.top() + area.height());
    const QRgb value = colour | 0xff000000u;
    uchar* const bits = pixels.bits();
    const qsizetype stride = pixels.bytesPerLine();
    for (int row = top; row < bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + left, line + right, value);
    }
}

void Surface::rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    ++rectangles;
    const int width = right - left;
    const int height = bottom - top;
    if (pen.null) {
        fillArea(left, top, width - 1, height - 1, brush);
        return;
    }
    fillArea(left + 1, top + 1, width - 2, height - 2, brush);
    fillArea(left, top, width, 1, pen.colour);
    fillArea(left, bottom - 1, width, 1, pen.colour);
    fillArea(left, top, 1, height, pen.colour);
    fillArea(right - 1, top, 1, height, pen.colour);
}

void Surface::moveTo(int x, int y)
{
    cursorX = x;
    cursorY = y;
}

void Surface::lineTo(int x, int y)
{
    const int fromX = std::exchange(cursorX, x);
    const int fromY = std::exchange(cursorY, y);
    if (pen.null)
        return;
    if (fromY == y) {
        const int step = x > fromX ? 1 : -1;
        const int last = x - step; // the end point is not drawn
        fillArea(std::min(fromX, last), y, std::abs(x - fromX), 1, pen.colour);
        return;
    }
    if (fromX == x) {
        const int step = y > fromY ? 1 : -1;
        const int last = y - step;
        fillArea(x, std::min(fromY, last), 1, std::abs(y - fromY), pen.colour);
        return;
    }
    // Any other slope, one pixel at a time.
    const int dx = std::abs(x - fromX);
    const int dy = -std::abs(y - fromY);
    const int stepX = x > fromX ? 1 : -1;
    const int stepY = y > fromY ? 1 : -1;
    int error = dx + dy;
    int px = fromX;
    int py = fromY;
    while (px != x || py != y) {
        fillArea(px, py, 1, 1, pen.colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            px += stepX;
        }
        if (twice <= dx) {
            error += dx;
            py += stepY;
        }
    }
}

void Surface::textOut(int x, int y, QChar character)
{
    const Glyph& shape = glyph(character, textColour);
    if (backgroundMode == BackgroundMode::Opaque) {
        const QFontMetrics metrics(textFont);
        fillArea(x, y, metrics.horizontalAdvance(character), metrics.height(), qRgb(255, 255, 255));
    }
    const QRect area = QRect(x - shape.pad, y - shape.pad,
                           static_cast<int>(std::ceil(shape.image.width() / ratio)),
                           static_cast<int>(std::ceil(shape.image.height() / ratio)))
        & QRect(QPoint(0, 0), logicalSize);
    if (area.isEmpty())
        return;
    changed |= area;
    blend(shape.image, toDevice(x - shape.pad), toDevice(y - shape.pad));
}

// Source-over of a premultiplied image onto the opaque surface, clipped.
void Surface::blend(const QImage& source, int deviceX, int deviceY)
{
    const int firstRow = std::max(0, -deviceY);
    const int lastRow = std::min(source.height(), pixels.height() - deviceY);
    const int firstColumn = std::max(0, -deviceX);
    const int lastColumn = std::min(source.width(), pixels.width() - deviceX);
    for (int row = firstRow; row < lastRow; ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(row));
        auto* to = reinterpret_cast<QRgb*>(pixels.scanLine(deviceY + row));
        for (int column = firstColumn; column < lastColumn; ++column) {
            const QRgb s = from[column];
            const int alpha = qAlpha(s);
            if (alpha == 0)
                continue;
            QRgb& d = to[deviceX + column];
            const int keep = 255 - alpha;
            d = qRgb(qRed(s) + (qRed(d) * keep + 127) / 255,
                qGreen(s) + (qGreen(d) * keep + 127) / 255,
                qBlue(s) + (qBlue(d) * keep + 127) / 255);
        }
    }
}

// A character drawn once in a colour onto a transparent image at the surface's ratio, with
// room around its cell for the parts of a glyph that reach beyond it.
const Surface::Glyph& Surface::glyph(QChar character, QRgb colour)
{
    const quint64 key = (quint64(character.unicode()) << 32) | (colour & 0xffffffu);
    const auto found = glyphs.constFind(key);
    if (found != glyphs.constEnd())
        return *found;

    const QFontMetrics metrics(textFont);
    Glyph shape;
    shape.pad = (metrics.height() + 3) / 4;
    const int width = metrics.horizontalAdvance(character) + 2 * shape.pad;
    const int height = metrics.height() + 2 * shape.pad;
    shape.image = QImage(static_cast<int>(std::ceil(width * ratio)),
        static_cast<int>(std::ceil(height * ratio)), QImage::Format_ARGB32_Premultiplied);
    shape.image.setDevicePixelRatio(ratio);
    shape.image.fill(Qt::transparent);
    {
        QPainter painter(&shape.image);
        painter.setPen(QColor::fromRgb(colour));
        const QPointF origin(shape.pad, shape.pad + metrics.ascent());
        // A lone character needs no shaping: its glyph is drawn straight from the font.
        const QRawFont font = QRawFont::fromFont(textFont);
        const QList<quint32> indexes = font.glyphIndexesForString(QString(character));
        if (indexes.size() == 1 && indexes.front() != 0) {
            QGlyphRun run;
            run.setRawFont(font);
            run.setGlyphIndexes(indexes);
            run.setPositions({ QPointF(0, 0) });
            painter.drawGlyphRun(origin, run);
        } else {
            painter.setFont(textFont);
            painter.drawText(origin, QString(character));
        }
    }
    return *glyphs.insert(key, std::move(shape));
}

void Surface::fill(QRgb colour)
{
    fillArea(0, 0, logicalSize.width(), logicalSize.height(), colour);
}

QRect Surface::takeChangedArea() { return std::exchange(changed, QRect()); }
