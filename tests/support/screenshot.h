#pragma once

#include "ui/gamecanvas.h"

#include <QDir>
#include <QString>
#include <QWidget>

// The pictures the tests take of the windows, for a person to look at: into the folder
// QUORVEL_SCREENSHOT_DIR names, made if need be. Unset, no picture is taken.

// The folder, or nothing when unset or it cannot be made.
inline QString screenshotDirectory()
{
    const QString directory = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    return !directory.isEmpty() && QDir().mkpath(directory) ? directory : QString();
}

// The window as the player sees it, its grids as the next frame draws them, as NAME.png.
inline void saveScreenshot(QWidget& window, const char* name)
{
    const QString directory = screenshotDirectory();
    if (directory.isEmpty())
        return;
    if (auto* canvas = window.findChild<GameCanvas*>())
        canvas->drawPending();
    window.grab().save(directory + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
