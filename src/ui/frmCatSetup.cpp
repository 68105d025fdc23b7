#include "ui/frmCatSetup.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

#include "platform/LongOperation.h"
#include "ui/Pictures.h"
#include "ui/PromptLayout.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

bool IsKey(short type) { return type == kKeyField || type == kKeySumField; }
bool IsSum(short type) { return type == kSumField || type == kKeySumField; }

}  // namespace

frmCatSetup::frmCatSetup(CatalogSetup& setup, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      optKey(new QCheckBox(tr("&Key"), this)),
      optSum(new QCheckBox(tr("Su&m"), this)),
      cmdAddLength(new QPushButton(tr("&Add"), this)),
      cmdSubtractLength(new QPushButton(tr("&Subtract"), this)),
      cmdEditFormula(new QPushButton(tr("&Edit"), this)),
      cmdRemoveFormula(new QPushButton(tr("&Remove"), this)),
      panSample(new QFrame(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      setup_(setup),
      ui_(ui),
      rows_(RowsOf(setup.layout)) {
  const LongOperation busy(ui_, {.busy = true});
  setWindowTitle(ToWindowTitle(setup.caption));
  charWidth_ = QFontMetricsF(BoxFont()).horizontalAdvance(QLatin1Char('W'));

  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(3);
  grid->addWidget(Bold(new QLabel(tr("Field Name"), this)), 0, 1);
  grid->addWidget(Bold(new QLabel(tr("Length"), this)), 0, 2);
  grid->addWidget(Bold(new QLabel(tr("Options"), this)), 0, 3, 1, 2);
  grid->addWidget(Bold(new QLabel(tr("Formulas"), this)), 0, 5);
  const int lengthWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    optField[at] = new QRadioButton(QString::number(i + 1), this);
    txtFieldName[at] = new QLineEdit(ToQString(rows_[at].name), this);
    txtFieldName[at]->setMaxLength(static_cast<int>(kFieldNameLength));
    txtFieldName[at]->setMinimumWidth(LineEditWidth(*txtFieldName[at], static_cast<int>(kFieldNameLength)));
    txtFieldLength[at] = new QLineEdit(ToQString(rows_[at].length), this);
    txtFieldLength[at]->setMaxLength(2);
    txtFieldLength[at]->setFixedWidth(lengthWidth);
    txtFieldLength[at]->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtFieldLength[at]));
    picKey[at] = new QLabel(this);
    picSum[at] = new QLabel(this);
    for (QLabel* mark : {picKey[at], picSum[at]}) mark->setFixedSize(kMarkerSize, kMarkerSize);
    lblFormula[at] = new QLabel(this);
    lblFormula[at]->setTextFormat(Qt::PlainText);
    // "NAME + NAME": two names and the operator between them.
    lblFormula[at]->setMinimumWidth(TextWidth(font(), 2 * static_cast<int>(kFieldNameLength) + 3));
    grid->addWidget(optField[at], i + 1, 0);
    grid->addWidget(txtFieldName[at], i + 1, 1);
    grid->addWidget(txtFieldLength[at], i + 1, 2);
    grid->addWidget(picKey[at], i + 1, 3);
    grid->addWidget(picSum[at], i + 1, 4);
    grid->addWidget(lblFormula[at], i + 1, 5);
    ShowMarks(i);
    for (QLineEdit* box : {txtFieldName[at], txtFieldLength[at]}) box->installEventFilter(this);
    connect(optField[at], &QRadioButton::clicked, this, [this, i] { SelectRow(i); });
    connect(txtFieldName[at], &QLineEdit::textEdited, this, [this, i](const QString& text) {
      rows_[static_cast<std::size_t>(i)].name = FromQString(text);
      ShowFormulas();
    });
    connect(txtFieldLength[at], &QLineEdit::textChanged, this,
            [this, i](const QString& text) { SetLength(i, FromQString(text)); });
  }
  grid->setColumnStretch(5, 1);
  ShowFormulas();

  auto* options = new QGroupBox(tr("Options"), this);
  auto* optionBoxes = new QVBoxLayout(options);
  optionBoxes->addWidget(optKey);
  optionBoxes->addWidget(optSum);
  auto* length = new QGroupBox(tr("Field Length:"), this);
  auto* lengthButtons = new QHBoxLayout(length);
  lengthButtons->addWidget(cmdAddLength);
  lengthButtons->addWidget(cmdSubtractLength);
  auto* formulas = new QGroupBox(tr("Formulas:"), this);
  auto* formulaButtons = new QHBoxLayout(formulas);
  formulaButtons->addWidget(cmdEditFormula);
  formulaButtons->addWidget(cmdRemoveFormula);
  panSample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panSample->setAutoFillBackground(true);
  panSample->setBackgroundRole(QPalette::Base);
  auto* sampleText = new QLabel(tr("Sample Text"), panSample);
  sampleText->setFont(BoxFont());
  auto* sampleLayout = new QHBoxLayout(panSample);
  sampleLayout->setContentsMargins(4, 2, 2, 2);
  sampleLayout->addWidget(sampleText);
  panSample->setFixedHeight(QFontMetrics(BoxFont()).height() + 8);
  auto* sampleArea = new QWidget(this);
  sampleArea->setMinimumWidth(qCeil(charWidth_ * (kLongestEditedField + 2)) + 4);
  sampleArea->setFixedHeight(panSample->height());
  panSample->setParent(sampleArea);
  auto* side = new QVBoxLayout;
  side->addWidget(options);
  side->addWidget(length);
  side->addWidget(formulas);
  side->addStretch();
  rowsArea_ = ScrollingRows(grid, this);
  auto* top = new QHBoxLayout;
  top->addWidget(rowsArea_, 1);
  top->addSpacing(12);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(sampleArea);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  // Enter moves on and never presses a button: OK is a click or Alt+O, so that a half-made layout is
  // never written by an Enter too many.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setDefault(false);
    button->setAutoDefault(false);
  }
  setModal(true);

  connect(optKey, &QCheckBox::clicked, this, &frmCatSetup::optKey_Click);
  connect(optSum, &QCheckBox::clicked, this, &frmCatSetup::optSum_Click);
  connect(cmdAddLength, &QPushButton::clicked, this, &frmCatSetup::cmdAddLength_Click);
  connect(cmdSubtractLength, &QPushButton::clicked, this, &frmCatSetup::cmdSubtractLength_Click);
  connect(cmdEditFormula, &QPushButton::clicked, this, &frmCatSetup::cmdEditFormula_Click);
  connect(cmdRemoveFormula, &QPushButton::clicked, this, &frmCatSetup::cmdRemoveFormula_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmCatSetup::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmCatSetup::cmdCancel_Click);
  SelectRow(0);
  txtFieldName[0]->setFocus();
}

