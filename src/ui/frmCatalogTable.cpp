#include "ui/frmCatalogTable.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <numeric>

#include "csv/CsvExport.h"
#include "csv/CsvFormat.h"
#include "shell/Browsing.h"
#include "shell/Spreadsheets.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"
#include "xlsx/XlsxExport.h"

namespace vrk {
namespace {

constexpr int kStatusColumn = -3;
constexpr int kTypingPause = 150;  // ms after the last keystroke before the filter runs

QString RowsText(EntryNumber rows) {
  return rows == 1 ? QStringLiteral("1 row") : QStringLiteral("%L1 rows").arg(rows);
}

}  // namespace

CatalogTableModel::CatalogTableModel(TableCatalog catalog, QObject* parent)
    : QAbstractTableModel(parent),
      catalog_(std::move(catalog)),
      fields_(TableFields(catalog_.header)),
      cache_(catalog_) {
  rows_.count = catalog_.header.Count();
}

int CatalogTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int CatalogTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_.size()) + 2;
}

int CatalogTableModel::ColumnField(int column) const {
  return column == 0 ? kEntryOrder : column == 1 ? kStatusColumn : fields_[static_cast<std::size_t>(column - 2)];
}

int CatalogTableModel::FieldColumn(int field) const {
  if (field < 0) return field == kEntryOrder ? 0 : -1;
  const auto at = std::find(fields_.begin(), fields_.end(), field);
  return at == fields_.end() ? -1 : static_cast<int>(at - fields_.begin()) + 2;
}

QVariant CatalogTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const EntryNumber n = rows_.Entry(index.row());
  const int field = ColumnField(index.column());
  if (role == Qt::TextAlignmentRole) {
    const bool number = field == kEntryOrder ||
                        (field >= 0 && (IsSumField(catalog_.fieldTable[field]) || catalog_.formulaTable[field].Valid));
    return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole) return {};
  const EntryRecord* entry = cache_.Entry(n);
  if (entry == nullptr) return {};
  const bool deleted = entry->Status == kStatusDeleted;
  if (role == Qt::ForegroundRole) {
    return deleted ? QVariant(QApplication::palette().color(QPalette::Disabled, QPalette::Text)) : QVariant();
  }
  if (field == kEntryOrder) return QVariant::fromValue(static_cast<qlonglong>(n));
  if (field == kStatusColumn) return deleted ? QStringLiteral("deleted") : QStringLiteral("active");
  return QString::fromStdString(cache_.Cell(*entry, field));
}

QVariant CatalogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const int field = ColumnField(section);
  if (field == kEntryOrder) return QStringLiteral("Number");
  if (field == kStatusColumn) return QStringLiteral("Status");
  return ToQString(RightTrim(catalog_.fieldTable[static_cast<std::size_t>(field)].Name));
}

