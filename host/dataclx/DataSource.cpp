// TDataSource and TDataLink.
#include "host/dataclx/DataSource.h"

#include <algorithm>

#include "host/rtl/TypInfo.h"

TClass TDataSource::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDataSource>(TComponent::StaticClass())
                                     .Component()
                                     .Object<TDataSet>("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet)
                                     .Build();
  return &info;
}

TDataSource::TDataSource(TComponent* Owner) : TComponent(Owner) {}

TDataSource::~TDataSource() {
  // The links hear that they lost their source and may read again; a failure there has nobody
  // left to report to.
  while (!FDataLinks.empty()) {
    try {
      FDataLinks.back()->SetDataSource(nullptr);
    } catch (...) {
    }
  }
  try {
    SetDataSet(nullptr);
  } catch (...) {
  }
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) {
    auto& sources = FDataSet->FDataSources;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    RemoveFreeNotification(FDataSet);
  }
  FDataSet = Value;
  if (FDataSet) {
    FDataSet->FDataSources.push_back(this);
    FreeNotification(FDataSet);
  }
  NotifyLinks(deUpdateState, 0);
}

void TDataSource::Notification(TComponent* Component, TOperation Operation) {
  TComponent::Notification(Component, Operation);
  if (Operation == opRemove && Component == FDataSet) SetDataSet(nullptr);
}

void TDataSource::NotifyLinks(TDataEvent Event, intptr_t Info) {
  std::vector<TDataLink*> links = FDataLinks;
  for (TDataLink* link : links)
    if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end()) link->DataEvent(Event, Info);
}

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (FDataSource) {
    auto& links = FDataSource->FDataLinks;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  FDataSource = Value;
  if (FDataSource) FDataSource->FDataLinks.push_back(this);
  ActiveChanged();
}

bool TDataLink::Active() const { return DataSet() && DataSet()->Active(); }

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info) {
  switch (Event) {
    case deUpdateState:
      ActiveChanged();
      break;
    case deDataSetChange:
    case deLayoutChange:
      DataSetChanged();
      break;
    case deDataSetScroll:
      DataSetScrolled(static_cast<int>(Info));
      break;
    default:
      break;
  }
}
