#include "ui/frmSortSetup.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/Sort.h"
#include "ui/Pictures.h"
#include "ui/Text.h"

namespace vrk {
namespace {

constexpr int kStep = 40;  // each level this much further right than the one before

}  // namespace

frmSortSetup::frmSortSetup(SortSetup& setup, QWidget* parent)
    : QDialog(parent),
      cboFieldName(new QComboBox(this)),
      cmdAdd(new QPushButton(tr("&Add"), this)),
      cmdRemove(new QPushButton(tr("&Remove"), this)),
      cmdClearAll(new QPushButton(tr("Cl&ear All"), this)),
      cmdUnsort(new QPushButton(tr("&Unsort"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      setup_(setup),
      levels_(new QFrame(this)) {
  setWindowTitle(tr("Sort Setup"));
  for (const short field : setup.offered) cboFieldName->addItem(ToCaption(SortFieldName(setup.store, field)), field);
  cboFieldName->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 14);
  auto* frame = static_cast<QFrame*>(levels_);
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  frame->setAutoFillBackground(true);
  frame->setBackgroundRole(QPalette::Base);
  const int row = fontMetrics().height() + 10;
  frame->setMinimumSize(
      kStep * static_cast<int>(kMostSortLevels - 1) + fontMetrics().horizontalAdvance(QLatin1Char('W')) * 15,
      row * static_cast<int>(kMostSortLevels) + 12);
  for (std::size_t k = 0; k < kMostSortLevels; ++k) {
    auto* label = new QLabel(levels_);
    label->setTextFormat(Qt::PlainText);
    label->move(10 + kStep * static_cast<int>(k), 6 + row * static_cast<int>(k));
    label->hide();
    lblFieldName.push_back(label);
    if (k + 1 < kMostSortLevels) {
      auto* arrow = new QLabel(levels_);
      arrow->setPixmap(LevelArrow(row));
      arrow->move(10 + kStep * static_cast<int>(k) + 4, 6 + row * static_cast<int>(k) + row / 2);
      arrow->hide();
      picArrow.push_back(arrow);
    }
  }

  auto* choose = new QHBoxLayout;
  auto* fieldLabel = new QLabel(tr("&Field:"), this);
  fieldLabel->setBuddy(cboFieldName);
  choose->addWidget(fieldLabel);
  choose->addWidget(cboFieldName, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(choose);
  left->addWidget(levels_, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {cmdAdd, cmdRemove, cmdClearAll, cmdUnsort}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  cmdOK->setDefault(true);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  setModal(true);

  connect(cmdAdd, &QPushButton::clicked, this, &frmSortSetup::cmdAdd_Click);
  connect(cmdRemove, &QPushButton::clicked, this, &frmSortSetup::cmdRemove_Click);
  connect(cmdClearAll, &QPushButton::clicked, this, &frmSortSetup::cmdClearAll_Click);
  connect(cmdUnsort, &QPushButton::clicked, this, &frmSortSetup::cmdUnsort_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmSortSetup::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmSortSetup::cmdCancel_Click);
  ShowLevels();
  cboFieldName->setFocus();
}

void frmSortSetup::ShowLevels() {
  for (std::size_t k = 0; k < lblFieldName.size(); ++k) {
    const bool shown = k < setup_.levels.size();
    if (shown) {
      lblFieldName[k]->setText(ToQString(SortFieldName(setup_.store, setup_.levels[k])));
      lblFieldName[k]->adjustSize();
    }
    lblFieldName[k]->setVisible(shown);
    if (k < picArrow.size()) picArrow[k]->setVisible(k + 1 < setup_.levels.size());
  }
  cmdRemove->setEnabled(!setup_.levels.empty());
  cmdAdd->setEnabled(cboFieldName->count() > 0);
}

void frmSortSetup::cmdAdd_Click() {
  if (cboFieldName->currentIndex() < 0) return;
  (void)AddSortLevel(setup_, static_cast<short>(cboFieldName->currentData().toInt()));  // a refusal has said why
  ShowLevels();
}

void frmSortSetup::cmdRemove_Click() {
  RemoveSortLevel(setup_);
  ShowLevels();
}

void frmSortSetup::cmdClearAll_Click() {
  ClearSortLevels(setup_);
  ShowLevels();
}

void frmSortSetup::cmdUnsort_Click() { (void)MarkUnsorted(setup_.store); }

void frmSortSetup::cmdOK_Click() {
  if (AcceptSortPattern(setup_)) accept();
}

void frmSortSetup::cmdCancel_Click() { reject(); }

}  // namespace vrk
