#pragma once

#include "systemcolours.h"

#include <QDialog>

// The About box: product, version and build, and a test card of the system colours drawn
// by its "Pallete" button. It reads the colour cells when the button is clicked; it does
// not own them.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(const SystemColours& colours, QWidget* parent);
};
