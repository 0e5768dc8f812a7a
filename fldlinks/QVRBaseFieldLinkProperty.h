// TQVRBaseFieldLinkProperty: the Object Inspector editor of a string property that describes a
// master-detail link. The Field Link Designer reads and writes every index and link value
// through its operations; a descendant decides where those values live.
#pragma once

#include <memory>
#include <string>

#include "host/dataclx/Forward.h"
#include "host/designide/DesignEditors.h"

class TQVRBaseFieldLinkProperty : public TStringProperty {
  TIRVENDAL_CLASS(TQVRBaseFieldLinkProperty)

  TQVRBaseFieldLinkProperty() = default;

  // The virtual constructor: an object of LinkClass (this class or a descendant, made through
  // its class record) for DataSet alone. It has no designer and no selected components, so it
  // serves code that calls EditMasterFields with it directly; Edit refuses it.
  static std::unique_ptr<TQVRBaseFieldLinkProperty> CreateForDataSet(TClass LinkClass, TDataSet* DataSet);
  template <class T>
  static std::unique_ptr<T> CreateForDataSet(TDataSet* DataSet) {
    auto link = std::make_unique<T>();
    link->FLinkDataSet = DataSet;
    return link;
  }

  // An ellipsis button; the value stays editable as text; never offered for several components.
  TPropertyAttributes GetAttributes() override;
  // Runs the designer on the data set through this object and reports a change when it ended
  // with OK. Raises EInvalidOperation for an object made by CreateForDataSet.
  void Edit() override;

  // The contract. A link that is not index-based needs only GetMasterFields and
  // SetMasterFields, which this class leaves abstract (they raise EAbstractError).
  // Adds the field names of the index last set with SetIndexName, in index order.
  virtual void GetFieldNamesForIndex(TStrings* List);
  // True when the detail data set follows its master through one of its indexes.
  virtual bool GetIndexBased();
  virtual TIndexDefs* GetIndexDefs();
  virtual std::string GetIndexFieldNames();
  virtual std::string GetIndexName();
  virtual std::string GetMasterFields();
  virtual void SetIndexFieldNames(const std::string& Value);
  virtual void SetIndexName(const std::string& Value);
  virtual void SetMasterFields(const std::string& Value);

  // Adds the name of every index definition (none when GetIndexDefs is nil); List is not cleared.
  void GetIndexNames(TStrings* List);
  // The detail data set: the first selected component, asked for once and then kept.
  TDataSet* GetDataSet();

  // Whether the last designer run of Edit ended with OK and wrote the link.
  bool LinkChanged() const { return FLinkChanged; }
  TDataSet* LinkDataSet() const { return FLinkDataSet; }

 protected:
  // Raises EInvalidOperation unless this object was made by the Object Inspector for a
  // selection, with a designer to report a change to.
  void CheckDesigner() const;

  bool FLinkChanged = false;
  TDataSet* FLinkDataSet = nullptr;  // not owned
};
