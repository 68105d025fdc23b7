// The program's pictures, drawn by the program itself: the splash and closing pictures, the About
// window's emblem and the entry screen's key, sum and computed-field markers.
#pragma once

#include <QImage>
#include <QPixmap>
#include <string>

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

// The side of the main window's picture areas: the entry's thumbnail and its sound indicator.
inline constexpr int kPictureAreaSize = 48;
// The sound indicator: a loudspeaker, `size` pixels square at the screen's pixel ratio.
QPixmap SoundPicture(int size, qreal pixelRatio);
// The picture file at `path` (file system bytes); a null image when it is missing or no picture.
QImage LoadPicture(const std::string& path);
// The picture scaled into `size` (device-independent pixels) keeping its proportions, drawn at the
// screen's pixel ratio so that it stays sharp; a picture smaller than the area keeps its size.
QPixmap Thumbnail(const QImage& picture, QSize size, qreal pixelRatio);

}  // namespace vrk
