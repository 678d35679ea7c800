#include "bell.h"

#include <QApplication>

namespace {

struct ThemeBeep {
    const char* eventId;
    const char* description;
};

// By Beep, in the freedesktop naming of event sounds. A name the theme lacks falls back on
// its shorter forms: "bell-window-system" on "bell".
constexpr ThemeBeep themeBeeps[] = {
    { "bell-window-system", QT_TRANSLATE_NOOP("Bell", "Sinal") },
    { "dialog-error", QT_TRANSLATE_NOOP("Bell", "Erro") },
    { "dialog-warning", QT_TRANSLATE_NOOP("Bell", "Aviso") },
};

const ThemeBeep& themeBeep(Beep beep) { return themeBeeps[static_cast<int>(beep)]; }

} // namespace

Bell::Bell()
    : now([] { return std::chrono::steady_clock::now(); })
    , sound([this](Beep beep) { playThemeSound(beep); })
    , fallback([] { QApplication::beep(); })
{
}

Bell::~Bell() = default;

void Bell::ring(Beep beep)
{
    if (!switchedOn)
        return;
    const auto time = now();
    if (lastRung && time - *lastRung < gap)
        return;
    lastRung = time;
    sound(beep);
}

// The X bell is what most desktops never sound, and Wayland has none: the last resort.
void Bell::playThemeSound(Beep beep)
{
    if (!worker) {
        worker = std::make_unique<SoundWorker>([this](SoundWorker::Time asked) {
            if (now() - asked <= lateFallback)
                fallback();
        });
    }
    const ThemeBeep& played = themeBeep(beep);
    if (!worker->offer(
            played.eventId, QCoreApplication::translate("Bell", played.description), now()))
        fallback();
}
