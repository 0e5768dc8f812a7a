// The Field Link Designer: loading the indexes, fields and existing joins, editing the joins,
// the commit on OK, and the run that writes the link back through the field-link object.
#include "fldlinks/QVRLinkFields.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "fldlinks/QVRBaseFieldLinkProperty.h"
#include "host/dataclx/Db.h"
#include "host/rtl/TypInfo.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/Bevel.h"
#include "host/visualclx/Dialogs.h"
#include "host/visualclx/StdCtrls.h"

namespace {

std::string JoinLine(const std::string& Detail, const std::string& Master) {
  return Format("%s -> %s", {Detail, Master});
}

// Opens the data set, reads its field definitions afresh and closes it again; it is closed
// also when reading fails. A data set that cannot open over a stale link (an index or a field
// that is gone, master fields its order no longer fits) has its definitions read without
// opening: the designer is where such a link is mended.
void RefreshFieldDefs(TDataSet* DataSet) {
  try {
    DataSet->Open();
  } catch (const EDatabaseError&) {
    DataSet->FieldDefs()->Update();
    return;
  }
  try {
    DataSet->FieldDefs()->Update();
  } catch (...) {
    DataSet->Close();
    throw;
  }
  DataSet->Close();
}

// The index definition of that name, or nil; a link without index definitions has none.
TIndexDef* FindIndexDef(TIndexDefs* Defs, const std::string& Name) {
  if (!Defs) return nullptr;
  int index = Defs->IndexOf(Name);
  return index >= 0 ? Defs->Items(index) : nullptr;
}

// The items of a list as IndexOf and Delete see them while names are taken out one at a time:
// a name is offered while an item of that name remains, and taking it takes the first such
// item. The taken items then leave the list in one pass.
class TOfferedNames {
 public:
  explicit TOfferedNames(const TStrings* Items) : FTaken(static_cast<size_t>(Items->Count()), false) {
    FEntries.Assign(Items);
  }

  bool Offered(std::string_view Name) const { return FEntries.Untaken(Name); }

  void Take(std::string_view Name) {
    FTaken[static_cast<size_t>(FEntries.Take(Name))] = true;
    FAnyTaken = true;
  }

  void RemoveTaken(TStrings* Items) const {
    if (!FAnyTaken) return;
    std::vector<std::pair<std::string, TObject*>> kept;
    for (int i = 0, n = Items->Count(); i < n; ++i)
      if (!FTaken[static_cast<size_t>(i)]) kept.emplace_back(Items->Get(i), Items->GetObject(i));
    TUpdateScope update(Items);
    Items->Clear();
    for (auto& [text, object] : kept) Items->AddObject(text, object);
  }

 private:
  TNameEntries FEntries;
  std::vector<bool> FTaken;
  bool FAnyTaken = false;
};

}  // namespace

TClass TQVRLinkFields::StaticClass() {
  using T = TQVRLinkFields;
  static const TClassInfo info = TClassBuilder<T>(TForm::StaticClass())
                                     .Component()
                                     .Field("DetailList", &T::DetailList)
                                     .Field("MasterList", &T::MasterList)
                                     .Field("BindList", &T::BindList)
                                     .Field("Label30", &T::Label30)
                                     .Field("Label31", &T::Label31)
                                     .Field("IndexList", &T::IndexList)
                                     .Field("IndexLabel", &T::IndexLabel)
                                     .Field("Label2", &T::Label2)
                                     .Field("Bevel1", &T::Bevel1)
                                     .Field("Bevel2", &T::Bevel2)
                                     .Field("AddButton", &T::AddButton)
                                     .Field("DeleteButton", &T::DeleteButton)
                                     .Field("ClearButton", &T::ClearButton)
                                     .Field("Button1", &T::Button1)
                                     .Field("Button2", &T::Button2)
                                     .Field("Help", &T::Help)
                                     .Method("FormCreate", &T::FormCreate)
                                     .Method("BindingListClick", &T::BindingListClick)
                                     .Method("AddButtonClick", &T::AddButtonClick)
                                     .Method("DeleteButtonClick", &T::DeleteButtonClick)
                                     .Method("BindListClick", &T::BindListClick)
                                     .Method("ClearButtonClick", &T::ClearButtonClick)
                                     .Method("FormDestroy", &T::FormDestroy)
                                     .Method("BitBtn1Click", &T::BitBtn1Click)
                                     .Method("HelpClick", &T::HelpClick)
                                     .Method("IndexListChange", &T::IndexListChange)
                                     .Build();
  return &info;
}

