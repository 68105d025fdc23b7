#include "ui/frmRptSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>

#include "platform/Ui.h"
#include "report/ReportDesigner.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

// The page: white cells with a faint grid, the end line under the last report line of an entry, and
// the labels of the placed items. A click on a cell places the chosen item there.
class DesignerPage : public QWidget {
 public:
  DesignerPage(frmRptSetup& window, const ReportDesigner& designer, QWidget* parent)
      : QWidget(parent), window_(window), designer_(designer) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette page = palette();
    page.setColor(QPalette::Window, Qt::white);
    setPalette(page);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const double w = window_.CellWidth(), h = window_.CellHeight();
    painter.setPen(QColor(225, 228, 235));
    for (double x = 0; x < width(); x += w) painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    for (double y = 0; y < height(); y += h) painter.drawLine(QPointF(0, y), QPointF(width(), y));
    // Column 1 of the report, while it is in view.
    painter.setPen(QPen(QColor(160, 170, 200), 1, Qt::DotLine));
    const double first = designer_.scroll * w;
    if (first >= 0) painter.drawLine(QPointF(first, 0), QPointF(first, height()));
    painter.setPen(QPen(QColor(30, 60, 160), 2));  // linRptEnd
    const double end = designer_.format.LinesPerEntry() * h;
    painter.drawLine(QPointF(0, end), QPointF(width(), end));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_.picPage_MouseDown(event->position());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const bool onPage =
        CellAt(designer_, event->position().x(), event->position().y(), window_.CellWidth(), window_.CellHeight())
            .has_value();
    setCursor(onPage ? Qt::CrossCursor : Qt::ArrowCursor);
  }

 private:
  frmRptSetup& window_;
  const ReportDesigner& designer_;
};

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, const QString& tip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setToolTip(tip);
  button->setAutoRepeat(true);
  return button;
}

QLabel* Display(QWidget* parent) {
  auto* display = new QLabel(parent);
  display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  display->setAlignment(Qt::AlignCenter);
  display->setMinimumWidth(display->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
  return display;
}

// A spin button: two small arrows, one above the other.
QVBoxLayout* Spin(QToolButton* up, QToolButton* down) {
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  for (QToolButton* button : {up, down}) {
    button->setFixedSize(18, 12);
    spin->addWidget(button);
  }
  return spin;
}

constexpr int kVisibleColumns = 92;

}  // namespace

