// TDataSource, the component that connects data-aware parts (data links) to a data set, and
// TDataLink, the link through which they hear of the data set's changes.
#pragma once

#include <vector>

#include "host/dataclx/DataSet.h"
#include "host/rtl/Component.h"

class TDataSource : public TComponent {
  TIRVENDAL_CLASS(TDataSource)

  explicit TDataSource(TComponent* Owner);
  ~TDataSource() override;

  // The data set this source shows; cleared when that data set is destroyed.
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);

 protected:
  void Notification(TComponent* Component, TOperation Operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void NotifyLinks(TDataEvent Event, intptr_t Info);

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FDataLinks;  // not owned
};

// A link of a data-aware part to a data source. The part derives from it and overrides the
// notifications it cares for.
class TDataLink {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  virtual ~TDataLink();

  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
  // True when the source's data set is open.
  bool Active() const;

 protected:
  // The data set was opened or closed, or the source now shows another one.
  virtual void ActiveChanged() {}
  // The records changed as a whole.
  virtual void DataSetChanged() {}
  // The current record moved.
  virtual void DataSetScrolled(int Distance) {}

 private:
  friend class TDataSource;
  void DataEvent(TDataEvent Event, intptr_t Info);

  TDataSource* FDataSource = nullptr;
};
