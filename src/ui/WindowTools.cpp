#include "ui/WindowTools.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace vrk {

namespace {

// The frame the window system puts around a window. Until a window has been shown the window system
// has not said (on X11 it tells once the window is up); the frame of a window already shown, the main
// window as a rule, stands in for it, so that a dialog is centred frame and all from the start.
QMargins FrameOf(const QWidget& window) {
  const auto frame = [](const QWidget& shown) {
    return shown.windowHandle() != nullptr ? shown.windowHandle()->frameMargins() : QMargins();
  };
  if (const QMargins own = frame(window); !own.isNull() || window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
    return own;
  }
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || !other->isVisible()) continue;
    if (const QMargins margins = frame(*other); !margins.isNull()) return margins;
  }
  return {};
}

// Watches a window's native window as it is first shown. That window gets its show event after the
// widget's own and before the window system shows it, and its first expose event once it is up.
class CentreAsShown : public QObject {
 public:
  explicit CentreAsShown(QWidget& window) : QObject(&window), window_(window) {}

 protected:
  bool eventFilter(QObject* /*native*/, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (state_ == State::Waiting) {
        state_ = State::Shown;
        CenterWindow(window_);
      } else {
        Done();  // a later show: the window stays where it is
      }
    } else if (event->type() == QEvent::Expose && state_ == State::Shown && window_.windowHandle()->isExposed()) {
      CenterWindow(window_);  // for the frame, should it differ from the one assumed
      Done();
    }
    return false;
  }

 private:
  enum class State { Waiting, Shown, Done };
  void Done() {
    state_ = State::Done;
    deleteLater();
  }

  QWidget& window_;
  State state_ = State::Waiting;
};

}  // namespace

void CenterWhenShown(QWidget& window) {
  // Placed before its native window exists, a window is placed frame and all, also where the window
  // system tells its frame only once the window is up.
  CenterWindow(window);
  window.winId();
  window.windowHandle()->installEventFilter(new CentreAsShown(window));
}

void CenterWindow(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window.geometry().marginsAdded(FrameOf(window)).size();
  // A window's position is its frame's.
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

QLabel* Bold(QLabel* label) {
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* button : buttons) row->addWidget(button);
  if (buttons.size() > 0) (*buttons.begin())->setDefault(true);
  return row;
}

}  // namespace vrk
