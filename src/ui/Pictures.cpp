#include "ui/Pictures.h"

#include <QFile>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/Paths.h"

namespace vrk {
namespace {

const QColor kNavy(20, 40, 88);
const QColor kTeal(24, 110, 128);
const QColor kCream(250, 244, 226);
const QColor kGold(214, 164, 40);

QPixmap Blank(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A fanned stack of index cards, the program's emblem, in a square of `size` at (x, y).
void DrawCards(QPainter& painter, qreal x, qreal y, qreal size) {
  const qreal w = size * 0.78;
  const qreal h = size * 0.52;
  for (int card = 0; card < 3; ++card) {
    painter.save();
    painter.translate(x + size / 2, y + size / 2);
    painter.rotate(-14 + card * 12);
    const QRectF rect(-w / 2, -h / 2, w, h);
    painter.setPen(QPen(kNavy.darker(130), size / 48));
    painter.setBrush(card == 2 ? kCream : kCream.darker(108 + (2 - card) * 6));
    painter.drawRoundedRect(rect, size / 24, size / 24);
    if (card == 2) {
      painter.setPen(QPen(QColor(200, 60, 60), size / 64));
      painter.drawLine(QPointF(rect.left() + w * 0.08, rect.top() + h * 0.28),
                       QPointF(rect.right() - w * 0.08, rect.top() + h * 0.28));
      painter.setPen(QPen(QColor(120, 150, 200), size / 80));
      for (int line = 1; line <= 3; ++line) {
        const qreal ly = rect.top() + h * (0.28 + line * 0.17);
        painter.drawLine(QPointF(rect.left() + w * 0.08, ly), QPointF(rect.right() - w * 0.08, ly));
      }
      painter.setBrush(kGold);
      painter.setPen(Qt::NoPen);
      painter.drawRect(QRectF(rect.left() + w * 0.62, rect.top() - h * 0.12, w * 0.22, h * 0.16));
    }
    painter.restore();
  }
}

// The background of the splash and closing pictures, with the emblem on the left.
QPixmap Poster(int width, int height) {
  QPixmap pixmap = Blank(width, height);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, width, height);
  sky.setColorAt(0, kNavy);
  sky.setColorAt(1, kTeal);
  painter.fillRect(pixmap.rect(), sky);
  painter.setPen(QPen(kGold, 3));
  painter.drawRect(QRectF(6, 6, width - 12, height - 12));
  DrawCards(painter, 24, height / 2.0 - 80, 160);
  return pixmap;
}

void DrawTitle(QPainter& painter, const QRect& area, const QString& title, const QString& lines) {
  painter.setPen(kCream);
  QFont big = painter.font();
  big.setPointSize(40);
  big.setBold(true);
  painter.setFont(big);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, title);
  QFont small = painter.font();
  small.setPointSize(11);
  small.setBold(false);
  painter.setFont(small);
  painter.drawText(area.adjusted(0, 70, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines);
}

}  // namespace

QPixmap SplashPicture() {
  QPixmap pixmap = Poster(520, 300);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawTitle(painter, QRect(210, 56, 290, 200), QStringLiteral("VRK"),
            QStringLiteral("Catalogues for every collection:\nbooks, records, stamps, tools.\n\nVersion 4.12"));
  return pixmap;
}

QPixmap ClosingPicture() {
  QPixmap pixmap = Poster(520, 300);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawTitle(painter, QRect(210, 150, 290, 140), QStringLiteral("VRK"), QStringLiteral("Your catalog has been saved."));
  return pixmap;
}

QPixmap Emblem(int size) {
  QPixmap pixmap = Blank(size, size);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCards(painter, 0, 0, size);
  return pixmap;
}

QPixmap KeyMarker() {
  QPixmap pixmap = Blank(kMarkerSize, kMarkerSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kGold.darker(150), 1));
  painter.setBrush(kGold);
  painter.drawEllipse(QRectF(0.5, 4.5, 7, 7));
  painter.drawRect(QRectF(7, 7, 8.5, 2));
  painter.drawRect(QRectF(11, 9, 1.5, 3));
  painter.drawRect(QRectF(14, 9, 1.5, 2.5));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(2.5, 6.5, 3, 3));
  return pixmap;
}

QPixmap SumMarker() {
  QPixmap pixmap = Blank(kMarkerSize, kMarkerSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 70, 170), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  QPainterPath sigma;
  sigma.moveTo(13, 4);
  sigma.lineTo(13, 2);
  sigma.lineTo(3, 2);
  sigma.lineTo(8.5, 8);
  sigma.lineTo(3, 14);
  sigma.lineTo(13, 14);
  sigma.lineTo(13, 12);
  painter.drawPath(sigma);
  return pixmap;
}

QPixmap CalcMarker() {
  QPixmap pixmap = Blank(kMarkerSize, kMarkerSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 90, 40), 1));
  painter.setBrush(QColor(110, 170, 100));
  painter.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 2, 2);
  painter.setBrush(QColor(220, 240, 210));
  painter.drawRect(QRectF(4.5, 2.5, 7, 3));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) painter.drawRect(QRectF(4.5 + column * 2.5, 7.5 + row * 2.5, 1.5, 1.5));
  }
  return pixmap;
}

QPixmap LevelArrow(int height) {
  QPixmap pixmap = Blank(24, height);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink(60, 60, 60);
  painter.setPen(QPen(ink, 1.5));
  const qreal middle = height / 2.0;
  QPainterPath path;
  path.moveTo(4, 0);
  path.lineTo(4, middle);
  path.lineTo(18, middle);
  painter.drawPath(path);
  painter.setBrush(ink);
  painter.drawPolygon(QPolygonF({QPointF(23, middle), QPointF(17, middle - 4), QPointF(17, middle + 4)}));
  return pixmap;
}

QPixmap SoundPicture(int size, qreal pixelRatio) {
  QPixmap pixmap = Blank(qRound(size * pixelRatio), qRound(size * pixelRatio));
  pixmap.setDevicePixelRatio(pixelRatio);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal u = size / 16.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(kNavy);
  QPainterPath speaker;
  speaker.moveTo(2 * u, 6 * u);
  speaker.lineTo(5 * u, 6 * u);
  speaker.lineTo(9 * u, 2.5 * u);
  speaker.lineTo(9 * u, 13.5 * u);
  speaker.lineTo(5 * u, 10 * u);
  speaker.lineTo(2 * u, 10 * u);
  speaker.closeSubpath();
  painter.drawPath(speaker);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kTeal, 1.2 * u, Qt::SolidLine, Qt::RoundCap));
  for (int wave = 1; wave <= 2; ++wave) {
    const qreal r = 2.2 * u * wave;
    painter.drawArc(QRectF(9 * u - r, 8 * u - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  return pixmap;
}

QImage LoadPicture(const std::string& path) {
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(NativePath(path))));
  reader.setAutoTransform(true);
  return reader.read();
}

QPixmap Thumbnail(const QImage& picture, QSize size, qreal pixelRatio) {
  QSizeF shown = picture.size();
  if (shown.width() > size.width() || shown.height() > size.height()) shown.scale(size, Qt::KeepAspectRatio);
  const QSize pixels(std::max(1, qRound(shown.width() * pixelRatio)), std::max(1, qRound(shown.height() * pixelRatio)));
  QPixmap pixmap = QPixmap::fromImage(picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(pixelRatio);
  return pixmap;
}

}  // namespace vrk
