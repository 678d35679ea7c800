#pragma once

#include <chrono>
#include <functional>
#include <optional>

// The desktop's beep, sounded no more than once in a gap: a burst of reasons to beep (a peer
// flooding the window with readies) rings once. The time and the sound come from outside, so
// that a test counts the rings without waiting.
class Bell {
public:
    static constexpr std::chrono::milliseconds gap { 100 };
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Sound = std::function<void()>;

    Bell(); // the steady clock, and QApplication::beep

    // Sounds, unless the last sound was less than a gap ago.
    void ring();
    void setClock(Clock clock) { now = std::move(clock); }
    void setSound(Sound played) { sound = std::move(played); }

private:
    Clock now;
    Sound sound;
    std::optional<std::chrono::steady_clock::time_point> lastRung;
};
