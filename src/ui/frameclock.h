#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <functional>

class QWidget;

// Paces the frames of the game's canvas and carries out the animations' caption flips. The
// canvas asks for ticks while it has something to draw, an animation frame or what the
// match engine asked for since the last frame, and draws once on each, so clicks, paints and
// the opponent's messages go on being handled between two frames. After showing an
// animation frame it calls frameShown(). Tests put in a clock that they tick by hand.
class FrameClock {
public:
    virtual ~FrameClock() = default;

    // Calls `tick` once per frame, from the event loop, until stop(); a clock already
    // running takes the new tick.
    virtual void start(std::function<void()> tick) = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    // The animation frame drawn with this fade is on its way to the screen.
    virtual void frameShown(int fade) = 0;
    // The window's caption flips between its usual look and one asking for attention.
    virtual void flipCaption(QWidget& window) = 0;
};

// One frame every 16 ms, and the desktop's attention request for the caption. A clock
// started after a pause of a period or more ticks at once, so that what a click changes
// shows without waiting a frame; never two ticks less than a period apart.
class SteadyFrameClock : public FrameClock {
public:
    static constexpr std::chrono::milliseconds period { 16 };

    SteadyFrameClock();

    void start(std::function<void()> tick) override;
    void stop() override;
    bool running() const override { return timer.isActive(); }
    void frameShown(int) override { }
    void flipCaption(QWidget& window) override;

private:
    QTimer timer;
    QElapsedTimer sinceTick; // invalid until the first tick
    std::function<void()> onTick;
    bool attention = false;
};
