#pragma once

class QPainter;
class QRect;
class QWidget;

// Cell painting shared by the window bases' grid painters.
namespace GridCellPainting {

// Fills the cell with the button-face colour and draws a check box in its middle; a disabled box
// is drawn greyed (the dataset has no rows).
void paintCheckBox(QPainter* painter, const QWidget* grid, const QRect& rect, bool checked, bool enabled);

} // namespace GridCellPainting
