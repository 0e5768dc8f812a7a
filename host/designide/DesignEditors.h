// DesignEditors: the property editors. An editor is made for one property of the selected
// components; the Object Inspector asks it for attributes, the text to show, the value list,
// and hands it what the developer typed or chose.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/designide/DesignIntf.h"

class TPropertyEditor : public TPersistent {
  TIRVENDAL_CLASS(TPropertyEditor)

  TPropertyEditor() = default;

  // Binds the editor to the property PropInfo of Selection (component 0 first). Every selected
  // component must publish a property of that name; each one's own property record is used.
  void Initialize(IDesigner* Designer, const std::vector<TPersistent*>& Selection, const TPropInfo* PropInfo);

  // The selected component Index (0 = the first selected).
  TPersistent* GetComponent(int Index) const;
  int PropCount() const { return static_cast<int>(FPropList.size()); }
  // The property's name, as the inspector labels its row.
  virtual std::string GetName() const;
  const TPropInfo* GetPropInfo() const;
  IDesigner* Designer() const { return FDesigner; }

  virtual TPropertyAttributes GetAttributes();
  // The text the inspector shows.
  virtual std::string GetValue();
  // Takes the text the developer typed or chose.
  virtual void SetValue(const std::string& Value);
  // Hands out the drop-down list's entries.
  virtual void GetValues(const TGetStrProc& Proc);
  // The ellipsis button (or a double click): an editor with a value list moves to the next value.
  virtual void Edit();
  // True when every selected component holds the same value.
  virtual bool AllEqual();
  virtual int GetEditLimit();
  // The editors of the property's own properties, for an editor with paSubProperties.
  virtual std::vector<std::unique_ptr<TPropertyEditor>> GetProperties();

  // Reports a change to the designer.
  void Modified();

  std::string GetStrValue() const { return GetStrValueAt(0); }
  std::string GetStrValueAt(int Index) const;
  // Writes Value into the property of every selected component, then reports the change. When
  // one of them refuses, those already written get their old values back and nothing is reported.
  void SetStrValue(const std::string& Value);
  int64_t GetOrdValue() const { return GetOrdValueAt(0); }
  int64_t GetOrdValueAt(int Index) const;
  void SetOrdValue(int64_t Value);
  TNotifyEvent GetMethodValue() const { return GetMethodValueAt(0); }
  TNotifyEvent GetMethodValueAt(int Index) const;
  void SetMethodValue(const TNotifyEvent& Value);

 protected:
  // The designer, or EInvalidOperation for an editor made without one.
  IDesigner& RequireDesigner() const;
  // Writes into each selected component the value Make gives for its current one, then
  // reports the change (all or nothing, as SetStrValue).
  void SetOrdValues(const std::function<int64_t(int64_t)>& Make);

 private:
  struct TInstProp {
    TPersistent* Instance;
    const TPropInfo* PropInfo;
  };
  const TInstProp& Entry(int Index) const;
  template <class V, class Get, class Put, class Make>
  void SetEach(Get get, Put put, Make make);

  IDesigner* FDesigner = nullptr;
  std::vector<TInstProp> FPropList;
};

// A string property: free text.
class TStringProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TStringProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void SetValue(const std::string& Value) override;
  bool AllEqual() override;
};

// A component's Name: free text like any string, but one name belongs to one component, so
// the inspector shows it only when a single component is selected.
class TComponentNameProperty : public TStringProperty {
  TIRVENDAL_CLASS(TComponentNameProperty)

  TPropertyAttributes GetAttributes() override;
};

// The common base of properties with an ordinal value.
class TOrdinalProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TOrdinalProperty)

  bool AllEqual() override;
};

class TIntegerProperty : public TOrdinalProperty {
  TIRVENDAL_CLASS(TIntegerProperty)

  std::string GetValue() override;
  // Raises EConvertError for text that is no integer, EPropertyError for one out of range.
  void SetValue(const std::string& Value) override;
};

// An enumeration: a drop-down list of the value names.
class TEnumProperty : public TOrdinalProperty {
  TIRVENDAL_CLASS(TEnumProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  // Raises EPropertyError "Invalid property value" for a name the enumeration lacks.
  void SetValue(const std::string& Value) override;
};

class TBoolProperty : public TEnumProperty {
  TIRVENDAL_CLASS(TBoolProperty)

  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const std::string& Value) override;
};

// A set: shown as "[a,b]", edited element by element as sub-properties.
class TSetProperty : public TOrdinalProperty {
  TIRVENDAL_CLASS(TSetProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  // Takes "[a, b]" (or "a,b"); raises EPropertyError naming an element the set does not have.
  void SetValue(const std::string& Value) override;
  std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() override;
};

// One element of a set, as a Boolean: True while the set contains it.
class TSetElementProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TSetElementProperty)

  void SetElement(int Element) { FElement = Element; }
  // The element's name.
  std::string GetName() const override;
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const std::string& Value) override;
  bool AllEqual() override;

 private:
  int FElement = 0;
};

// An object the component owns (index definitions, a string list): its own properties are
// sub-properties; the text is the property's class name in parentheses.
class TClassProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TClassProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() override;
};

// A reference to another component of the form, chosen by name.
class TComponentProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TComponentProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  // The form's components of the property's class.
  void GetValues(const TGetStrProc& Proc) override;
  // Empty text clears the reference; a name that is no fitting component of the form raises
  // EPropertyError "Invalid property value".
  void SetValue(const std::string& Value) override;
  bool AllEqual() override;
};

// An event: the text is the name of the root's handler method.
class TMethodProperty : public TPropertyEditor {
  TIRVENDAL_CLASS(TMethodProperty)

  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  // The root's published methods.
  void GetValues(const TGetStrProc& Proc) override;
  // Empty text unbinds the event; a name that is no published method of the root raises
  // EPropertyError "Invalid property value".
  void SetValue(const std::string& Value) override;
  bool AllEqual() override;
};

// Makes an editor of EditorClass (which must be a constructible TPropertyEditor descendant)
// and binds it to the property.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TClass EditorClass, IDesigner* Designer,
                                                      const std::vector<TPersistent*>& Selection,
                                                      const TPropInfo* PropInfo);

// The inspector's rows for the selection: an editor per shown published property, ordered by
// name without regard to case. A property is shown when it can be read and either written or
// is an object; a registration may hide it. With several selected, only the properties every
// one of them publishes with the same type and editor, and whose editor has paMultiSelect.
std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* Designer,
                                                                     const std::vector<TPersistent*>& Selection);
