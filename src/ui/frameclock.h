#pragma once

#include <chrono>

class QWidget;

// Paces the frames of the animations and carries out their caption flips. An animation runs
// to its end inside its handler: after drawing and showing a frame it calls frameShown(),
// which returns when the next frame may be drawn. Tests put in a clock that counts instead
// of waiting.
class FrameClock {
public:
    virtual ~FrameClock() = default;

    // The frame drawn with this fade is on screen.
    virtual void frameShown(int fade) = 0;
    // The window's caption flips between its usual look and one asking for attention.
    virtual void flipCaption(QWidget& window) = 0;
};

// One frame every 16 ms, and the desktop's attention request for the caption.
class SteadyFrameClock : public FrameClock {
public:
    static constexpr std::chrono::milliseconds period { 16 };

    void frameShown(int fade) override;
    void flipCaption(QWidget& window) override;

private:
    std::chrono::steady_clock::time_point deadline;
    bool attention = false;
};
