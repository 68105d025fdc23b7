// The program's pictures, drawn by the program itself: the splash and closing pictures, the About
// window's emblem and the entry screen's key, sum and computed-field markers.
#pragma once

#include <QPixmap>

namespace vrk {

inline constexpr int kMarkerSize = 16;

QPixmap SplashPicture();
QPixmap ClosingPicture();
QPixmap Emblem(int size);
QPixmap KeyMarker();
QPixmap SumMarker();
QPixmap CalcMarker();
// The arrow from one sort level down to the next, a step to the right: 24 by `height` pixels.
QPixmap LevelArrow(int height);

}  // namespace vrk
