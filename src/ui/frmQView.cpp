#include "ui/frmQView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "report/QuickView.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

constexpr int kCellPadding = 8;  // pixels beside a cell's characters

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// The grid asks for the height of 25 rows; a small screen gets it fewer.
class Grid : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;
  QSize sizeHint() const override { return QTableWidget::sizeHint().expandedTo(preferred); }
  QSize preferred;
};

}  // namespace

frmQView::frmQView(QuickView& view, QWidget* parent)
    : QDialog(parent),
      grdQV(new Grid(this)),
      Text1(new QLineEdit(grdQV->viewport())),
      HScroll1(grdQV->horizontalScrollBar()),
      VScroll1(grdQV->verticalScrollBar()),
      lblEntries(new QLabel(this)),
      lblDesc(new QLabel(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      view_(view) {
  setWindowTitle(tr("Quick View"));
  grdQV->setFont(BoxFont());
  grdQV->horizontalHeader()->setFont(BoxFont());
  grdQV->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Text1->setFont(BoxFont());
  Text1->hide();
  // Rows as high as the edit box laid over them.
  grdQV->verticalHeader()->setMinimumSectionSize(1);
  grdQV->verticalHeader()->setDefaultSectionSize(Text1->sizeHint().height());
  grdQV->verticalHeader()->hide();
  grdQV->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdQV->setSelectionMode(QAbstractItemView::NoSelection);
  grdQV->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  grdQV->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  grdQV->setTabKeyNavigation(false);
  Fill();

  lblEntries->setText(QString::number(view.rows.size()));
  lblDesc->setText(QString::fromLatin1(QuickViewCaption(view.rows.size())));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblEntries);
  bottom->addWidget(lblDesc);
  bottom->addStretch();
  bottom->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grdQV);
  layout->addLayout(bottom);

  Text1->installEventFilter(this);
  grdQV->installEventFilter(this);
  connect(grdQV, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    // The entry numbers are not edited: a click on one goes to its row's first field.
    if (editing_ && row >= 0) MoveTo(row + 1, std::max(column, 1));
  });
  connect(HScroll1, &QScrollBar::valueChanged, this, [this] { PlaceEditBox(); });
  connect(VScroll1, &QScrollBar::valueChanged, this, [this] {
    CommitQuickViewEdit();
    PlaceEditBox();
  });
  connect(cmdOK, &QPushButton::clicked, this, &frmQView::cmdOK_Click);
}

void frmQView::Fill() {
  const auto columns = static_cast<int>(view_.columns.size());
  const auto rows = static_cast<int>(view_.rows.size());
  grdQV->setColumnCount(columns + 1);
  grdQV->setRowCount(rows);
  const double cw = QFontMetricsF(grdQV->font()).averageCharWidth();
  QStringList headings{QString()};
  grdQV->setColumnWidth(0, qRound(kEntryColumnWidth * cw) + kCellPadding);
  for (int c = 1; c <= columns; ++c) {
    const QuickViewColumn& column = view_.columns[static_cast<std::size_t>(c - 1)];
    headings << ToQString(column.heading);
    grdQV->setColumnWidth(c, qRound(column.width * cw) + kCellPadding);
  }
  grdQV->setHorizontalHeaderLabels(headings);
  grdQV->setUpdatesEnabled(false);
  for (int r = 0; r < rows; ++r) {
    const QuickViewRow& row = view_.rows[static_cast<std::size_t>(r)];
    grdQV->setItem(r, 0, Cell(QString::number(row.entry)));
    for (int c = 1; c <= columns; ++c)
      grdQV->setItem(r, c, Cell(ToQString(row.cells[static_cast<std::size_t>(c - 1)])));
  }
  grdQV->setUpdatesEnabled(true);
  // 25 rows high where the screen has room, and as wide as the columns, within the screen.
  const int rowHeight = grdQV->verticalHeader()->defaultSectionSize();
  const int frame = 2 * grdQV->frameWidth();
  const int chrome = grdQV->horizontalHeader()->sizeHint().height() + frame + HScroll1->sizeHint().height();
  static_cast<Grid*>(grdQV)->preferred.setHeight(chrome + kQuickViewVisibleRows * rowHeight);
  grdQV->setMinimumHeight(chrome + 4 * rowHeight);
  int width = frame + VScroll1->sizeHint().width();
  for (int c = 0; c <= columns; ++c) width += grdQV->columnWidth(c);
  const QScreen* screen = this->screen();
  const int most = screen != nullptr ? screen->availableGeometry().width() * 9 / 10 : 1000;
  grdQV->setMinimumWidth(std::min(width, most));
}

void frmQView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (editing_) return;
  editing_ = true;
  if (!view_.rows.empty() && !view_.columns.empty()) MoveTo(1, 1);
}

void frmQView::MoveTo(int row, int column) {
  if (row == row_ && column == column_) return;
  CommitQuickViewEdit();
  PutEditBox(row, column);
}

void frmQView::PutEditBox(int row, int column) {
  row_ = row;
  column_ = column;
  grdQV->setCurrentCell(row - 1, column);
  grdQV->scrollToItem(grdQV->item(row - 1, column));
  starting_ = grdQV->item(row - 1, column)->text();
  Text1->setText(starting_);
  Text1->setReadOnly(view_.columns[static_cast<std::size_t>(column - 1)].readOnly);
  PlaceEditBox();
  Text1->setFocus();
  Text1->selectAll();
}

// Lays the box over the current cell where the grid shows it now; hidden while the cell is out of view.
void frmQView::PlaceEditBox() {
  if (row_ < 1) return;
  const QRect cell = grdQV->visualItemRect(grdQV->item(row_ - 1, column_));
  if (!cell.isValid() || !grdQV->viewport()->rect().intersects(cell)) {
    Text1->hide();
    return;
  }
  Text1->setGeometry(cell.adjusted(0, 0, -1, -1));
  Text1->show();
}

void frmQView::CommitQuickViewEdit() {
  if (row_ < 1 || Text1->text() == starting_) return;
  const QString text = Text1->text();
  if (vrk::CommitQuickViewEdit(view_, row_, column_, FromQString(text))) {
    grdQV->item(row_ - 1, column_)->setText(text);
    starting_ = text;
  } else {
    Text1->setText(starting_);
  }
}

void frmQView::cmdOK_Click() {
  if (Text1->isVisible()) CommitQuickViewEdit();
  accept();
}

bool frmQView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grdQV && event->type() == QEvent::FocusIn && editing_ && row_ >= 1) {
    PlaceEditBox();
    Text1->setFocus();
    return false;
  }
  if (watched != Text1 || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool press = event->type() == QEvent::KeyPress;
  const auto columns = static_cast<int>(view_.columns.size());
  const auto rows = static_cast<int>(view_.rows.size());
  switch (key->key()) {
    case Qt::Key_Tab:
      if (!press) return true;
      if (column_ < columns) {
        MoveTo(row_, column_ + 1);
      } else if (row_ < rows) {
        MoveTo(row_ + 1, 1);
        HScroll1->setValue(HScroll1->minimum());
      }
      return true;
    case Qt::Key_Backtab:
      if (press && column_ > 1) MoveTo(row_, column_ - 1);
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      // Moved on release, without Shift; the press never reaches the box.
      if (!press && !(key->modifiers() & Qt::ShiftModifier)) {
        const int row = row_ + (key->key() == Qt::Key_Up ? -1 : 1);
        if (row >= 1 && row <= rows) MoveTo(row, column_);
      }
      return true;
    default: return QDialog::eventFilter(watched, event);
  }
}

}  // namespace vrk
