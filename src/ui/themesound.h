#pragma once

#include <QString>

#include <memory>

struct ca_context;

// The event sounds of the desktop's sound theme, played by the sound server through
// libcanberra. Connecting to the server waits on it, so that happens at the first sound and
// never at start-up; a sound then only starts, and the server plays it on its own. Where no
// server answers, or the one connected to has gone, a sound fails at once, and the next one
// looks for a server afresh.
class ThemeSound {
public:
    ThemeSound() = default; // connects nowhere yet
    ~ThemeSound(); // lets the connection go
    ThemeSound(const ThemeSound&) = delete;
    ThemeSound& operator=(const ThemeSound&) = delete;

    // Starts the theme's sound for the event id ("dialog-error"); false when it cannot be
    // played. The description says what happened, for whoever cannot hear it.
    bool play(const char* eventId, const QString& description);

private:
    struct Release {
        void operator()(ca_context* context) const;
    };
    std::unique_ptr<ca_context, Release> context; // connected to a server, or none
};
