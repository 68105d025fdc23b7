#include "ui/frmConfigCpy.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "admin/CopyEntries.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

const QColor kCut(200, 0, 0);
const QColor kWhole(128, 128, 128);

QLabel* Text(QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment);
  return label;
}

}  // namespace

frmConfigCpy::frmConfigCpy(ConfigureCopy& copy, QWidget* parent)
    : QDialog(parent),
      lblName1(Text(this)),
      lblName2(Text(this)),
      cboFieldName(new QComboBox(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      copy_(copy) {
  setWindowTitle(tr("Configure Copy"));
  lblName1->setText(ToQString(copy.sourceName));
  lblName2->setText(ToQString(copy.destinationName));
  for (const FieldDef& field : copy.sourceFields) cboFieldName->addItem(ToCaption(RightTrim(field.Name)));

  auto* names = new QGridLayout;
  names->addWidget(new QLabel(tr("Copy From:"), this), 0, 0);
  names->addWidget(lblName1, 0, 1);
  names->addWidget(new QLabel(tr("To:"), this), 1, 0);
  names->addWidget(lblName2, 1, 1);
  names->setColumnStretch(1, 1);
  auto* pick = new QHBoxLayout;
  auto* pickLabel = new QLabel(tr("&Source field of the selected row:"), this);
  pickLabel->setBuddy(cboFieldName);
  pick->addWidget(pickLabel);
  pick->addWidget(cboFieldName, 1);

  auto* rows = new QGridLayout;
  rows->setVerticalSpacing(2);
  rows->setHorizontalSpacing(12);
  rows->addWidget(Bold(new QLabel(tr("Copy From"), this)), 0, 1, 1, 2);
  rows->addWidget(Bold(new QLabel(tr("To"), this)), 0, 3, 1, 2);
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    optCopyFrom[at] = new QRadioButton(QString::number(i + 1), this);
    lblCopyFrom[at] = Text(this);
    lblCopyFromLen[at] = Text(this, Qt::AlignRight | Qt::AlignVCenter);
    lblCopyTo[at] = Text(this);
    lblCopyToLen[at] = Text(this, Qt::AlignRight | Qt::AlignVCenter);
    lblCopyTo[at]->setText(ToQString(RightTrim(copy.destinationFields[at].Name)));
    lblCopyToLen[at]->setText(QString::number(copy.destinationLengths[at]));
    rows->addWidget(optCopyFrom[at], i + 1, 0);
    rows->addWidget(lblCopyFrom[at], i + 1, 1);
    rows->addWidget(lblCopyFromLen[at], i + 1, 2);
    rows->addWidget(lblCopyTo[at], i + 1, 3);
    rows->addWidget(lblCopyToLen[at], i + 1, 4);
    ShowRow(i);
    connect(optCopyFrom[at], &QRadioButton::clicked, this, [this, i] {
      row_ = i;
      cboFieldName->setCurrentIndex(copy_.map[static_cast<std::size_t>(i)]);
    });
  }
  rows->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);
  rows->setColumnMinimumWidth(3, fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);
  optCopyFrom[0]->setChecked(true);
  cboFieldName->setCurrentIndex(copy.map[0]);
  connect(cboFieldName, &QComboBox::activated, this, &frmConfigCpy::cboFieldName_Click);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(names);
  layout->addLayout(pick);
  layout->addWidget(ScrollingRows(rows, this), 1);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmConfigCpy::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmConfigCpy::cmdCancel_Click);
}

void frmConfigCpy::ShowRow(int row) {
  const auto at = static_cast<std::size_t>(row);
  const auto source = static_cast<std::size_t>(copy_.map[at]);
  lblCopyFrom[at]->setText(ToQString(RightTrim(copy_.sourceFields[source].Name)));
  lblCopyFromLen[at]->setText(QString::number(copy_.sourceLengths[source]));
  QPalette palette = lblCopyFrom[at]->palette();
  palette.setColor(QPalette::WindowText, RowIsCut(copy_, row) ? kCut : kWhole);
  lblCopyFrom[at]->setPalette(palette);
  lblCopyFromLen[at]->setPalette(palette);
}

void frmConfigCpy::cboFieldName_Click(int source) {
  const int fed = copy_.inverse[static_cast<std::size_t>(source)];  // the row that had it
  ChooseCopySource(copy_, row_, source);
  ShowRow(row_);
  ShowRow(fed);
}

void frmConfigCpy::cmdOK_Click() { accept(); }

void frmConfigCpy::cmdCancel_Click() { reject(); }

}  // namespace vrk
