// The data view: a data set's rows read on demand, and a detail's master beside it.
#include "designhost/gui/DataView.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "host/qt/QtText.h"
#include "host/rtl/SysUtils.h"
#include "host/rtl/UpdateScope.h"
#include "host/runtime/Table.h"

namespace {

// How often a shown table is asked whether its file changed.
constexpr int kOutdatedCheckMs = 1000;

std::string ErrorText() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace

// TDataSetModel

TDataSetModel::TDataSetModel(QObject* Parent)
    : QAbstractTableModel(Parent), FSource(std::make_unique<TDataSource>(nullptr)) {
  FLink.SetDataSource(FSource.get());
}

TDataSetModel::~TDataSetModel() {
  // Letting go tells the link, and nobody may hear it now: the view may be half gone.
  OnReset = nullptr;
  OnScrolled = nullptr;
  TUpdateScope quiet(&FReading);
  FLink.SetDataSource(nullptr);
}

void TDataSetModel::SetDataSet(TDataSet* DataSet) {
  {
    TUpdateScope quiet(&FReading);
    FSource->SetDataSet(DataSet);
  }
  Reload();
}

void TDataSetModel::Reload(int AtLeast) {
  if (FReading.Updating()) return;
  beginResetModel();
  FColumns.clear();
  FRows.clear();
  FError.clear();
  FNote.clear();
  TDataSet* dataSet = DataSet();
  FAtEnd = !dataSet || !dataSet->Active();
  if (!FAtEnd) {
    for (int i = 0; i < dataSet->Fields()->Count(); ++i) FColumns.push_back(dataSet->Fields()->Fields(i)->FieldName());
    // At least as far as the current record, so the grid can show where the cursor is.
    int wanted = std::max({kBatch, AtLeast, (dataSet->RecNo() + kBatch - 1) / kBatch * kBatch});
    FRows = ReadRows(wanted);
  }
  endResetModel();
  if (OnReset) OnReset();
}

std::vector<TDataSetModel::TRow> TDataSetModel::ReadRows(int Count) {
  std::vector<TRow> rows;
  TDataSet* dataSet = DataSet();
  if (FAtEnd || !dataSet || !dataSet->Active()) return rows;
  TUpdateScope reading(&FReading);
  try {
    TDisableControlsScope quiet(*dataSet);
    const int start = dataSet->RecNo();
    // The cursor goes to the first record not read yet, reads on, and comes back.
    const int target = static_cast<int>(FRows.size()) + 1;
    if (dataSet->RecNo() == 0) dataSet->First();
    int at = dataSet->RecNo();
    if (at == 0 || dataSet->MoveBy(target - at) != target - at) {
      FAtEnd = true;
    } else {
      TFields* fields = dataSet->Fields();
      // No record past the last one shown is asked for: the next batch finds out whether
      // there is one.
      while (Count > 0) {
        TRow row;
        for (int i = 0; i < fields->Count(); ++i) {
          TField* field = fields->Fields(i);
          row.push_back(field->IsNull() ? std::nullopt : std::optional<std::string>(field->AsString()));
        }
        rows.push_back(std::move(row));
        if (static_cast<int>(rows.size()) == Count) break;
        int before = dataSet->RecNo();
        dataSet->Next();
        if (dataSet->Eof() || dataSet->RecNo() == before) {
          FAtEnd = true;
          break;
        }
      }
    }
    if (start > 0)
      dataSet->MoveBy(start - dataSet->RecNo());
    else
      dataSet->First();
  } catch (...) {
    FError = ErrorText();
    FAtEnd = true;
  }
  return rows;
}

bool TDataSetModel::RefreshIfOutdated() {
  // Tables know whether their file changed under the rows read; other data sets hold their own.
  auto* dataSet = dynamic_cast<TQVRTable*>(DataSet());
  if (FReading.Updating() || !dataSet || !dataSet->Active() || !dataSet->RecordsOutdated()) return false;
  const int shown = RowsRead();
  const int recNo = dataSet->RecNo();
  std::string error;
  {
    // The model reads once, below, not at each notice of the data set.
    TUpdateScope quiet(&FReading);
    try {
      dataSet->Refresh();
      if (recNo > 1) dataSet->MoveBy(recNo - 1);
    } catch (...) {
      error = ErrorText();
    }
  }
  Reload(shown);
  if (FError.empty()) FError = error;
  FNote = "read again because the file changed on disk";
  if (OnReset) OnReset();
  return true;
}

int TDataSetModel::CurrentRow() const {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active()) return -1;
  int row = dataSet->RecNo() - 1;
  return row < static_cast<int>(FRows.size()) ? row : -1;
}

