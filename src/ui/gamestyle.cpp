#include "gamestyle.h"

#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

GameStyle::GameStyle(QStyle* base)
    : QProxyStyle(base)
{
}

QIcon GameStyle::standardIcon(
    StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    QPixmap arrow(16, 16);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QStyleOption drawn;
    drawn.rect = arrow.rect();
    drawn.palette = option ? option->palette : QPalette();
    drawn.state = State_Enabled;
    drawPrimitive(icon == SP_ToolBarHorizontalExtensionButton ? PE_IndicatorArrowRight
                                                              : PE_IndicatorArrowDown,
        &drawn, &painter, widget);
    painter.end();
    return QIcon(arrow);
}

const QPixmap& GameStyle::groupBoxFrame() const
{
    if (!fusionGroupBoxFrame) {
        fusionGroupBoxFrame.emplace();
        if (overFusion()) {
            QImageReader reader(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"),
                "png");
            reader.setAutoDetectImageFormat(false);
            *fusionGroupBoxFrame = QPixmap::fromImage(reader.read());
        }
    }
    return *fusionGroupBoxFrame;
}

bool GameStyle::overFusion() const
{
    return baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

namespace {

// Fusion draws a frame's lines a logical pixel wide on the rectangle's edge pixels. At a
// fractional scale those edges lie partway into device pixels: the left or top line may fall
// on a device pixel the widget does not cover, and the right or bottom one under the
// contents drawn over the frame (a list's rows), and either is lost. The lines are drawn
// here one device pixel wide on the outermost device pixels the widget covers, which its
// contents leave free, in Fusion's colour. Returns false at a whole scale, where Fusion's
// lines are whole.
bool drawFrameOnDevicePixels(const QStyleOption* option, QPainter* painter)
{
    const QTransform toDevice = painter->deviceTransform();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != toDevice.m22()
        || toDevice.m11() == std::floor(toDevice.m11()))
        return false;
    const QRectF exact = toDevice.mapRect(QRectF(option->rect));
    const QRect covered(QPoint(qRound(exact.left()), qRound(exact.top())),
        QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
    if (covered.isEmpty())
        return false;
    const QColor colour = option->palette.window().color().darker(140).lighter(108);
    painter->save();
    painter->setWorldTransform(toDevice.inverted() * painter->worldTransform());
    painter->fillRect(QRect(covered.topLeft(), QSize(covered.width(), 1)), colour);
    painter->fillRect(QRect(covered.bottomLeft(), QSize(covered.width(), 1)), colour);
    painter->fillRect(QRect(covered.topLeft(), QSize(1, covered.height())), colour);
    painter->fillRect(QRect(covered.topRight(), QSize(1, covered.height())), colour);
    painter->restore();
    return true;
}

} // namespace

// A group box's frame starts below the title, or just below the top where there is none,
// and its image is stretched between corners of six pixels.
void GameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
    QPainter* painter, const QWidget* widget) const
{
    if (element == PE_Frame && overFusion() && drawFrameOnDevicePixels(option, painter))
        return;
    if (element != PE_FrameGroupBox || groupBoxFrame().isNull()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    constexpr int topGap = 3;
    int top = topGap;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (!box || box->isCheckable() || !box->title().isEmpty())
        top += std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
    qDrawBorderPixmap(
        painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6), groupBoxFrame());
}
