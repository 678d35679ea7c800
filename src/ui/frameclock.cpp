#include "frameclock.h"

#include <QApplication>

#include <algorithm>

SteadyFrameClock::SteadyFrameClock()
{
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        sinceTick.start();
        if (timer.interval() != period.count())
            timer.start(period); // after a first tick that came early
        // The tick may stop the clock or start another animation: it runs from a copy.
        const std::function<void()> tick = onTick;
        if (tick)
            tick();
    });
}

void SteadyFrameClock::start(std::function<void()> tick)
{
    onTick = std::move(tick);
    if (timer.isActive())
        return;
    const qint64 wait = sinceTick.isValid()
        ? std::clamp<qint64>(period.count() - sinceTick.elapsed(), 0, period.count())
        : 0;
    timer.start(static_cast<int>(wait));
}

void SteadyFrameClock::stop()
{
    timer.stop();
    onTick = nullptr;
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