void TDataSetModel::MoveTo(int Row) {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active() || Row < 0 || Row >= static_cast<int>(FRows.size())) return;
  try {
    if (dataSet->RecNo() == 0) dataSet->First();
    dataSet->MoveBy(Row - (dataSet->RecNo() - 1));
  } catch (...) {
    FError = ErrorText();
  }
}

int TDataSetModel::rowCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TDataSetModel::columnCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

QVariant TDataSetModel::data(const QModelIndex& Index, int Role) const {
  if (!Index.isValid() || Index.row() >= rowCount() || Index.column() >= columnCount()) return {};
  const std::optional<std::string>& value =
      FRows[static_cast<size_t>(Index.row())][static_cast<size_t>(Index.column())];
  if (Role == Qt::DisplayRole) return value ? ToQString(*value) : QStringLiteral("(null)");
  if (Role == Qt::ForegroundRole && !value) return QColor(Qt::gray);
  return {};
}

QVariant TDataSetModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Role != Qt::DisplayRole) return {};
  if (Orientation == Qt::Vertical) return Section + 1;
  if (Section < 0 || Section >= columnCount()) return {};
  return ToQString(FColumns[static_cast<size_t>(Section)]);
}

bool TDataSetModel::canFetchMore(const QModelIndex& Parent) const { return !Parent.isValid() && !FAtEnd; }

void TDataSetModel::fetchMore(const QModelIndex& Parent) {
  if (Parent.isValid() || FAtEnd || FReading.Updating()) return;
  // Rows of the file as it is now never join rows read from it as it was.
  if (RefreshIfOutdated()) return;
  std::vector<TRow> rows = ReadRows(kBatch);
  if (rows.empty()) return;
  int first = static_cast<int>(FRows.size());
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  for (TRow& row : rows) FRows.push_back(std::move(row));
  endInsertRows();
}

// TDataView

namespace {

QTableView* MakeGrid(QWidget* Parent, const QString& Name, QAbstractItemModel* Model) {
  auto* grid = new QTableView(Parent);
  grid->setObjectName(Name);
  grid->setModel(Model);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);  // the view only reads
  grid->setAlternatingRowColors(true);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  grid->horizontalHeader()->setStretchLastSection(true);
  return grid;
}

}  // namespace

TDataView::TDataView(QWidget* Parent) : QWidget(Parent) {
  FMasterRows = new TDataSetModel(this);
  FRows = new TDataSetModel(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  auto* masterPane = new QWidget(splitter);
  auto* masterLayout = new QVBoxLayout(masterPane);
  masterLayout->setContentsMargins(0, 0, 0, 0);
  FMasterCaption = new QLabel(masterPane);
  FMasterGrid = MakeGrid(masterPane, QStringLiteral("MasterRows"), FMasterRows);
  masterLayout->addWidget(FMasterCaption);
  masterLayout->addWidget(FMasterGrid, 1);
  auto* pane = new QWidget(splitter);
  auto* paneLayout = new QVBoxLayout(pane);
  paneLayout->setContentsMargins(0, 0, 0, 0);
  FCaption = new QLabel(pane);
  FCaption->setWordWrap(true);
  FGrid = MakeGrid(pane, QStringLiteral("Rows"), FRows);
  paneLayout->addWidget(FCaption);
  paneLayout->addWidget(FGrid, 1);
  layout->addWidget(splitter);
  masterPane->hide();

  // Choosing a row moves the data set's cursor: a master's details follow it.
  auto follow = [this](QTableView* Grid, TDataSetModel* Model) {
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, Model](const QModelIndex& Now) {
              if (!FMarking.Updating() && Now.isValid()) Model->MoveTo(Now.row());
            });
  };
  follow(FMasterGrid, FMasterRows);
  follow(FGrid, FRows);
  FMasterRows->OnReset = [this] {
    MarkCurrent(*FMasterGrid, *FMasterRows);
    UpdateCaption();
  };
  FMasterRows->OnScrolled = [this] { MarkCurrent(*FMasterGrid, *FMasterRows); };
  FRows->OnReset = [this] {
    MarkCurrent(*FGrid, *FRows);
    UpdateCaption();
  };
  FRows->OnScrolled = [this] { MarkCurrent(*FGrid, *FRows); };
  auto* watch = new QTimer(this);
  watch->setInterval(kOutdatedCheckMs);
  connect(watch, &QTimer::timeout, this, [this] { CheckOutdated(); });
  watch->start();
  connect(FRows, &QAbstractItemModel::rowsInserted, this, [this] { UpdateCaption(); });
  connect(FMasterRows, &QAbstractItemModel::rowsInserted, this, [this] { UpdateCaption(); });
  UpdateCaption();
}

