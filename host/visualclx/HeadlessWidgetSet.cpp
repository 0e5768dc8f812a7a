// The headless widget set: no one answers.
#include "host/visualclx/HeadlessWidgetSet.h"

#include "host/visualclx/Form.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"

namespace {

[[noreturn]] void NoUser(const std::string& window) {
  throw ENoUserError("no user to answer the dialog: use a script or a display (" + window + ")");
}

}  // namespace

void THeadlessWidgetSet::RunModal(TCustomForm& Form) { NoUser("form " + Form.Name()); }

TModalResult THeadlessWidgetSet::MessageBox(const TMessageBox& Box) { NoUser("message \"" + Box.Text + "\""); }

bool THeadlessWidgetSet::ExecuteOpenDialog(TOpenDialog& Dialog) { NoUser("open-file dialog"); }
