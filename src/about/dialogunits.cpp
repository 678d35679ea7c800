#include "dialogunits.h"

namespace {

int horizontalPixels(int units, DialogRounding rounding)
{
    return (units * 6 + (rounding == DialogRounding::Nearest ? 2 : 0)) / 4;
}

int verticalPixels(int units, DialogRounding rounding)
{
    return (units * 13 + (rounding == DialogRounding::Nearest ? 4 : 0)) / 8;
}

} // namespace

QRect dialogRect(int x, int y, int width, int height, DialogRounding rounding)
{
    return { horizontalPixels(x, rounding), verticalPixels(y, rounding),
        horizontalPixels(width, rounding), verticalPixels(height, rounding) };
}
