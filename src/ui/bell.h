#pragma once

#include "soundworker.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The game's beeps, by what they tell the player.
enum class Beep {
    Default, // something to look at: the opponent is ready, the About box opens
    Error, // a shot at a cell already shot is refused
    Warning, // a fleet is refused, or there is no cell to take away
};

// The desktop's beeps, sounded no more than once in a gap: a burst of reasons to beep (a peer
// flooding the window with readies) rings once. A beep is the sound theme's event sound of
// its kind, or the X bell where no sound server plays it; switched off, nothing sounds. The
// theme's sound is played on a thread of its own, and the X bell sounds in its place at once
// while that thread is still busy, or as soon as the sound fails, unless that comes too late
// to tell the player anything. The time and the sound come from outside, so that a test
// counts the rings without waiting.
class Bell {
public:
    static constexpr std::chrono::milliseconds gap { 100 };
    // The longest a failed sound is made up for by the X bell.
    static constexpr std::chrono::milliseconds lateFallback { 500 };
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Sound = std::function<void(Beep)>;
    using Fallback = std::function<void()>;

    Bell(); // the steady clock, the theme's sounds, and QApplication::beep as their fallback
    ~Bell();
    Bell(const Bell&) = delete;
    Bell& operator=(const Bell&) = delete;

    // Sounds, unless sounds are off or the last sound was less than a gap ago.
    void ring(Beep beep);
    void setSoundsOn(bool on) { switchedOn = on; }
    bool soundsOn() const { return switchedOn; }

    void setClock(Clock clock) { now = std::move(clock); }
    // Replaces the theme's sounds and their fallback.
    void setSound(Sound played) { sound = std::move(played); }
    // What sounds when the theme's sound cannot be played.
    void setFallback(Fallback played) { fallback = std::move(played); }

private:
    void playThemeSound(Beep beep);

    Clock now;
    Sound sound;
    Fallback fallback;
    std::optional<std::chrono::steady_clock::time_point> lastRung;
    bool switchedOn = true;
    std::unique_ptr<SoundWorker> worker; // from the first sound; goes first with the bell
};
