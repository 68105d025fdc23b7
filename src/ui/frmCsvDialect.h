// The delimiter and encoding of a CSV file, asked after its file chooser by File > Import CSV and
// File > Export CSV.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vrk {

struct CsvDialectChoice;

class frmCsvDialect : public QDialog {
  Q_OBJECT

 public:
  frmCsvDialect(CsvDialectChoice& choice, QWidget* parent = nullptr);

  QComboBox* cboDelimiter;
  QComboBox* cboEncoding;
  QCheckBox* chkByteOrderMark;
  QCheckBox* chkGuard;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cboEncoding_Change();

 private:
  CsvDialectChoice& choice_;
};

}  // namespace vrk