// What a join line means: its two names as they were joined, so that they come back whole
// whatever they hold (" -> " included), and where its detail field stands in the index.
class TQVRLinkFields::TJoin : public TObject {
 public:
  TJoin(std::string Detail, std::string Master, int Position, size_t Slot)
      : Detail(std::move(Detail)), Master(std::move(Master)), Position(Position), Slot(Slot) {}

  std::string Detail;
  std::string Master;
  int Position;  // the detail's first position in AllDetailFields; -1 when the index lacks it
  size_t Slot;   // its place among the form's joins
};

TQVRLinkFields::TQVRLinkFields(TComponent* Owner) : TForm(Owner) {}

TQVRLinkFields::~TQVRLinkFields() = default;

TObject* TQVRLinkFields::JoinedFlag() {
  static TObject marker;  // any non-nil value does; one object shared by every designer
  return &marker;
}

// ---------------------------------------------------------------------------------------------
// Life

void TQVRLinkFields::FormCreate(TObject* Sender) {
  FAllDetailFields = std::make_unique<TStringList>();
  FAllMasterFields = std::make_unique<TStringList>();
  SetHelpContext(kQVRLinkFieldsHelpContext);
}

void TQVRLinkFields::FormDestroy(TObject* Sender) {
  FAllDetailFields.reset();
  FAllMasterFields.reset();
  FDetailEntries.Clear();
  FMasterPositions.Clear();
}

// Help asks the application for the designer's topic, then takes the topic that the
// application shows as the form's own.
void TQVRLinkFields::HelpClick(TObject* Sender) {
  Application()->ShowHelp(HelpContext());
  SetHelpContext(Application()->HelpContext());
}

// ---------------------------------------------------------------------------------------------
// Binding and the modal run

void TQVRLinkFields::SetDataSet(TDataSet* DataSet) {
  if (!FLinkProperty) throw EInvalidOperation("The Field Link Designer has no field link to work through");
  if (!DataSet) throw EInvalidOperation("The Field Link Designer has no detail data set to link");
  RefreshFieldDefs(DataSet);
  if (TIndexDefs* defs = FLinkProperty->GetIndexDefs()) defs->Update();
  TDataSource* source = DataSet->DataSource();
  if (!source || !source->DataSet()) DatabaseError("Missing MasterSource or DataSource", DataSet);
  TDataSet* master = source->DataSet();
  RefreshFieldDefs(master);
  FDetailDataSet = DataSet;
  FMasterDataSet = master;
}

bool TQVRLinkFields::Edit() {
  if (!FLinkProperty || !FDetailDataSet || !FMasterDataSet)
    throw EInvalidOperation("The Field Link Designer is not bound to a detail and a master data set");
  Initialize();
  ShowModal();
  if (ModalResult() != mrOk) return false;
  if (!FPendingIndexName.empty())
    FLinkProperty->SetIndexName(FPendingIndexName);
  else
    FLinkProperty->SetIndexFieldNames(FPendingIndexFieldNames);
  FLinkProperty->SetMasterFields(FPendingMasterFields);
  return true;
}

bool EditMasterFields(TDataSet* DataSet, TQVRBaseFieldLinkProperty* LinkProperty) {
  TFormPtr<TQVRLinkFields> form = CreateForm<TQVRLinkFields>();
  form->SetLinkProperty(LinkProperty);
  form->SetDataSet(DataSet);
  return form->Edit();
}

// ---------------------------------------------------------------------------------------------
// Loading