void CatalogTableModel::SetRows(TableRows rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

frmCatalogTable::frmCatalogTable(const CatalogTableWindow& window, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      txtFilter(new QLineEdit(ToQString(window.query.filter), this)),
      chkHideDeleted(new QCheckBox(tr("&Hide deleted"), this)),
      chkSortedOrder(new QCheckBox(tr("S&orted order"), this)),
      grdEntries(new QTableView(this)),
      lblRows(new QLabel(this)),
      cmdShowEntry(new QPushButton(tr("&Show Entry"), this)),
      cmdDelete(new QPushButton(tr("&Delete"), this)),
      cmdUndelete(new QPushButton(tr("&Undelete"), this)),
      cmdExport(new QPushButton(tr("&Export these rows"), this)),
      cmdClose(new QPushButton(tr("&Close"), this)),
      model(nullptr),
      window_(window),
      ui_(ui),
      typing_(new QTimer(this)) {
  grdEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdEntries->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdEntries->setTabKeyNavigation(false);
  grdEntries->verticalHeader()->hide();
  // Every row is as high as the font: the view never measures rows it does not show.
  grdEntries->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grdEntries->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  grdEntries->horizontalHeader()->setSectionsClickable(true);
  grdEntries->horizontalHeader()->setSortIndicatorShown(true);
  cmdShowEntry->setDefault(true);

  auto* exports = new QMenu(cmdExport);
  connect(exports->addAction(tr("&CSV File...")), &QAction::triggered, this, &frmCatalogTable::ExportCsv_Click);
  connect(exports->addAction(tr("&XLSX File...")), &QAction::triggered, this, &frmCatalogTable::ExportXlsx_Click);
  connect(exports->addAction(tr("&Print")), &QAction::triggered, this, &frmCatalogTable::ExportPrint_Click);
  cmdExport->setMenu(exports);

  auto* filterLabel = new QLabel(tr("&Filter:"), this);
  filterLabel->setBuddy(txtFilter);
  auto* top = new QHBoxLayout;
  top->addWidget(filterLabel);
  top->addWidget(txtFilter, 1);
  top->addWidget(chkHideDeleted);
  top->addWidget(chkSortedOrder);
  auto* buttons = ButtonRow({cmdShowEntry, cmdDelete, cmdUndelete, cmdExport, cmdClose});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grdEntries, 1);
  layout->addWidget(lblRows);
  layout->addLayout(buttons);

  txtFilter->installEventFilter(this);
  grdEntries->installEventFilter(this);
  typing_->setSingleShot(true);
  typing_->setInterval(kTypingPause);
  connect(typing_, &QTimer::timeout, this, &frmCatalogTable::StartQuery);
  connect(txtFilter, &QLineEdit::textEdited, this, &frmCatalogTable::txtFilter_Change);
  connect(chkHideDeleted, &QCheckBox::toggled, this, &frmCatalogTable::StartQuery);
  connect(chkSortedOrder, &QCheckBox::toggled, this, [this](bool on) {
    window_.query.order = on ? TableOrder{.field = kSortedOrder} : TableOrder{};
    StartQuery();
  });
  connect(grdEntries->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmCatalogTable::grdEntries_HeaderClick);
  connect(grdEntries, &QTableView::activated, this, &frmCatalogTable::cmdShowEntry_Click);
  connect(cmdShowEntry, &QPushButton::clicked, this, &frmCatalogTable::cmdShowEntry_Click);
  connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDeleteUndelete_Click(false); });
  connect(cmdUndelete, &QPushButton::clicked, this, [this] { cmdDeleteUndelete_Click(true); });
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
  // Closed in any way, the window keeps its query for its catalog and goes.
  connect(this, &QDialog::finished, this, [this] {
    KeepQuery();
    deleteLater();
  });
  Load();
  txtFilter->setFocus();
}

bool frmCatalogTable::Open(const CatalogTableWindow& window, QtUi& ui, QWidget* parent) {
  if (ui.catalogTable == nullptr) {
    ui.catalogTable = new frmCatalogTable(window, ui, parent);
    FitToScreen(*ui.catalogTable);
    if (parent != nullptr) PlaceBeside(*ui.catalogTable, *parent);
  }
  ui.catalogTable->show();
  ui.catalogTable->raise();
  ui.catalogTable->activateWindow();
  return true;
}

