#include "gamestyle.h"

#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

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
        if (baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
            QImageReader reader(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"),
                "png");
            reader.setAutoDetectImageFormat(false);
            *fusionGroupBoxFrame = QPixmap::fromImage(reader.read());
        }
    }
    return *fusionGroupBoxFrame;
}

// The frame starts below the title, or just below the top where there is none, and its
// image is stretched between corners of six pixels.
void GameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
    QPainter* painter, const QWidget* widget) const
{
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