void TQVRLinkFields::Initialize() {
  // The link as stored: an OK that changes nothing gives it back byte for byte.
  FStoredIndexName = FLinkProperty->GetIndexName();
  FStoredIndexFieldNames = FLinkProperty->GetIndexFieldNames();
  FStoredMasterFields = FLinkProperty->GetMasterFields();
  TIndexDefs* defs = FLinkProperty->GetIndexDefs();
  // The detail fields of the stored order, as the table reads them; nothing for an index that
  // is gone.
  std::optional<TCurrentOrder> order = CurrentOrder(FStoredIndexName, FStoredIndexFieldNames, defs);
  if (!FLinkProperty->GetIndexBased()) {
    IndexLabel->Hide();
    IndexList->Hide();
  } else {
    {
      TUpdateScope update(IndexList->Items());
      FLinkProperty->GetIndexNames(IndexList->Items());
    }
    std::string indexName;
    if (!FStoredIndexFieldNames.empty())
      indexName = IndexForFields(defs, FStoredIndexFieldNames);
    else if (order && order->Index)
      indexName = order->Index->Name();
    int entry = indexName.empty() ? -1 : IndexList->Items()->IndexOf(indexName);
    // Selecting from code fires nothing: IndexListChange runs below, once.
    IndexList->SetItemIndex(entry >= 0 ? entry : 0);
  }

  FPendingMasterFields = FStoredMasterFields;
  std::vector<std::string> detailKeys = order ? std::move(order->Keys) : std::vector<std::string>{};
  FPendingIndexFieldNames.clear();
  for (const std::string& key : detailKeys)
    FPendingIndexFieldNames += (FPendingIndexFieldNames.empty() ? "" : ";") + key;

  IndexListChange(nullptr);
  {
    TUpdateScope update(MasterList->Items());
    FMasterDataSet->GetFieldNames(MasterList->Items());
  }
  FAllMasterFields->Assign(MasterList->Items());
  FMasterPositions.Assign(FAllMasterFields.get());
  LoadJoinPairs(SplitFieldList(FPendingMasterFields), detailKeys);
  FEdited = false;
}

std::string TQVRLinkFields::IndexForFields(const TIndexDefs* Defs, const std::string& Fields) const {
  if (!Defs) return {};
  std::vector<std::string> names = SplitFieldList(Fields);
  for (std::string& name : names) name = DetailSpelling(name);
  // The index the user would pick for the list: the first whose leading fields are its names,
  // whichever way it orders them.
  for (int i = 0; i < Defs->Count(); ++i) {
    const std::vector<std::string> keys = SplitFieldList(Defs->Items(i)->Fields());
    if (keys.size() < names.size()) continue;
    bool leading = true;
    for (size_t k = 0; k < names.size() && leading; ++k) leading = SameText(names[k], keys[k]);
    if (leading) return Defs->Items(i)->Name();
  }
  return {};
}

std::string TQVRLinkFields::DetailSpelling(const std::string& Name) const {
  const TDefCollection* fields = FDetailDataSet->FieldDefs();
  std::string_view spelled = Name;
  const TNamedItem* field = ResolveListedName(Name, [&](std::string_view name) {
    spelled = name;
    return fields->Find(name);
  });
  return field ? std::string(spelled) : Name;
}

void TQVRLinkFields::IndexListChange(TObject* Sender) {
  // The new choice's fields are read before anything shown changes, so a choice that cannot be
  // taken leaves the box, the link and the joins as they were.
  if (std::exchange(FRefusedChoice, false) && IndexList->ItemIndex() == FShownEntry) return;
  TStringList offered;
  bool expression = false;
  try {
    if (FLinkProperty->GetIndexBased()) {
      FLinkProperty->SetIndexName(IndexList->Text());
      // The index as the link answers it now, not as the box shows it.
      TIndexDef* def = FindIndexDef(FLinkProperty->GetIndexDefs(), FLinkProperty->GetIndexName());
      expression = def && !def->Expression().empty();
      if (expression)
        offered.Add(def->Expression());
      else
        FLinkProperty->GetFieldNamesForIndex(&offered);
    } else {
      FDetailDataSet->GetFieldNames(&offered);
    }
  } catch (const Exception& e) {
    ShowError(e);
    if (FShownEntry >= 0 && FShownEntry != IndexList->ItemIndex()) {
      // The click that follows a change in the box is the same choice: it finds it undone.
      FRefusedChoice = true;
      IndexList->SetItemIndex(FShownEntry);
      try {
        FLinkProperty->SetIndexName(IndexList->Text());
      } catch (const Exception&) {
        // The box shows the fields of the entry; the link keeps what it could take.
      }
    }
    return;
  }
  FShownEntry = IndexList->ItemIndex();
  FExpressionOffered = expression;
  if (Sender) FEdited = true;
  TStrings* details = DetailList->Items();
  details->Assign(&offered);
  MasterList->Items()->Assign(FAllMasterFields.get());
  FAllDetailFields->Assign(details);
  for (int i = 0, n = FAllDetailFields->Count(); i < n; ++i) FAllDetailFields->SetObjects(i, nullptr);
  FDetailEntries.Assign(FAllDetailFields.get());
  BindList->Clear();
  FJoins.clear();
  FReach.clear();
  AddButton->SetEnabled(false);
  ClearButton->SetEnabled(false);
  DeleteButton->SetEnabled(false);
  MasterList->SetItemIndex(-1);
}