void frmCatalogTable::Load(std::optional<EntryNumber> current) {
  Program& program = window_.program;
  setWindowTitle(tr("Catalog Table - ") + ToWindowTitle(program.catalogName));
  auto* read = new CatalogTableModel(TableCatalogOf(program), this);
  if (current && !model->Rows().everyEntry) {
    // The rows of the same catalog stay until the query has read them again, so that nothing flickers.
    TableRows rows = model->Rows();
    std::erase_if(rows.entries, [count = read->Catalog().header.Count()](EntryNumber n) { return n > count; });
    read->SetRows(std::move(rows));
  }
  QItemSelectionModel* selection = grdEntries->selectionModel();  // the view makes one for each model
  grdEntries->setModel(read);
  delete selection;
  delete model;
  model = read;
  const TableCatalog& catalog = model->Catalog();
  for (int column = 2; column < model->columnCount(); ++column) {
    const int length = catalog.header.FieldLength[static_cast<std::size_t>(model->ColumnField(column))];
    grdEntries->setColumnWidth(column, fontMetrics().averageCharWidth() * std::clamp(length, 6, 30) + 12);
  }
  {
    const QSignalBlocker quiet(chkHideDeleted);
    chkHideDeleted->setChecked(window_.query.hideDeleted);
  }
  chkSortedOrder->setVisible(catalog.settings.SortedMark == 1.0f);
  const bool mayChange = program.MayChange();
  cmdDelete->setEnabled(mayChange);
  cmdUndelete->setEnabled(mayChange);
  ShowOrder();
  lblRows->setText(RowsText(model->rowCount()));
  if (model->rowCount() > 0) {
    const EntryNumber row = current ? std::max<EntryNumber>(model->Rows().RowOf(*current), 0) : 0;
    grdEntries->setCurrentIndex(model->index(static_cast<int>(row), 0));
  }
  StartQuery();
}

void frmCatalogTable::ShowChanges() {
  Program& program = window_.program;
  if (!program.CatalogOpen()) {
    close();
    return;
  }
  if (TableCatalogOf(program) == model->Catalog()) return;
  if (program.BasePath() != window_.basePath) {
    KeepQuery();
    window_.basePath = program.BasePath();
    window_.query = ReadTableQuery(program);
    const QSignalBlocker quiet(txtFilter);
    txtFilter->setText(ToQString(window_.query.filter));
    return Load();
  }
  // The same catalog: the entry that was current stays current, where the new rows still hold it.
  const QModelIndex current = grdEntries->currentIndex();
  Load(current.isValid() ? model->Rows().Entry(current.row()) : EntryNumber{0});
}

void frmCatalogTable::KeepQuery() {
  // Under the catalog the rows were read from, its field named by its name there.
  (void)WriteTableQuery(window_.program, window_.basePath, model->Catalog().fieldTable,
                        window_.query);  // a failure has had its message
}

void frmCatalogTable::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // What another window did while this one was in the background shows when it comes forward.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && ui_.Idle()) ShowChanges();
}

void frmCatalogTable::Run(const std::function<void(Program&)>& command) { ui_.runCommand(command); }

QSize frmCatalogTable::sizeHint() const {
  // Room for every column and some thirty rows; FitToScreen keeps it within the screen.
  int columns = 0;
  for (int column = 0; column < model->columnCount(); ++column) columns += grdEntries->columnWidth(column);
  const QSize least = QDialog::sizeHint();
  const int margins = least.width() - grdEntries->sizeHint().width();
  return {std::max(least.width(), columns + margins + 24),
          std::max(least.height(), least.height() + 22 * grdEntries->verticalHeader()->defaultSectionSize())};
}