void frmCatSetup::SelectRow(int row) {
  current_ = row;
  const SetupRow& selected = rows_[static_cast<std::size_t>(row)];
  optField[static_cast<std::size_t>(row)]->setChecked(true);
  optKey->setChecked(IsKey(selected.type));
  optSum->setChecked(IsSum(selected.type));
  const short length = LengthValue(selected.length);
  panSample->setFixedWidth(length == 0 ? 0 : qCeil((length + 2) * charWidth_));
  panSample->setVisible(length != 0);
}

void frmCatSetup::SetLength(int row, const std::string& text) {
  const std::string checked = CheckedLength(ui_, text);
  QLineEdit* box = txtFieldLength[static_cast<std::size_t>(row)];
  if (checked != text) box->setText(ToQString(checked));  // which comes back here
  rows_[static_cast<std::size_t>(row)].length = checked;
  if (row == current_) SelectRow(row);
}

void frmCatSetup::ShowMarks(int row) {
  static const QPixmap key = KeyMarker();
  static const QPixmap sum = SumMarker();
  const short type = rows_[static_cast<std::size_t>(row)].type;
  picKey[static_cast<std::size_t>(row)]->setPixmap(IsKey(type) ? key : QPixmap());
  picSum[static_cast<std::size_t>(row)]->setPixmap(IsSum(type) ? sum : QPixmap());
}

void frmCatSetup::ShowFormulas() {
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const std::string text = FormulaLabel(rows_, rows_[at].formula);
    lblFormula[at]->setText(ToQString(text));
    lblFormula[at]->setVisible(!text.empty());
  }
}

void frmCatSetup::optKey_Click() {
  optKey->setChecked(SetKeyOption(ui_, rows_[static_cast<std::size_t>(current_)], optKey->isChecked()));
  ShowMarks(current_);
}

void frmCatSetup::optSum_Click() {
  SetSumOption(rows_[static_cast<std::size_t>(current_)], optSum->isChecked());
  ShowMarks(current_);
}

void frmCatSetup::cmdAddLength_Click() {
  txtFieldLength[static_cast<std::size_t>(current_)]->setText(
      ToQString(AddLength(rows_[static_cast<std::size_t>(current_)].length)));
}

void frmCatSetup::cmdSubtractLength_Click() {
  txtFieldLength[static_cast<std::size_t>(current_)]->setText(
      ToQString(SubtractLength(rows_[static_cast<std::size_t>(current_)].length)));
}

void frmCatSetup::cmdEditFormula_Click() {
  SetupRow& row = rows_[static_cast<std::size_t>(current_)];
  if (!MayEditFormula(ui_, row)) return;
  EditFormula editor = FormulaEditorFor(rows_, current_);
  if (ui_.dialogs.Show(editor)) row.formula = editor.formula;
  ShowFormulas();
}

void frmCatSetup::cmdRemoveFormula_Click() {
  rows_[static_cast<std::size_t>(current_)].formula.Valid = false;
  ShowFormulas();
}

void frmCatSetup::cmdOK_Click() {
  if (AcceptSetup(ui_, setup_, rows_)) accept();
}

void frmCatSetup::cmdCancel_Click() { reject(); }

bool frmCatSetup::eventFilter(QObject* watched, QEvent* event) {
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (watched != txtFieldName[at] && watched != txtFieldLength[at]) continue;
    if (event->type() == QEvent::FocusIn) {
      SelectRow(i);
      rowsArea_->ensureWidgetVisible(static_cast<QWidget*>(watched));
      // Reached by Enter, Tab or a click, a box's text is selected, so that typing replaces it. A click
      // places the caret after the focus has come, hence the selection once the click is handled.
      QTimer::singleShot(0, static_cast<QLineEdit*>(watched), &QLineEdit::selectAll);
    }
    if (event->type() != QEvent::KeyPress) break;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter goes from the name to the length, and from the length to the next row's name.
      if (watched == txtFieldName[at]) {
        txtFieldLength[at]->setFocus();
      } else {
        txtFieldName[static_cast<std::size_t>((i + 1) % kFieldCount)]->setFocus();
      }
      return true;
    }
    if (watched == txtFieldLength[at] && IsRefusedCharacter(event, QStringLiteral("0-9"))) {
      ui_.Beep();
      return true;
    }
    break;
  }
  return QDialog::eventFilter(watched, event);
}

void frmCatSetup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextChild();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vrk
