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

}  // namespace vrk
