// The designer that designhost offers the property editors: the open form and its
// modification notice.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/designide/DesignEditors.h"
#include "host/designide/DesignIntf.h"

class TFormDesigner : public IDesigner {
 public:
  explicit TFormDesigner(TComponent* Root) : FRoot(Root) {}

  void Modified() override { ++FModifications; }
  TComponent* Root() const override { return FRoot; }
  // The form was read afresh (undo, redo): the designer now serves its new root.
  void SetRoot(TComponent* Root) { FRoot = Root; }
  void GetComponentNames(TClass Class, const TGetStrProc& Proc) override;
  TComponent* GetComponent(const std::string& Name) override;

  bool IsModified() const { return FModifications > 0; }
  int Modifications() const { return FModifications; }

 private:
  TComponent* FRoot;
  int FModifications = 0;
};

// The inspector's row of the property named Name for Selection; EUsageError saying why there
// is none (no such property, or one the inspector shows for a single component only).
std::unique_ptr<TPropertyEditor> FindInspectorRow(TFormDesigner& Designer, const std::vector<TComponent*>& Selection,
                                                  const std::string& Name);

// The drop-down list of an inspector row that has one (paValueList), as the inspector shows
// it: sorted without regard to case when the editor asks for paSortList, unless Raw.
std::vector<std::string> InspectorValues(TPropertyEditor& Row, bool Raw = false);
