#include "ui/WindowTools.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace vrk {

void CenterWindow(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window.frameGeometry().size();
  window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void DrawBoxFrame(QPainter& painter, const QRect& box, const QColor& background) {
  const int left = box.left() - 3;
  const int right = box.left() + box.width() + 2;
  const int top = box.top() - 1;
  const int bottom = box.top() + box.height();
  painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), background);
  painter.setPen(QColor(64, 64, 64));
  painter.drawLine(left, top, right, top);
  painter.drawLine(left, top, left, bottom);
  painter.setPen(Qt::white);
  painter.drawLine(left, bottom, right, bottom);
  painter.drawLine(right, top, right, bottom);
}

QFont BoxFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

}  // namespace vrk
