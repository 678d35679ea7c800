#pragma once

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <cmath>

// Reading back an image drawn in logical pixels at an integer device pixel ratio.

// The colour of a logical pixel, after checking that all its device pixels agree.
inline QRgb logicalPixel(const QImage& image, int x, int y)
{
    const int ratio = static_cast<int>(std::lround(image.devicePixelRatio()));
    const QRgb first = image.pixel(x * ratio, y * ratio);
    for (int dy = 0; dy < ratio; ++dy)
        for (int dx = 0; dx < ratio; ++dx)
            if (image.pixel(x * ratio + dx, y * ratio + dy) != first)
                ADD_FAILURE() << "logical pixel (" << x << ", " << y << ") is not uniform";
    return first | 0xff000000u;
}

// Whether some device pixel inside the logical rectangle has exactly this colour.
inline bool holdsColour(const QImage& image, const QRect& area, QRgb colour)
{
    const int ratio = static_cast<int>(std::lround(image.devicePixelRatio()));
    for (int y = area.top() * ratio; y < (area.bottom() + 1) * ratio; ++y)
        for (int x = area.left() * ratio; x < (area.right() + 1) * ratio; ++x)
            if (image.valid(x, y) && (image.pixel(x, y) | 0xff000000u) == (colour | 0xff000000u))
                return true;
    return false;
}
