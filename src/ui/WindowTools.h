// Small things every window of the program shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPainter;
class QLayout;
class QPushButton;
class QScrollArea;
class QWidget;

namespace vrk {

// Puts a window, frame and all, in the middle of the screen it is on,
// within the part of the screen that panels leave free; a window larger than that is made smaller.
void CenterWindow(QWidget& window);
// Gives a window the size it asks for, as far as the free part of its screen holds it.
void FitToScreen(QWidget& window);
// Puts a window that works beside another one next to it, at the same height: on its right where the
// free part of the screen has room for the window at its least width, else on its left, made narrower
// to fit there; with no such room, against the screen's right edge.
void PlaceBeside(QWidget& window, const QWidget& other);
// Rows that a small screen may not hold all at once: a frameless area that asks for the rows' whole
// size and, given less, scrolls them up and down (never sideways).
QScrollArea* ScrollingRows(QLayout* rows, QWidget* parent);
// Centres a window that is about to be shown: now, as it is shown (when its size is known: a message box
// works its size out only while it is being shown), and once more when the window system has told its
// frame. Later shows leave it where it is.
void CenterWhenShown(QWidget& window);
// The sunken frame of an entry box: dark above and left, light below and right, 3 pixels to each side,
// the margin filled with the box's own background so that box and frame read as one.
void DrawBoxFrame(QPainter& painter, const QRect& box, const QColor& background);
// The entry boxes' font: fixed pitch, since box widths are counted in characters.
QFont BoxFont();
// The room `characters` characters of a font take, each as wide as a W: a field name's room is that of
// 14 characters, whatever the letters.
int TextWidth(const QFont& font, int characters);
// The width of a line edit that shows that many characters of its font whole, frame and margins included.
int LineEditWidth(const QLineEdit& box, int characters);
// Makes a label's text bold: a heading, or a name the window is about.
QLabel* Bold(QLabel* label);
// Makes Tab go through the controls in this order, the order in which the window lays them out.
void SetTabOrder(std::initializer_list<QWidget*> controls);
// The buttons a dialog ends with (OK, Cancel), on the right; the first is the default button.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace vrk
