#pragma once

#include "ui/frameclock.h"

#include <QTimer>

#include <functional>
#include <vector>

// A frame clock that a test ticks by hand, writing down each frame's fade and each caption
// flip.
struct HandClock : FrameClock {
    static constexpr int Flip = -1;

    void start(std::function<void()> tick) override { onTick = std::move(tick); }
    void stop() override { onTick = nullptr; }
    bool running() const override { return static_cast<bool>(onTick); }
    void frameShown(int fade) override
    {
        events.push_back(fade);
        onFrame();
    }
    void flipCaption(QWidget& window) override
    {
        events.push_back(Flip);
        flipped.push_back(&window);
    }
    // One tick, if the clock runs; answers whether it did.
    bool tick()
    {
        const std::function<void()> tick = onTick; // the tick may stop the clock
        if (tick)
            tick();
        return static_cast<bool>(tick);
    }
    // Ticks until the clock is stopped (an animation has ended and nothing is left to draw);
    // answers the ticks given (at most `limit`).
    int runOut(int limit = 1000)
    {
        int ticks = 0;
        while (ticks < limit && tick())
            ++ticks;
        return ticks;
    }

    std::vector<int> events; // each frame's fade, and Flip for each caption flip
    std::vector<QWidget*> flipped;
    std::function<void()> onFrame = [] {};
    std::function<void()> onTick;
};

// Frames as fast as the event loop turns, so a whole match's animations take no time; they
// are drawn all the same, and counted.
struct QuickClock : FrameClock {
    QuickClock()
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const std::function<void()> tick = onTick;
            if (tick)
                tick();
        });
    }
    void start(std::function<void()> tick) override
    {
        onTick = std::move(tick);
        timer.start();
    }
    void stop() override
    {
        timer.stop();
        onTick = nullptr;
    }
    bool running() const override { return timer.isActive(); }
    void frameShown(int) override { ++frames; }
    void flipCaption(QWidget&) override { }

    QTimer timer;
    std::function<void()> onTick;
    int frames = 0;
};