frmRptSetup::frmRptSetup(ReportDesigner& designer, QWidget* parent)
    : QDialog(parent),
      cboFieldName(new QComboBox(this)),
      panFieldLength(Display(this)),
      Spin2Up(ArrowButton(Qt::UpArrow, tr("Wider"), this)),
      Spin2Down(ArrowButton(Qt::DownArrow, tr("Narrower"), this)),
      panNumLines(Display(this)),
      Spin1Up(ArrowButton(Qt::UpArrow, tr("More lines"), this)),
      Spin1Down(ArrowButton(Qt::DownArrow, tr("Fewer lines"), this)),
      lblXCoord(Display(this)),
      lblYCoord(Display(this)),
      cmdUp(ArrowButton(Qt::UpArrow, tr("Up"), this)),
      cmdDown(ArrowButton(Qt::DownArrow, tr("Down"), this)),
      cmdLeft(ArrowButton(Qt::LeftArrow, tr("Left"), this)),
      cmdRight(ArrowButton(Qt::RightArrow, tr("Right"), this)),
      cmdScrLeft(ArrowButton(Qt::LeftArrow, tr("Scroll left"), this)),
      cmdScrRight(ArrowButton(Qt::RightArrow, tr("Scroll right"), this)),
      chkTitles(new QCheckBox(tr("Show &Titles"), this)),
      cmdRemove(new QPushButton(tr("&Remove"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      picPage(new DesignerPage(*this, designer, this)),
      designer_(designer),
      cellWidth_(fontMetrics().averageCharWidth()),
      cellHeight_(fontMetrics().height()) {
  setWindowTitle(designer.caption.empty() ? tr("Edit Report Format") : ToWindowTitle(designer.caption));
  for (int k = 0; k < kLayoutItemCount; ++k) {
    cboFieldName->addItem(ToCaption(DesignerItemName(designer.store, k)));
    auto* label = new QLabel(ToQString(DesignerItemName(designer.store, k)), picPage);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::ArrowCursor);
    label->installEventFilter(this);
    label->hide();
    lblField[static_cast<std::size_t>(k)] = label;
  }
  cboFieldName->setFont(BoxFont());
  picPage->setFixedSize(qCeil(cellWidth_ * kVisibleColumns) + 1, qCeil(cellHeight_ * (kReportLines + 1)) + 1);

  auto* controls = new QGridLayout;
  auto* nameLabel = new QLabel(tr("&Name:"), this);
  nameLabel->setBuddy(cboFieldName);
  controls->addWidget(nameLabel, 0, 0);
  controls->addWidget(cboFieldName, 0, 1, 1, 3);
  controls->addWidget(new QLabel(tr(" Width:"), this), 1, 0);
  controls->addWidget(panFieldLength, 1, 1);
  controls->addLayout(Spin(Spin2Up, Spin2Down), 1, 2);
  controls->addWidget(new QLabel(tr("# Lines:"), this), 2, 0);
  controls->addWidget(panNumLines, 2, 1);
  controls->addLayout(Spin(Spin1Up, Spin1Down), 2, 2);

  auto* position = new QGridLayout;
  position->addWidget(new QLabel(tr("Col:"), this), 0, 0);
  position->addWidget(lblXCoord, 0, 1);
  position->addWidget(new QLabel(tr("Row:"), this), 1, 0);
  position->addWidget(lblYCoord, 1, 1);
  auto* arrows = new QGridLayout;
  arrows->setSpacing(2);
  arrows->addWidget(cmdUp, 0, 1);
  arrows->addWidget(cmdLeft, 1, 0);
  arrows->addWidget(cmdRight, 1, 2);
  arrows->addWidget(cmdDown, 2, 1);
  auto* scrolling = new QHBoxLayout;
  scrolling->addWidget(new QLabel(tr("Scroll Page:"), this));
  scrolling->addWidget(cmdScrLeft);
  scrolling->addWidget(cmdScrRight);
  auto* options = new QVBoxLayout;
  options->addLayout(scrolling);
  options->addWidget(chkTitles);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {cmdRemove, cmdOK, cmdCancel}) buttons->addWidget(button);
  cmdOK->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addLayout(controls);
  top->addSpacing(16);
  top->addLayout(position);
  top->addLayout(arrows);
  top->addSpacing(16);
  top->addLayout(options);
  top->addStretch();
  top->addLayout(buttons);
  auto* pageFrame = new QFrame(this);
  pageFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* pageLayout = new QVBoxLayout(pageFrame);
  pageLayout->setContentsMargins(1, 1, 1, 1);
  pageLayout->addWidget(picPage);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(pageFrame, 0, Qt::AlignLeft);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cboFieldName, &QComboBox::activated, this, &frmRptSetup::cboFieldName_Click);
  connect(Spin2Up, &QToolButton::clicked, this, [this] { Spin2_Change(+1); });
  connect(Spin2Down, &QToolButton::clicked, this, [this] { Spin2_Change(-1); });
  connect(Spin1Up, &QToolButton::clicked, this, [this] { Spin1_Change(+1); });
  connect(Spin1Down, &QToolButton::clicked, this, [this] { Spin1_Change(-1); });
  const std::pair<QToolButton*, Direction> moves[] = {
      {cmdUp, Direction::kUp}, {cmdDown, Direction::kDown}, {cmdLeft, Direction::kLeft}, {cmdRight, Direction::kRight}};
  for (const auto& [button, direction] : moves) {
    connect(button, &QToolButton::clicked, this, [this, direction] { cmdMove_Click(static_cast<int>(direction)); });
  }
  connect(cmdScrLeft, &QToolButton::clicked, this, [this] { cmdScroll_Click(-1); });
  connect(cmdScrRight, &QToolButton::clicked, this, [this] { cmdScroll_Click(+1); });
  connect(cmdRemove, &QPushButton::clicked, this, &frmRptSetup::cmdRemove_Click);
  connect(chkTitles, &QCheckBox::clicked, this, &frmRptSetup::chkTitles_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmRptSetup::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmRptSetup::cmdCancel_Click);

  designer.scroll = 0;
  ChooseItem(designer, 0);
  chkTitles->setChecked(designer.format.ShowTitles());
  ShowLayout();
  designer.ui.ClearBusy();
}