TDataView::~TDataView() {
  // The models let go of their data sets before the grids go, telling nobody.
  FRows->OnReset = nullptr;
  FRows->OnScrolled = nullptr;
  FMasterRows->OnReset = nullptr;
  FMasterRows->OnScrolled = nullptr;
  FRows->SetDataSet(nullptr);
  FMasterRows->SetDataSet(nullptr);
}

void TDataView::Show(TComponent* Component) {
  auto* dataSet = dynamic_cast<TDataSet*>(Component);
  TDataSource* source = dataSet ? dataSet->DataSource() : nullptr;
  TDataSet* master = source ? source->DataSet() : nullptr;
  FMasterRows->SetDataSet(master);
  FRows->SetDataSet(dataSet);
  FMasterGrid->parentWidget()->setVisible(master != nullptr);
  UpdateCaption();
}

void TDataView::CheckOutdated() {
  // Not under a dialog, which may be working with the data sets shown.
  if (!isVisible() || QApplication::activeModalWidget()) return;
  // The master first: its details read again with it.
  FMasterRows->RefreshIfOutdated();
  FRows->RefreshIfOutdated();
}

void TDataView::MarkCurrent(QTableView& Grid, const TDataSetModel& Model) {
  TUpdateScope marking(&FMarking);
  int row = Model.CurrentRow();
  if (row < 0)
    Grid.selectionModel()->clearCurrentIndex();
  else
    Grid.selectionModel()->setCurrentIndex(Model.index(row, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TDataView::UpdateCaption() {
  auto describe = [](const TDataSetModel& Model) -> QString {
    TDataSet* dataSet = Model.DataSet();
    QString name = ToQString(dataSet->Name());
    if (!Model.Error().empty()) return QStringLiteral("%1: %2").arg(name, ToQString(Model.Error()));
    if (!Model.Note().empty())
      return QStringLiteral("%1: %2 rows, %3").arg(name).arg(Model.RowsRead()).arg(ToQString(Model.Note()));
    if (!dataSet->Active()) return QStringLiteral("%1 is not active: set Active to True to see its rows").arg(name);
    if (Model.canFetchMore({}))
      return QStringLiteral("%1: the first %2 rows; more as you scroll").arg(name).arg(Model.RowsRead());
    return QStringLiteral("%1: %2 rows").arg(name).arg(Model.RowsRead());
  };
  if (!FRows->DataSet())
    FCaption->setText(QStringLiteral("Select a table to see its rows."));
  else
    FCaption->setText(describe(*FRows));
  if (TDataSet* master = FMasterRows->DataSet()) {
    QString text = describe(*FMasterRows);
    if (master->Active() && FRows->DataSet())
      text +=
          QStringLiteral(". Choose a row: %1 shows the rows linked to it.").arg(ToQString(FRows->DataSet()->Name()));
    FMasterCaption->setText(text);
  }
}
