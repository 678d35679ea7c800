#pragma once

#include "systemcolours.h"

#include <QDialog>
#include <QIcon>

#include <optional>

// The About box: product, version and build, and a test card of the system colours drawn
// by its "Pallete" button. It reads the colour cells when the button is clicked; it does
// not own them.
//
// The swatches stay from the first click until the box closes (a repaint redraws them);
// each click takes the colours afresh from the cells.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(const SystemColours& colours, QWidget* parent);

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