void frmRptSetup::ShowLayout() {
  const ReportFormat& format = designer_.format;
  for (int k = 0; k < kLayoutItemCount; ++k) {
    const LayoutItem& item = format.items[static_cast<std::size_t>(k)];
    QLabel* label = lblField[static_cast<std::size_t>(k)];
    label->setVisible(item.Placed());
    label->setGeometry(qRound((designer_.scroll + item.Col - 1) * cellWidth_), qRound((item.Row - 1) * cellHeight_),
                       qRound(LabelCells(format, k) * cellWidth_), qRound(cellHeight_));
    QPalette colours = palette();
    if (k == designer_.selected) {
      colours.setColor(QPalette::Window, Qt::black);
      colours.setColor(QPalette::WindowText, Qt::white);
    }
    label->setPalette(colours);
  }
  cboFieldName->setCurrentIndex(designer_.selected);
  panFieldLength->setText(QString::number(format.items[static_cast<std::size_t>(designer_.selected)].Width));
  panNumLines->setText(QString::number(format.LinesPerEntry()));
  const Cell shown = ShownPosition(designer_);
  lblXCoord->setText(QString::number(shown.col));
  lblYCoord->setText(QString::number(shown.row));
  picPage->update();
}

bool frmRptSetup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int k = 0; k < kLayoutItemCount; ++k) {
      if (watched == lblField[static_cast<std::size_t>(k)]) {
        lblField_MouseDown(k);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmRptSetup::cboFieldName_Click() {
  ChooseItem(designer_, cboFieldName->currentIndex());
  ShowLayout();
}

void frmRptSetup::lblField_MouseDown(int item) {
  ChooseItem(designer_, item);
  ShowLayout();
}

void frmRptSetup::picPage_MouseDown(QPointF at) {
  const auto cell = CellAt(designer_, at.x(), at.y(), cellWidth_, cellHeight_);
  if (cell && PlaceItem(designer_, *cell)) ShowLayout();
}

void frmRptSetup::cmdMove_Click(int direction) {
  if (MoveItem(designer_, static_cast<Direction>(direction))) ShowLayout();
}

void frmRptSetup::Spin2_Change(int step) {
  if (ChangeItemWidth(designer_, step)) ShowLayout();
}

void frmRptSetup::Spin1_Change(int step) {
  if (ChangeLinesPerEntry(designer_, step)) ShowLayout();
}

void frmRptSetup::cmdScroll_Click(int step) {
  if (ScrollPage(designer_, step)) ShowLayout();
}

void frmRptSetup::cmdRemove_Click() {
  RemoveItem(designer_);
  ShowLayout();
}

void frmRptSetup::chkTitles_Click() {
  chkTitles->setChecked(SetShowTitles(designer_, chkTitles->isChecked()));
  ShowLayout();
}

void frmRptSetup::cmdOK_Click() {
  designer_.format.SetShowTitles(chkTitles->isChecked());
  accept();
}

void frmRptSetup::cmdCancel_Click() { reject(); }

}  // namespace vrk
