#include "ui/frmCsvDialect.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/Spreadsheets.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

// The delimiters offered, in their list's order; an import offers to find it first.
constexpr struct {
  char delimiter;
  const char* caption;
} kDelimiters[] = {
    {'\0', "Found from the file"}, {',', "Comma ,"}, {';', "Semicolon ;"}, {'\t', "TAB"}, {'|', "Vertical bar |"}};
constexpr struct {
  CsvEncoding encoding;
  const char* caption;
} kEncodings[] = {{CsvEncoding::kUtf8, "UTF-8"},
                  {CsvEncoding::kCp1252, "Windows (code page 1252)"},
                  {CsvEncoding::kLatin1, "Latin-1 (ISO-8859-1)"},
                  {CsvEncoding::kUtf16, "UTF-16 (Unicode text)"}};

}  // namespace

frmCsvDialect::frmCsvDialect(CsvDialectChoice& choice, QWidget* parent)
    : QDialog(parent),
      cboDelimiter(new QComboBox(this)),
      cboEncoding(new QComboBox(this)),
      chkByteOrderMark(new QCheckBox(tr("Begin with a &byte-order mark"), this)),
      chkGuard(new QCheckBox(
          choice.importing ? tr("Take the leading ' off &guarded formulas") : tr("Guard &formulas with a leading '"),
          this)),
      cmdOK(new QPushButton(tr("OK"), this)),
      cmdCancel(new QPushButton(tr("Cancel"), this)),
      choice_(choice) {
  setWindowTitle(choice.importing ? tr("Import CSV") : tr("Export CSV"));
  for (const auto& [delimiter, caption] : kDelimiters) {
    if (delimiter != '\0' || choice.importing) cboDelimiter->addItem(tr(caption), static_cast<int>(delimiter));
  }
  cboDelimiter->setCurrentIndex(cboDelimiter->findData(static_cast<int>(choice.dialect.delimiter)));
  for (const auto& [encoding, caption] : kEncodings) cboEncoding->addItem(tr(caption), static_cast<int>(encoding));
  cboEncoding->setCurrentIndex(cboEncoding->findData(static_cast<int>(choice.dialect.encoding)));
  chkByteOrderMark->setChecked(choice.dialect.byteOrderMark);
  chkByteOrderMark->setVisible(!choice.importing);
  chkGuard->setChecked(choice.dialect.guard);

  auto* form = new QFormLayout;
  form->addRow(tr("&Delimiter:"), cboDelimiter);
  form->addRow(tr("&Encoding:"), cboEncoding);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(chkByteOrderMark);
  layout->addWidget(chkGuard);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  SetTabOrder({cboDelimiter, cboEncoding, chkByteOrderMark, chkGuard, cmdOK, cmdCancel});
  cmdOK->setDefault(true);
  cboEncoding_Change();
  connect(cboEncoding, &QComboBox::currentIndexChanged, this, &frmCsvDialect::cboEncoding_Change);
  connect(cmdOK, &QPushButton::clicked, this, &frmCsvDialect::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Only a UTF-8 file may begin with a byte-order mark or not: UTF-16 always has one.
void frmCsvDialect::cboEncoding_Change() {
  chkByteOrderMark->setEnabled(static_cast<CsvEncoding>(cboEncoding->currentData().toInt()) == CsvEncoding::kUtf8);
}

void frmCsvDialect::cmdOK_Click() {
  choice_.dialect.delimiter = static_cast<char>(cboDelimiter->currentData().toInt());
  choice_.dialect.encoding = static_cast<CsvEncoding>(cboEncoding->currentData().toInt());
  choice_.dialect.byteOrderMark = chkByteOrderMark->isEnabled() && chkByteOrderMark->isChecked();
  choice_.dialect.guard = chkGuard->isChecked();
  accept();
}

}  // namespace vrk
