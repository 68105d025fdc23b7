// The Configure Copy window of Copy Entries: for each destination field the source field copied into
// it, in red where the text will be cut and grey otherwise. Picking a source for a row swaps it with
// the row that had it.
#pragma once

#include <QDialog>
#include <array>

#include "catalog/CatalogTypes.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vrk {

struct ConfigureCopy;

class frmConfigCpy : public QDialog {
  Q_OBJECT

 public:
  frmConfigCpy(ConfigureCopy& copy, QWidget* parent = nullptr);

  QLabel* lblName1;
  QLabel* lblName2;
  QComboBox* cboFieldName;
  std::array<QRadioButton*, kFieldCount> optCopyFrom{};
  std::array<QLabel*, kFieldCount> lblCopyFrom{};
  std::array<QLabel*, kFieldCount> lblCopyFromLen{};
  std::array<QLabel*, kFieldCount> lblCopyTo{};
  std::array<QLabel*, kFieldCount> lblCopyToLen{};
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  // The source field picked in the list for the selected row.
  void cboFieldName_Click(int source);
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  void ShowRow(int row);

  ConfigureCopy& copy_;
  int row_ = 0;
};

}  // namespace vrk
