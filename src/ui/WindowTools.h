// Small things every window of the program shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QPainter;
class QPushButton;
class QWidget;

namespace vrk {

// Puts a window, frame and all, in the middle of the screen it is on,
// within the part of the screen that panels leave free.
void CenterWindow(QWidget& window);
// Centres a window that is about to be shown: now, as it is shown (when its size is known: a message box
// works its size out only while it is being shown), and once more when the window system has told its
// frame. Later shows leave it where it is.
void CenterWhenShown(QWidget& window);
// The sunken frame of an entry box: dark above and left, light below and right, 3 pixels to each side,
// the margin filled with the box's own background so that box and frame read as one.
void DrawBoxFrame(QPainter& painter, const QRect& box, const QColor& background);
// The entry boxes' font: fixed pitch, since box widths are counted in characters.
QFont BoxFont();
// Makes a label's text bold: a heading, or a name the window is about.
QLabel* Bold(QLabel* label);
// The buttons a dialog ends with (OK, Cancel), on the right; the first is the default button.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace vrk
