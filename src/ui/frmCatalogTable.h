// The catalog table: every entry of the current catalog as a row, a filter typed above it that narrows
// the rows as it is typed, an order chosen by a click on a column's header, and the commands that work
// on the rows shown. Rows are read as the view asks for them; queries run on a worker thread. The
// window is not modal: it stays open beside the main window, runs its commands through it and reads
// its rows again after every command that changed what it shows.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>

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
  explicit CatalogTableModel(TableCatalog catalog, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetRows(TableRows rows);
  const TableRows& Rows() const { return rows_; }
  // The catalog as the rows were read from it.
  const TableCatalog& Catalog() const { return catalog_; }
  // The field index of a column; kEntryOrder for the number, -3 for the status.
  int ColumnField(int column) const;
  int FieldColumn(int field) const;

 private:
  TableCatalog catalog_;
  std::vector<int> fields_;
  TableRows rows_;
  mutable TableRowCache cache_;
};

class frmCatalogTable : public QDialog {
  Q_OBJECT

 public:
  frmCatalogTable(const CatalogTableWindow& window, QtUi& ui, QWidget* parent = nullptr);
  // Shows the table beside `parent` (ui.catalogTable then), or brings the open one forward.
  static bool Open(const CatalogTableWindow& window, QtUi& ui, QWidget* parent);
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
  // After a command: when the catalog is another one, or its layout or entries changed, the rows are
  // read again (the current entry stays current); with no catalog open the window closes.
  void ShowChanges();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Columns, caption and rows for the current catalog. When it is the catalog shown, `current` is the
  // entry to keep current, and the rows shown stay until the query has read them again.
  void Load(std::optional<EntryNumber> current = std::nullopt);
  void Run(const std::function<void(Program&)>& command);
  // The query into VRK.INI, for the catalog shown.
  void KeepQuery();
  std::vector<EntryNumber> SelectedEntries() const;
  std::vector<EntryNumber> ShownEntries() const;
  void ShowRows(TableRows rows);
  void ShowOrder();
  // "Export these rows" to a file chosen as File > Export chooses one, written by `write`.
  using RowsWriter = std::function<EntryNumber(Program&, const std::string&, const std::vector<EntryNumber>&)>;
  void Export(const char* filter, const char* extension, const RowsWriter& write);

  CatalogTableWindow window_;
  QtUi& ui_;
  QTimer* typing_;           // the filter runs once typing pauses
  std::uint64_t query_ = 0;  // the number of the query last started
  TableWorker worker_;       // last: stopped and joined first when the window goes
};

}  // namespace vrk
