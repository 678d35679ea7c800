#pragma once

#include <QPixmap>
#include <QProxyStyle>

#include <optional>

// The desktop's style, but for two images it would read from files and for Fusion's plain
// frames at fractional scales. The stock images are files whose format Qt learns by loading
// every image plugin to ask each one, and that happened before the window could show or
// while it drew its first frame:
// - a menu bar asks its style, as it is made, for the icon of the button it shows when its
//   menus do not fit; this icon is drawn instead: the style's own arrow;
// - the Fusion style draws a group box's frame from an image; that image is read here as
//   the PNG it is, and drawn as Fusion draws it.
// Fusion loses a plain frame's line (the log's, the help's) at a fractional scale wherever
// the frame's edge falls partway into a device pixel; such frames are drawn here on the
// device pixels at their edges.
class GameStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Over the given style, owned, or over the desktop's.
    explicit GameStyle(QStyle* base = nullptr);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
        const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;

private:
    bool overFusion() const;
    // Fusion's frame of a group box; null under another style, or where Qt has none.
    const QPixmap& groupBoxFrame() const;

    mutable std::optional<QPixmap> fusionGroupBoxFrame; // read at the first group box drawn
};
