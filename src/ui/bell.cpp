#include "bell.h"

#include <QApplication>

Bell::Bell()
    : now([] { return std::chrono::steady_clock::now(); })
    , sound([] { QApplication::beep(); })
{
}

void Bell::ring()
{
    const auto time = now();
    if (lastRung && time - *lastRung < gap)
        return;
    lastRung = time;
    sound();
}
