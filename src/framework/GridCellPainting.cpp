#include "GridCellPainting.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace GridCellPainting {

void paintCheckBox(QPainter* painter, const QWidget* grid, const QRect& rect, bool checked, bool enabled)
{
    if (!painter)
        return;
    const QPalette palette = grid ? grid->palette() : QApplication::palette();
    painter->fillRect(rect, palette.button());
    QStyle* style = grid ? grid->style() : QApplication::style();
    QStyleOptionButton box;
    box.palette = palette;
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, grid);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, grid);
    box.rect = QRect(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - h) / 2, w, h);
    box.state = (checked ? QStyle::State_On : QStyle::State_Off);
    if (enabled)
        box.state |= QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, grid);
}

} // namespace GridCellPainting
