// The CSV file's delimiter and encoding window of File > Import CSV and File > Export CSV.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "shell/Spreadsheets.h"
#include "ui/frmCsvDialect.h"

namespace vrk {
namespace {

TEST(SpreadsheetWindowsTest, TheDialectWindowFillsTheRecordOnOk) {
  CsvDialectChoice import{.dialect = {.delimiter = '\0'}, .importing = true};
  frmCsvDialect importing(import);
  EXPECT_EQ(importing.windowTitle(), "Import CSV");
  EXPECT_EQ(importing.cboDelimiter->currentText(), "Found from the file");
  EXPECT_FALSE(importing.chkByteOrderMark->isVisibleTo(&importing));
  importing.cboDelimiter->setCurrentIndex(importing.cboDelimiter->findText("Semicolon ;"));
  importing.cboEncoding->setCurrentIndex(importing.cboEncoding->findText("Windows (code page 1252)"));
  importing.chkGuard->setChecked(false);
  importing.cmdOK->click();
  EXPECT_EQ(import.dialect.delimiter, ';');
  EXPECT_EQ(import.dialect.encoding, CsvEncoding::kCp1252);
  EXPECT_FALSE(import.dialect.guard);

  CsvDialectChoice exported{.dialect = {}, .importing = false};
  frmCsvDialect exporting(exported);
  EXPECT_EQ(exporting.cboDelimiter->findText("Found from the file"), -1);
  exporting.chkByteOrderMark->setChecked(true);
  exporting.cboEncoding->setCurrentIndex(exporting.cboEncoding->findText("UTF-16 (Unicode text)"));
  EXPECT_FALSE(exporting.chkByteOrderMark->isEnabled()) << "UTF-16 always has one";
  exporting.cboDelimiter->setCurrentIndex(exporting.cboDelimiter->findText("TAB"));
  exporting.cmdOK->click();
  EXPECT_EQ(exported.dialect.delimiter, '\t');
  EXPECT_EQ(exported.dialect.encoding, CsvEncoding::kUtf16);
  EXPECT_FALSE(exported.dialect.byteOrderMark);
  EXPECT_TRUE(exported.dialect.guard);
}

}  // namespace
}  // namespace vrk