void TQVRLinkFields::LoadJoins(const std::string& MasterFields, const std::string& DetailFields) {
  LoadJoinPairs(SplitFieldList(MasterFields), SplitFieldList(DetailFields));
}

namespace {

// The spelling of Name that stands for an entry of Names as a table resolves a listed name
// (exactly, else without its edge blanks); nothing when it stands for none.
template <class TNames>
std::optional<std::string> Resolve(const std::string& Name, const TNames& Names) {
  std::string_view spelled;
  int entry = ResolveListedName(Name, [&](std::string_view name) {
    spelled = name;
    return Names.IndexOf(name);
  });
  return entry >= 0 ? std::optional<std::string>(spelled) : std::nullopt;
}

}  // namespace

void TQVRLinkFields::LoadJoinPairs(const std::vector<std::string>& Masters, const std::vector<std::string>& Details) {
  TOfferedNames masters(MasterList->Items());
  TOfferedNames details(DetailList->Items());
  std::vector<std::pair<std::string, std::string>> joins;
  for (size_t i = 0; i < Masters.size() && i < Details.size(); ++i) {
    // A pair is skipped when its master is no longer offered, when its detail is no field of
    // the index, or when its detail is already joined (a stored list naming it twice): a field
    // takes part in one join at most. Later pairs keep their positional pairing.
    std::optional<std::string> master = Resolve(Masters[i], FMasterPositions);
    std::string detail = DetailSpelling(Details[i]);
    if (!master || !masters.Offered(*master) || FDetailEntries.IndexOf(detail) < 0 || !details.Offered(detail))
      continue;
    Join(detail);
    details.Take(detail);
    masters.Take(*master);
    joins.emplace_back(std::move(detail), std::move(*master));
  }
  if (joins.empty()) return;
  details.RemoveTaken(DetailList->Items());
  masters.RemoveTaken(MasterList->Items());
  {
    TStrings* bound = BindList->Items();
    TUpdateScope update(bound);
    for (auto& [detail, master] : joins) bound->AddObject(JoinLine(detail, master), MakeJoin(detail, master));
  }
  RebuildReach();
  ClearButton->SetEnabled(true);
}

void TQVRLinkFields::ShowError(const Exception& E) { MessageDlg(E.Message(), mtError, {mbOK}, 0); }

void TQVRLinkFields::Join(const std::string& Detail) {
  int entry = FDetailEntries.Take(Detail);
  if (entry >= 0) FAllDetailFields->SetObjects(entry, JoinedFlag());
}

void TQVRLinkFields::Unjoin(const std::string& Detail) {
  int entry = FDetailEntries.GiveBack(Detail);
  if (entry >= 0) FAllDetailFields->SetObjects(entry, nullptr);
}

// ---------------------------------------------------------------------------------------------
// What the join lines mean

TQVRLinkFields::TJoin* TQVRLinkFields::MakeJoin(const std::string& Detail, const std::string& Master) {
  FJoins.push_back(std::make_unique<TJoin>(Detail, Master, FDetailEntries.IndexOf(Detail), FJoins.size()));
  return FJoins.back().get();
}

TQVRLinkFields::TJoin& TQVRLinkFields::JoinOf(int Index) {
  TStrings* lines = BindList->Items();
  if (auto* join = dynamic_cast<TJoin*>(lines->GetObject(Index))) return *join;
  auto [detail, master] = SplitJoinLine(
      lines->Get(Index), [this](std::string_view name) { return FDetailEntries.IndexOf(name) >= 0; },
      [this](std::string_view name) { return FMasterPositions.IndexOf(name) >= 0; });
  TJoin* join = MakeJoin(detail, master);
  lines->PutObject(Index, join);
  return *join;
}

