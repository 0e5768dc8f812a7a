// The data view of the design window: the rows of the selected table while it is active, read
// on demand through the data set's navigation (the first rows at once, more as the grid is
// scrolled, never the whole table), and, for a detail table, its master's rows above: choosing
// a master row moves the master's cursor, and the detail shows only the rows linked to it. The
// view only reads: nothing is ever written to the database.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/dataclx/DataSource.h"
#include "host/rtl/UpdateScope.h"

class QLabel;
class QTableView;

// The rows of one data set, as far as they were read. Reading walks the cursor with controls
// disabled and puts it back where it was, so nobody following the data set notices.
class TDataSetModel : public QAbstractTableModel {
 public:
  // Rows read at once: when shown, and each time the grid scrolls to the end.
  static constexpr int kBatch = 50;

  explicit TDataSetModel(QObject* Parent = nullptr);
  ~TDataSetModel() override;

  // Shows DataSet (nil: nothing) from its first rows on.
  void SetDataSet(TDataSet* DataSet);
  TDataSet* DataSet() const { return FLink.DataSet(); }
  // The rows read so far.
  int RowsRead() const { return static_cast<int>(FRows.size()); }
  // The row of the data set's current record, or -1 when it was not read.
  int CurrentRow() const;
  // Moves the data set's cursor to Row (read already): its details follow.
  void MoveTo(int Row);
  // Told after the rows were read afresh (the data set changed, opened, closed or moved).
  std::function<void()> OnReset;
  std::function<void()> OnScrolled;
  // The error the last read met, empty when none.
  const std::string& Error() const { return FError; }
  // When the data set's records no longer show its file as it is (another program wrote to
  // it), reads them afresh, as many rows as were shown, the cursor back on its row, and says so
  // in Note; answers whether it did. The view asks before reading on and while it is idle.
  bool RefreshIfOutdated();
  // Why the rows were last read afresh, empty when they were read at the person's request.
  const std::string& Note() const { return FNote; }

  int rowCount(const QModelIndex& Parent = {}) const override;
  int columnCount(const QModelIndex& Parent = {}) const override;
  QVariant data(const QModelIndex& Index, int Role) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
  bool canFetchMore(const QModelIndex& Parent) const override;
  void fetchMore(const QModelIndex& Parent) override;

 private:
  class TLink : public TDataLink {
   public:
    explicit TLink(TDataSetModel& Model) : FModel(Model) {}

   protected:
    void ActiveChanged() override { FModel.Reload(); }
    void DataSetChanged() override { FModel.Reload(); }
    void DataSetScrolled(int) override {
      if (!FModel.FReading.Updating() && FModel.OnScrolled) FModel.OnScrolled();
    }

   private:
    TDataSetModel& FModel;
  };
  using TRow = std::vector<std::optional<std::string>>;

  // Reads the rows afresh, at least AtLeast of them and as far as the current record.
  void Reload(int AtLeast = 0);
  // Reads up to Count rows after those read; answers the rows read.
  std::vector<TRow> ReadRows(int Count);

  std::unique_ptr<TDataSource> FSource;
  TLink FLink{*this};
  std::vector<std::string> FColumns;
  std::vector<TRow> FRows;
  bool FAtEnd = true;
  TUpdateCount FReading;
  std::string FError;
  std::string FNote;
};

class TDataView : public QWidget {
 public:
  explicit TDataView(QWidget* Parent = nullptr);
  ~TDataView() override;

  // Shows Component's rows when it is a data set (nil or anything else: nothing).
  void Show(TComponent* Component);
  TDataSet* Shown() const { return FRows->DataSet(); }

  TDataSetModel& Rows() const { return *FRows; }
  TDataSetModel& MasterRows() const { return *FMasterRows; }
  QTableView& Grid() const { return *FGrid; }
  QTableView& MasterGrid() const { return *FMasterGrid; }
  QLabel& Caption() const { return *FCaption; }

 private:
  void UpdateCaption();
  void MarkCurrent(QTableView& Grid, const TDataSetModel& Model);

  // Looks, while the view is shown, whether another program changed what it shows.
  void CheckOutdated();

  QLabel* FCaption;
  QLabel* FMasterCaption;
  QTableView* FMasterGrid;
  QTableView* FGrid;
  TDataSetModel* FMasterRows;
  TDataSetModel* FRows;
  TUpdateCount FMarking;  // the current rows are being marked: no person chose them
};
