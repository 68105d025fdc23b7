// The catalog table: every entry of the current catalog as a row, a filter typed above it that narrows
// the rows as it is typed, an order chosen by a click on a column's header, and the commands that work
// on the rows shown. Rows are read as the view asks for them; queries run on a worker thread.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <cstdint>

#include "shell/CatalogTable.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace vrk {

class QtUi;

// The rows of a query over the row cache, for Qt's views.
class CatalogTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CatalogTableModel(const TableCatalog& catalog, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetRows(TableRows rows);
  const TableRows& Rows() const { return rows_; }
  // The field index of a column; kEntryOrder for the number, -3 for the status.
  int ColumnField(int column) const;
  int FieldColumn(int field) const;
  // Forgets the entries read, after a change.
  void Refresh();

 private:
  const TableCatalog& catalog_;
  std::vector<int> fields_;
  TableRows rows_;
  mutable TableRowCache cache_;
};

class frmCatalogTable : public QDialog {
  Q_OBJECT

 public:
  frmCatalogTable(CatalogTableWindow& window, QtUi& ui, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  // Down and Page Down in the filter go on into the rows; Delete in the rows deletes the selected ones.
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLineEdit* txtFilter;
  QCheckBox* chkHideDeleted;
  QCheckBox* chkSortedOrder;  // shown only for a sorted catalog
  QTableView* grdEntries;
  QLabel* lblRows;  // the window's status line: the count of rows
  QPushButton* cmdShowEntry;
  QPushButton* cmdDelete;
  QPushButton* cmdUndelete;
  QPushButton* cmdExport;
  QPushButton* cmdClose;
  CatalogTableModel* model;

  void txtFilter_Change();
  void grdEntries_HeaderClick(int column);
  void cmdShowEntry_Click();
  void cmdDeleteUndelete_Click(bool undelete);
  void ExportCsv_Click();
  void ExportXlsx_Click();
  void ExportPrint_Click();
  // The query has changed: the next rows are asked for, those of the query before are dropped.
  void StartQuery();

 private:
  std::vector<EntryNumber> SelectedEntries() const;
  std::vector<EntryNumber> ShownEntries() const;
  void ShowRows(TableRows rows);
  void ShowOrder();

  CatalogTableWindow& window_;
  QtUi& ui_;
  TableCatalog catalog_;
  QTimer* typing_;           // the filter runs once typing pauses
  std::uint64_t query_ = 0;  // the number of the query last started
  TableWorker worker_;       // last: stopped and joined first when the window goes
};

}  // namespace vrk