const std::string& TQVRLinkFields::JoinDetailField(int Index) { return JoinOf(Index).Detail; }

const std::string& TQVRLinkFields::JoinMasterField(int Index) { return JoinOf(Index).Master; }

void TQVRLinkFields::ReleaseJoins(const std::vector<TJoin*>& Keep) {
  std::vector<std::unique_ptr<TJoin>> kept;
  // The capacity stays, so the Adds that follow a Delete do not grow the list again.
  kept.reserve(FJoins.capacity());
  for (TJoin* join : Keep) {
    kept.push_back(std::move(FJoins[join->Slot]));
    join->Slot = kept.size() - 1;
  }
  FJoins = std::move(kept);
}

void TQVRLinkFields::RebuildReach() {
  FReach.clear();
  int reach = INT_MIN;
  for (int i = 0, n = BindList->Items()->Count(); i < n; ++i) {
    reach = std::max(reach, JoinOf(i).Position);
    FReach.push_back(reach);
  }
}

// ---------------------------------------------------------------------------------------------
// Join editing

void TQVRLinkFields::BindingListClick(TObject* Sender) {
  AddButton->SetEnabled(DetailList->ItemIndex() != -1 && MasterList->ItemIndex() != -1);
}

void TQVRLinkFields::BindListClick(TObject* Sender) { DeleteButton->SetEnabled(BindList->ItemIndex() != -1); }

void TQVRLinkFields::AddToBindList(const std::string& Detail, const std::string& Master) {
  TStrings* lines = BindList->Items();
  // Lines changed from outside the designer are taken as they now stand.
  if (FReach.size() != static_cast<size_t>(lines->Count())) RebuildReach();
  TJoin* join = MakeJoin(Detail, Master);
  auto later = std::upper_bound(FReach.begin(), FReach.end(), join->Position);
  int at = static_cast<int>(later - FReach.begin());
  int reach = at == 0 ? join->Position : std::max(FReach[static_cast<size_t>(at) - 1], join->Position);
  lines->InsertObject(at, JoinLine(Detail, Master), join);
  FReach.insert(later, reach);
}

void TQVRLinkFields::AddButtonClick(TObject* Sender) {
  int detailIndex = DetailList->ItemIndex();
  int masterIndex = MasterList->ItemIndex();
  std::string detail = DetailList->Items()->Get(detailIndex);
  std::string master = MasterList->Items()->Get(masterIndex);
  // A field list cannot hold a name with ";": the link written would name other fields. An
  // index's expression is written as the index's name, never listed.
  for (const std::string* name : {FExpressionOffered ? nullptr : &detail, &master}) {
    if (!name || name->find(';') == std::string::npos) continue;
    MessageDlg(Format("Field %s cannot be linked: a field list cannot hold a name with ';'", {*name}), mtError, {mbOK},
               0);
    return;
  }
  FEdited = true;
  AddToBindList(detail, master);
  Join(detail);
  DetailList->Items()->Delete(detailIndex);
  MasterList->Items()->Delete(masterIndex);
  ClearButton->SetEnabled(true);
  AddButton->SetEnabled(false);
}

void TQVRLinkFields::DeleteButtonClick(TObject* Sender) {
  FEdited = true;
  TStrings* lines = BindList->Items();
  TStrings* details = DetailList->Items();
  TStrings* masters = MasterList->Items();
  {
    TUpdateScope updateDetails(details);
    TUpdateScope updateMasters(masters);
    // From the last line to the first, as the lines would be deleted one by one; the selected
    // lines then leave the list in one pass, and the current line stays current if it remains.
    std::vector<bool> removed(static_cast<size_t>(lines->Count()), false);
    bool anyRemoved = false;
    for (int i = lines->Count() - 1; i >= 0; --i) {
      if (!BindList->Selected(i)) continue;
      const TJoin& join = JoinOf(i);
      details->Add(join.Detail);
      masters->Add(join.Master);
      Unjoin(join.Detail);
      removed[static_cast<size_t>(i)] = true;
      anyRemoved = true;
    }
    if (anyRemoved) {
      int current = BindList->ItemIndex();
      int newCurrent = -1;
      std::vector<std::string> kept;
      std::vector<TJoin*> keptJoins;
      for (int i = 0, n = lines->Count(); i < n; ++i) {
        if (removed[static_cast<size_t>(i)]) continue;
        if (i == current) newCurrent = static_cast<int>(kept.size());
        kept.push_back(lines->Get(i));
        keptJoins.push_back(&JoinOf(i));
      }
      TUpdateScope updateLines(lines);
      lines->Clear();
      for (size_t i = 0; i < kept.size(); ++i) lines->AddObject(kept[i], keptJoins[i]);
      ReleaseJoins(keptJoins);
      RebuildReach();
      BindList->SetItemIndex(newCurrent);
    }
  }
  bool remain = lines->Count() > 0;
  if (remain) BindList->SetSelected(0, true);
  DeleteButton->SetEnabled(remain);
  ClearButton->SetEnabled(remain);
  OrderFieldList(FAllDetailFields.get(), details);
  DetailList->SetItemIndex(-1);
  OrderFieldList(FAllMasterFields.get(), masters);
  MasterList->SetItemIndex(-1);
  AddButton->SetEnabled(false);
}

