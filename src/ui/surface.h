#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

// A drawing surface with the pixel rules of a classic window device context, over an image
// at a device pixel ratio: callers work in logical pixels, and one logical pixel covers the
// device pixels between the rounded images of its two edges, so drawing stays sharp and
// exact on HiDPI screens.
//
// The rules: rectangle() outlines with the current pen and fills the inside with the current
// brush, its right and bottom edges excluded; with a null pen the filled area is one pixel
// narrower and lower. lineTo() draws up to but not including its end point. textOut() draws
// one character with the top-left corner of its character cell at the point, leaving the
// cell's background alone in transparent mode. Selecting a pen, a brush, a mode or a text
// colour returns the previous one so that a routine can put it back.
class Surface {
public:
    struct Pen {
        bool null = false; // draws nothing
        QRgb colour = qRgb(0, 0, 0);

        static Pen solid(QRgb colour) { return { false, colour }; }
        static Pen none() { return { true, qRgb(0, 0, 0) }; }
        bool operator==(const Pen&) const = default;
    };

    enum class BackgroundMode { Opaque, Transparent };

    Surface(QSize logicalSize, qreal devicePixelRatio, QRgb background);

    // Starts afresh at a new ratio: the image is rebuilt and filled with the background.
    void reset(qreal devicePixelRatio);
    void setBackground(QRgb colour) { backgroundColour = colour; }
    QRgb background() const { return backgroundColour; }

    const QImage& image() const { return pixels; }
    qreal devicePixelRatio() const { return ratio; }
    QSize size() const { return logicalSize; }
    // The colour of a logical pixel (its top-left device pixel).
    QRgb pixel(int x, int y) const;

    Pen selectPen(Pen pen);
    QRgb selectBrush(QRgb colour);
    BackgroundMode setBackgroundMode(BackgroundMode mode);
    QRgb setTextColour(QRgb colour);
    // The font of textOut(); a fresh surface holds a small fixed-width font of the desktop.
    void setFont(const QFont& font);
    const QFont& font() const { return textFont; }

    void rectangle(int left, int top, int right, int bottom);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void textOut(int x, int y, QChar character);
    void fill(QRgb colour); // the whole surface

    // The logical area drawn on since the last call; what must be presented.
    QRect takeChangedArea();
    // Rectangles drawn since the surface was made, for tests and benchmarks.
    long rectangleCount() const { return rectangles; }

private:
    struct Glyph {
        QImage image; // premultiplied, transparent around the character
        int pad = 0; // logical pixels around the character cell
    };

    int toDevice(int logical) const;
    void fillArea(int x, int y, int width, int height, QRgb colour);
    void blend(const QImage& source, int deviceX, int deviceY);
    const Glyph& glyph(QChar character, QRgb colour);

    QSize logicalSize;
    qreal ratio;
    QRgb backgroundColour;
    QImage pixels;
    QRect changed;
    long rectangles = 0;

    Pen pen;
    QRgb brush = qRgb(255, 255, 255);
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    QRgb textColour = qRgb(0, 0, 0);
    QFont textFont;
    int cursorX = 0;
    int cursorY = 0;

    // Rendered characters by character and colour; labels use few of each.
    QHash<quint64, Glyph> glyphs;
};
