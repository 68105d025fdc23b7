#include "ui/WindowTools.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>
#include <QWindow>
#include <QtMath>
#include <algorithm>

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

// The free part of a window's screen.
QRect FreeArea(const QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The size a window may have, frame excluded, for it to stay in the free part of its screen.
QSize Room(const QWidget& window) { return FreeArea(window).marginsRemoved(FrameOf(window)).size(); }

class RowsArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  // All the rows, with room for the scroll bar that a smaller area shows.
  QSize sizeHint() const override { return widget()->sizeHint() + QSize(verticalScrollBar()->sizeHint().width(), 0); }
  // As wide as the rows, and a few of them high.
  QSize minimumSizeHint() const override {
    const QSize rows = widget()->minimumSizeHint();
    return {rows.width() + verticalScrollBar()->sizeHint().width(),
            std::min(rows.height(), 6 * fontMetrics().height())};
  }
};

}  // namespace

QScrollArea* ScrollingRows(QLayout* rows, QWidget* parent) {
  auto* area = new RowsArea(parent);
  auto* content = new QWidget(area);
  content->setLayout(rows);
  rows->setContentsMargins(0, 0, 0, 0);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setWidgetResizable(true);
  area->setWidget(content);
  return area;
}

void FitToScreen(QWidget& window) {
  window.adjustSize();  // which holds a window to two thirds of the screen
  const QSize room = Room(window);
  window.resize(window.size().expandedTo(window.sizeHint()).boundedTo(room));
}

void CenterWhenShown(QWidget& window) {
  // Placed before its native window exists, a window is placed frame and all, also where the window
  // system tells its frame only once the window is up.
  CenterWindow(window);
  window.winId();
  window.windowHandle()->installEventFilter(new CentreAsShown(window));
}

void CenterWindow(QWidget& window) {
  const QRect area = FreeArea(window);
  if (area.isEmpty()) return;
  if (const QSize room = Room(window); window.width() > room.width() || window.height() > room.height()) {
    window.resize(window.size().boundedTo(room));
  }
  const QSize size = window.geometry().marginsAdded(FrameOf(window)).size();
  // A window's position is its frame's.
  window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void PlaceBeside(QWidget& window, const QWidget& other) {
  const QRect area = FreeArea(window);
  if (area.isEmpty()) return;
  const QMargins frame = FrameOf(window);
  const int sides = frame.left() + frame.right();
  const QRect beside = other.frameGeometry();
  const int wanted = window.width() + sides;
  const int least = std::min(wanted, window.minimumSizeHint().width() + sides);
  const int right = area.right() - beside.right();
  const int left = beside.left() - area.left();
  int width = wanted;
  int x = area.right() + 1 - wanted;
  if (right >= least) {
    width = std::min(wanted, right);
    x = beside.right() + 1;
  } else if (left >= least) {
    width = std::min(wanted, left);
    x = beside.left() - width;
  }
  window.resize(width - sides, window.height());
  const int height = window.height() + frame.top() + frame.bottom();
  const int y = std::clamp(beside.top(), area.top(), std::max(area.top(), area.bottom() + 1 - height));
  window.move(std::max(x, area.left()), y);
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

int TextWidth(const QFont& font, int characters) {
  return qCeil(QFontMetricsF(font).horizontalAdvance(QString(characters, QLatin1Char('W'))));
}

int LineEditWidth(const QLineEdit& box, int characters) {
  // As QLineEdit works out its size: the text, its margins, 2 pixels each side and the caret, in the frame.
  const QMargins text = box.textMargins();
  const QMargins contents = box.contentsMargins();
  const int inner =
      TextWidth(box.font(), characters) + 2 * 2 + 1 + text.left() + text.right() + contents.left() + contents.right();
  QStyleOptionFrame option;
  option.initFrom(&box);
  option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
  return box.style()
      ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, box.fontMetrics().height()), &box)
      .width();
}

QLabel* Bold(QLabel* label) {
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

void SetTabOrder(std::initializer_list<QWidget*> controls) {
  QWidget* before = nullptr;
  for (QWidget* control : controls) {
    if (before != nullptr) QWidget::setTabOrder(before, control);
    before = control;
  }
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* button : buttons) row->addWidget(button);
  if (buttons.size() > 0) (*buttons.begin())->setDefault(true);
  return row;
}

}  // namespace vrk
