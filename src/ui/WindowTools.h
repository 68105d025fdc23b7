// Small things every window of the program shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QPainter;
class QWidget;

namespace vrk {

// Puts a window in the middle of the screen it is on.
void CenterWindow(QWidget& window);
// The sunken frame of an entry box: dark above and left, light below and right, 3 pixels to each side,
// the margin filled with the box's own background so that box and frame read as one.
void DrawBoxFrame(QPainter& painter, const QRect& box, const QColor& background);
// The entry boxes' font: fixed pitch, since box widths are counted in characters.
QFont BoxFont();

}  // namespace vrk
