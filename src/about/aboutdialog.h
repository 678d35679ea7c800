#pragma once

#include "systemcolours.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>

#include <functional>
#include <optional>

// The About box: product, version and build, and a test card of the system colours drawn
// by its "Pallete" button. It reads the colour cells when the button is clicked; it does
// not own them.
//
// The swatches stay from the first click until the box closes (a repaint redraws them);
// each click takes the colours afresh from the cells.
//
// It beeps as it opens, with the beep it is given: the window that opens it knows the
// desktop's sounds and whether the player wants them.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(const SystemColours& colours, QWidget* parent,
        const std::function<void()>& beep = &QApplication::beep);

protected:
    void paintEvent(QPaintEvent* event) override;

private Q_SLOTS:
    void OnPalette();

private:
    const SystemColours& systemColours; // not owned
    std::optional<SystemColours> swatches; // the cells as read by the last click
};

// The program's icon (IDR_MAINFRAME), scalable, from the resources of this library.
QIcon programIcon();
// The program's name as players know it: "Quorvel Naval".
QString programName();
