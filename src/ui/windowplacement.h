#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <functional>

// How the game's boxes and side windows come up.

// Centred over the window's frame, at the box's final size, and moved in as little as it takes
// to be whole on the window's screen. Left to place itself, a box sometimes opened in a
// corner of the screen, far from the window it speaks of.
void placeOver(QWidget* box, const QWidget& window);

// A question whose safe answer is the default, for Enter and Escape alike: centred over the
// window, opened at once, and gone once answered. What it asks about is done only on the
// other answer; the handler that asked goes on meanwhile. Window-modal, it holds up the
// window and every window above it, the game's own among them: a side window asks with a
// question that holds up nothing.
QMessageBox* askFirst(QWidget* window, Qt::WindowModality modality, const QString& title,
    const QString& text, const QString& doIt, QMessageBox::ButtonRole doItRole, const QString& keep,
    std::function<void()> done);

// A side window kept by its owner, one at a time: made the first time, then shown again,
// back from the task bar, in front and active.
template <typename Window, typename Make> Window* presentKept(QPointer<Window>& kept, Make make)
{
    if (!kept)
        kept = make();
    kept->setWindowState(kept->windowState() & ~Qt::WindowMinimized);
    kept->show();
    kept->raise();
    kept->activateWindow();
    return kept;
}
