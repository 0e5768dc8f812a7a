// The headless widget set: there is no screen and nobody at it. Every modal window raises
// ENoUserError "no user to answer the dialog: use a script or a display", so a run that
// needs an answer fails loudly instead of inventing one.
#pragma once

#include "host/visualclx/WidgetSet.h"

class THeadlessWidgetSet : public TWidgetSet {
 public:
  void RunModal(TCustomForm& Form) override;
  TModalResult MessageBox(const TMessageBox& Box) override;
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
};
