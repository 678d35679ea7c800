#pragma once

#include <QProxyStyle>

// The desktop's style, but for one icon. A menu bar asks its style, as it is made, for the
// icon of the button it shows when its menus do not fit; the stock icon is a file whose
// format Qt learns by asking every image plugin, which loads them all before the window
// can show. This icon is drawn instead: the style's own arrow.
class GameStyle : public QProxyStyle {
    Q_OBJECT

public:
    GameStyle();

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
        const QWidget* widget = nullptr) const override;
};