void TQVRLinkFields::ClearButtonClick(TObject* Sender) {
  FEdited = true;
  TStrings* lines = BindList->Items();
  TStrings* details = DetailList->Items();
  {
    TUpdateScope updateDetails(details);
    TUpdateScope updateMasters(MasterList->Items());
    for (int i = 0, n = lines->Count(); i < n; ++i) {
      const TJoin& join = JoinOf(i);
      details->Add(join.Detail);
      MasterList->Items()->Add(join.Master);
    }
  }
  BindList->Clear();
  FJoins.clear();
  FReach.clear();
  ClearButton->SetEnabled(false);
  DeleteButton->SetEnabled(false);
  OrderFieldList(FAllDetailFields.get(), details);
  DetailList->SetItemIndex(-1);
  MasterList->Items()->Assign(FAllMasterFields.get());
  for (int i = 0, n = FAllDetailFields->Count(); i < n; ++i) FAllDetailFields->SetObjects(i, nullptr);
  FDetailEntries.GiveBackAll();
  AddButton->SetEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Commit

void TQVRLinkFields::BitBtn1Click(TObject* Sender) {
  try {
    Commit();
  } catch (const Exception& e) {
    ShowError(e);
    SetModalResult(mrNone);
  }
}

void TQVRLinkFields::Commit() {
  int firstFree = -1;
  FPendingMasterFields.clear();
  FPendingIndexFieldNames.clear();
  FPendingIndexName.clear();
  const bool indexBased = FLinkProperty->GetIndexBased();
  // Nothing was edited: the link goes back as it was stored, whatever loading had to resolve
  // (or skip) to show it.
  if (!FEdited) {
    if (indexBased && FStoredIndexFieldNames.empty()) FPendingIndexName = FStoredIndexName;
    FPendingIndexFieldNames = FStoredIndexFieldNames;
    FPendingMasterFields = FStoredMasterFields;
    return;
  }
  if (indexBased) {
    // The joined fields must be a leading run of the index's fields.
    bool gap = false;
    for (int i = 0, n = FAllDetailFields->Count(); i < n; ++i) {
      if (!FAllDetailFields->Objects(i)) {
        gap = true;
        if (firstFree == -1) firstFree = i;
      } else if (gap) {
        std::string name = FAllDetailFields->Strings(firstFree);
        MessageDlg(Format("Field %s, from the Detail Fields list, must be linked", {name}), mtError, {mbOK}, 0);
        SetModalResult(mrNone);  // the OK button's result would end the modal run
        DetailList->SetItemIndex(DetailList->Items()->IndexOf(name));
        return;
      }
    }
    if (!gap) FPendingIndexName = FLinkProperty->GetIndexName();
  }
  // Appended in place: composing each step anew would copy the growing lists once per join.
  TStrings* lines = BindList->Items();
  for (int i = 0, n = lines->Count(); i < n; ++i) {
    const TJoin& join = JoinOf(i);
    FPendingMasterFields += join.Master;
    FPendingMasterFields += ';';
    FPendingIndexFieldNames += join.Detail;
    FPendingIndexFieldNames += ';';
  }
  if (!FPendingMasterFields.empty()) FPendingMasterFields.pop_back();
  if (!FPendingIndexFieldNames.empty()) FPendingIndexFieldNames.pop_back();
}
