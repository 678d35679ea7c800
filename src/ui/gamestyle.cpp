#include "gamestyle.h"

#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

GameStyle::GameStyle() = default;

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
