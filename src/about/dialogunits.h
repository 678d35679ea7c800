#pragma once

#include <QRect>

// Controls are laid out in dialog units of an 8-point "MS Sans Serif" dialog, whose base
// units are 6 by 13 pixels: a horizontal unit is 6 / 4 pixels, a vertical one 13 / 8. The
// platform rounds them to the nearest pixel, as the main window does; the About box has
// always cut the fraction off, and its pixels stay as they are.
enum class DialogRounding {
    Nearest, // half a pixel and more goes up
    Down, // the fraction is cut off
};

// A rectangle given in dialog units, in pixels. The units are never negative.
QRect dialogRect(int x, int y, int width, int height, DialogRounding rounding);
