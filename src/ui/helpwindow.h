#pragma once

#include "about/systemcolours.h"
#include "core/board.h"

#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

// "Como jogar": how to play, in the player's language, in a window of its own beside the
// game. The pictures in it are drawn when it opens, by the grids' own painter and in their
// colours (the panel over the enemy grid in the scheme's menu colour), so they show the
// grids as the game window draws them.
//
// The window is not modal: the player reads it while playing. Its owner keeps one and shows
// that one again rather than opening another; present() does both:
//
//     QPointer<HelpWindow> help; // a member of the game window
//     ...
//     HelpWindow::present(help, systemColours, this); // on F1 or the Help menu
//
// Closing it only hides it, so it opens again where the player had scrolled to; it goes
// with its parent.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow(const SystemColours& colours, QWidget* parent); // colours read here, not kept

    // Shows the window kept, made first if there is none yet, in front and active.
    static HelpWindow* present(
        QPointer<HelpWindow>& kept, const SystemColours& colours, QWidget* parent);

    // The pictures, as image resources of the document.
    static inline const QUrl fleetPicture { QStringLiteral("quorvel:fleet.png") };
    static inline const QUrl teePicture { QStringLiteral("quorvel:tee.png") };
    static inline const QUrl shotsPicture { QStringLiteral("quorvel:shots.png") };

    // The legal fleet the fleet's picture shows, and the enemy grid of the shots' picture.
    static Board exampleFleet();
    static Board exampleShots();

    QTextBrowser* browser() const { return text; }
    QImage picture(const QUrl& name) const;

private:
    void addPictures(const SystemColours& colours);
    QString document() const;

    QTextBrowser* text; // child
};