bool frmCatalogTable::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (watched == txtFilter && (key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown)) {
    grdEntries->setFocus();
    return true;
  }
  if (watched == grdEntries && key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
    if (cmdDelete->isEnabled()) cmdDeleteUndelete_Click(false);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void frmCatalogTable::txtFilter_Change() { typing_->start(); }

void frmCatalogTable::StartQuery() {
  typing_->stop();
  window_.query.filter = FromQString(txtFilter->text());
  window_.query.hideDeleted = chkHideDeleted->isChecked();
  const std::uint64_t query = ++query_;
  worker_.Start(model->Catalog(), window_.query, [this, query](TableRows rows) {
    QMetaObject::invokeMethod(
        this,
        [this, query, rows = std::move(rows)]() mutable {
          if (query == query_) ShowRows(std::move(rows));
        },
        Qt::QueuedConnection);
  });
}

void frmCatalogTable::ShowRows(TableRows rows) {
  const int error = rows.error;
  const QModelIndex current = grdEntries->currentIndex();
  const int column = current.isValid() ? current.column() : 0;
  const EntryNumber entry = current.isValid() ? model->Rows().Entry(current.row()) : 0;
  model->SetRows(std::move(rows));
  lblRows->setText(RowsText(model->rowCount()));
  if (model->rowCount() > 0) {
    const EntryNumber row = model->Rows().RowOf(entry);
    grdEntries->setCurrentIndex(model->index(static_cast<int>(std::max<EntryNumber>(row, 0)), column));
    grdEntries->scrollTo(grdEntries->currentIndex());
  }
  if (error != 0) {
    ui_.Message("The entries of " + window_.program.catalogName + " could not all be read (" + ErrorText(error) + ").",
                Icon::Exclamation);
  }
}

void frmCatalogTable::ShowOrder() {
  const TableOrder& order = window_.query.order;
  const int column = model->FieldColumn(order.field);
  grdEntries->horizontalHeader()->setSortIndicator(column, order.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  const QSignalBlocker quiet(chkSortedOrder);
  chkSortedOrder->setChecked(order.field == kSortedOrder);
}

void frmCatalogTable::grdEntries_HeaderClick(int column) {
  const int field = model->ColumnField(column);
  if (field == kStatusColumn) return ShowOrder();
  TableOrder& order = window_.query.order;
  order = {.field = field, .descending = order.field == field && !order.descending};
  ShowOrder();
  StartQuery();
}

void frmCatalogTable::cmdShowEntry_Click() {
  const QModelIndex current = grdEntries->currentIndex();
  if (!current.isValid()) return;
  const EntryNumber n = model->Rows().Entry(current.row());
  Run([n](Program& program) { GoToEntry(program, n); });
  // On to the entry screen, to work on the entry there; the table stays open beside it.
  if (QWidget* main = parentWidget()) main->activateWindow();
}

std::vector<EntryNumber> frmCatalogTable::SelectedEntries() const {
  std::vector<EntryNumber> entries;
  for (const QModelIndex& row : grdEntries->selectionModel()->selectedRows()) {
    entries.push_back(model->Rows().Entry(row.row()));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::vector<EntryNumber> frmCatalogTable::ShownEntries() const {
  std::vector<EntryNumber> entries(static_cast<std::size_t>(model->Rows().Size()));
  for (std::size_t row = 0; row < entries.size(); ++row)
    entries[row] = model->Rows().Entry(static_cast<EntryNumber>(row));
  return entries;
}

void frmCatalogTable::cmdDeleteUndelete_Click(bool undelete) {
  // The rows are read again after the command, as after any other: rows may leave ("Hide deleted").
  Run([entries = SelectedEntries(), undelete](Program& program) {
    (void)DeleteTableRows(program, entries, undelete);  // a failure has had its message
  });
}

void frmCatalogTable::Export(const char* filter, const char* extension, const RowsWriter& write) {
  Run([this, filter, extension, write](Program& program) {
    const std::string path = ChooseExportFile(program, "Export these rows", filter, extension);
    if (path.empty()) return;
    if (const EntryNumber rows = write(program, path, ShownEntries()); rows >= 0) {
      lblRows->setText(RowsText(rows) + tr(" written to ") + QFile::decodeName(QByteArray::fromStdString(path)));
    }
  });
}

void frmCatalogTable::ExportCsv_Click() {
  Export("CSV (*.csv)|*.csv", ".csv", [](Program& program, const std::string& path, const auto& entries) {
    return ExportCsvRows(program, path, entries);
  });
}

void frmCatalogTable::ExportXlsx_Click() {
  Export("Spreadsheet (*.xlsx)|*.xlsx", ".xlsx", [](Program& program, const std::string& path, const auto& entries) {
    return ExportXlsxRows(program, path, entries);
  });
}

void frmCatalogTable::ExportPrint_Click() {
  Run([entries = ShownEntries()](Program& program) { (void)PrintTableRows(program, entries); });
}

}  // namespace vrk
