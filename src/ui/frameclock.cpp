#include "frameclock.h"

#include <QApplication>

#include <thread>

void SteadyFrameClock::frameShown(int)
{
    // A frame more than a period after the last deadline starts a new animation; otherwise
    // the frames keep to their 16 ms ticks even when drawing one takes a little while.
    const auto now = std::chrono::steady_clock::now();
    if (deadline + period < now)
        deadline = now;
    deadline += period;
    std::this_thread::sleep_until(deadline);
}

// The desktop offers no caption inversion, only a request for attention that it withdraws
// after a while or when the window is activated (and ignores for the active window): every
// other flip asks for it until the next flip is due.
void SteadyFrameClock::flipCaption(QWidget& window)
{
    attention = !attention;
    if (attention)
        QApplication::alert(&window, static_cast<int>(10 * period.count()));
}
