// TQVRLinkFields, the Field Link Designer: a modal dialog in which the developer picks the
// detail data set's index and joins its fields to the master's, and EditMasterFields, which
// runs it for one data set and one field-link object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fldlinks/FieldListText.h"
#include "host/dataclx/Forward.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/Forward.h"

class TQVRBaseFieldLinkProperty;

// The help context the Field Link Designer asks for (its Help button, F1); the package
// registers its topic.
constexpr int kQVRLinkFieldsHelpContext = 27140;

// Runs the Field Link Designer on DataSet (the detail; its DataSource's DataSet is the master),
// reading and writing the link through LinkProperty. True when it closed with OK and wrote the
// link. Raises EDatabaseError "Missing MasterSource or DataSource" when DataSet has no master.
bool EditMasterFields(TDataSet* DataSet, TQVRBaseFieldLinkProperty* LinkProperty);

class TQVRLinkFields : public TForm {
  TIRVENDAL_CLASS(TQVRLinkFields)

  // The first phase of construction only; make the designer with CreateForm<TQVRLinkFields>(),
  // which reads its stored description and runs FormCreate.
  explicit TQVRLinkFields(TComponent* Owner);
  ~TQVRLinkFields() override;

  // The controls, bound by the stored description.
  TListBox* DetailList = nullptr;
  TListBox* MasterList = nullptr;
  TListBox* BindList = nullptr;
  TLabel* Label30 = nullptr;
  TLabel* Label31 = nullptr;
  TComboBox* IndexList = nullptr;
  TLabel* IndexLabel = nullptr;
  TLabel* Label2 = nullptr;
  TBevel* Bevel1 = nullptr;
  TBevel* Bevel2 = nullptr;
  TButton* AddButton = nullptr;
  TButton* DeleteButton = nullptr;
  TButton* ClearButton = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Help = nullptr;

  // The handlers the stored description binds.
  void FormCreate(TObject* Sender);
  // Add is possible while both field lists have a selection.
  void BindingListClick(TObject* Sender);
  // Joins the selected detail field to the selected master field.
  void AddButtonClick(TObject* Sender);
  // Undoes every selected join; its fields go back to their places.
  void DeleteButtonClick(TObject* Sender);
  // Delete is possible while the join list has a current line.
  void BindListClick(TObject* Sender);
  // Undoes every join.
  void ClearButtonClick(TObject* Sender);
  void FormDestroy(TObject* Sender);
  // OK: refuses joins that leave a gap in the chosen index's fields, else composes the values
  // that Edit writes back.
  void BitBtn1Click(TObject* Sender);
  void HelpClick(TObject* Sender);
  // A choice in the index box: the index is set on the link at once and its fields are offered
  // afresh, with no join.
  void IndexListChange(TObject* Sender);

  // Set once, right after construction, before SetDataSet.
  void SetLinkProperty(TQVRBaseFieldLinkProperty* Value) { FLinkProperty = Value; }
  // Binds the detail data set and its master, refreshing both data sets' field definitions and
  // the link's index definitions (both data sets end closed).
  void SetDataSet(TDataSet* DataSet);
  // Loads, shows modally and, on OK, writes the index and then the master fields through the
  // link. True only when the dialog closed with OK.
  bool Edit();

  // Fills the index box, the field lists and the joins from the link's current values.
  void Initialize();
  // Pairs the stored names by position and turns each pair still offered into a join line; a
  // name stands for the field the table would take it for (exactly, else without edge blanks).
  void LoadJoins(const std::string& MasterFields, const std::string& DetailFields);
  void LoadJoinPairs(const std::vector<std::string>& Masters, const std::vector<std::string>& Details);
  // The name of the first index whose leading fields are the names of Fields, ordering either
  // way; empty when none is.
  std::string IndexForFields(const TIndexDefs* Defs, const std::string& Fields) const;
  // A listed detail name as it stands for the detail's field the table takes it for: as
  // written, or without its edge blanks; as written when it names no field (an expression).
  std::string DetailSpelling(const std::string& Name) const;
  // Inserts a join line before the first line whose detail field comes later in the index.
  void AddToBindList(const std::string& Detail, const std::string& Master);
  // The detail and the master name of join line Index, whole whatever they hold.
  const std::string& JoinDetailField(int Index);
  const std::string& JoinMasterField(int Index);
  void OrderFieldList(const TStrings* Reference, TStrings* List) { ::OrderFieldList(Reference, List); }

  TDataSet* DetailDataSet() const { return FDetailDataSet; }
  TDataSet* MasterDataSet() const { return FMasterDataSet; }
  TQVRBaseFieldLinkProperty* LinkProperty() const { return FLinkProperty; }
  const std::string& PendingIndexName() const { return FPendingIndexName; }
  const std::string& PendingMasterFields() const { return FPendingMasterFields; }
  const std::string& PendingIndexFieldNames() const { return FPendingIndexFieldNames; }
  // Every detail field the chosen index offers, in index order; an entry's object is
  // JoinedFlag() while the field is joined, nil otherwise.
  TStringList* AllDetailFields() const { return FAllDetailFields.get(); }
  // Every master field, in the master data set's order.
  TStringList* AllMasterFields() const { return FAllMasterFields.get(); }
  // The object that marks a joined entry of AllDetailFields.
  static TObject* JoinedFlag();

 private:
  class TJoin;

  // The OK handler's work; an error in it is shown and the dialog stays open.
  void Commit();
  void ShowError(const Exception& E);

  // Marks the first unmarked entry of AllDetailFields of that name as joined; Unjoin unmarks
  // the last marked one. Names that the index does not offer mark nothing.
  void Join(const std::string& Detail);
  void Unjoin(const std::string& Detail);
  // A new join line's meaning, owned by the form while the line shows it.
  TJoin* MakeJoin(const std::string& Detail, const std::string& Master);
  // What join line Index means; a line put into the list from outside is split against the
  // known field names and given a meaning on first use.
  TJoin& JoinOf(int Index);
  // Frees the meanings of the lines no longer shown (Keep: those still shown).
  void ReleaseJoins(const std::vector<TJoin*>& Keep);
  // Reach[i]: the latest reference position of the detail fields of lines 0 to i. It only grows
  // along the lines, so the first line whose detail comes after a position is found by halving.
  void RebuildReach();

  TDataSet* FDetailDataSet = nullptr;
  TDataSet* FMasterDataSet = nullptr;
  TQVRBaseFieldLinkProperty* FLinkProperty = nullptr;
  std::string FPendingIndexName;
  std::string FPendingMasterFields;
  std::string FPendingIndexFieldNames;
  std::unique_ptr<TStringList> FAllDetailFields;
  std::unique_ptr<TStringList> FAllMasterFields;
  // The entries of AllDetailFields by name, and which of them are joined, kept with it so the
  // look-ups inside the loops over the join lines are constant time.
  TNameEntries FDetailEntries;
  TNamePositions FMasterPositions;
  std::vector<std::unique_ptr<TJoin>> FJoins;
  std::vector<int> FReach;
  // The link as loading read it, and what loading showed of it.
  std::string FStoredIndexName;
  std::string FStoredIndexFieldNames;
  std::string FStoredMasterFields;
  bool FEdited = false;             // an index was chosen or a join added, deleted or cleared since loading
  int FShownEntry = -1;             // the index entry whose fields the lists offer
  bool FRefusedChoice = false;      // the box went back to FShownEntry after a refused choice
  bool FExpressionOffered = false;  // the one detail entry is an index's expression
};
