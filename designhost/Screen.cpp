// The real screen through the Qt widget set: the dialogs of `edit` shown to a person, or each
// window state of a scripted run rendered offscreen to numbered PNG files.
#include <QApplication>

#include "designhost/GuiPlugin.h"
#include "designhost/UsageError.h"
#include "host/qt/QtWidgetSet.h"
#include "host/qt/Screenshot.h"
#include "host/visualclx/ScriptedUser.h"

namespace {

// Pictures the states of a scripted run: the script's user answers, the pictures follow each
// of its actions.
class TScriptScreenshots : public TScreenshotWidgetSet {
 public:
  TScriptScreenshots(TScriptedUser& User, const std::string& Dir) : TScreenshotWidgetSet(User, Dir), FUser(User) {
    FUser.SetAfterAction([this] { Capture(); });
    SetLineSource([this] { return FUser.CurrentLine(); });
  }
  ~TScriptScreenshots() override { FUser.SetAfterAction(nullptr); }

 private:
  TScriptedUser& FUser;
};

}  // namespace

std::unique_ptr<TWidgetSet> OpenQtScreen() {
  try {
    return std::make_unique<TQtWidgetSet>(TQtPlatform::Display);
  } catch (const ENoUserError& e) {
    throw EUsageError("showing the dialogs needs a display: " + e.Message() +
                      "; give the answers with --script FILE instead");
  }
}

std::unique_ptr<TWidgetSet> RecordQtScreenshots(TWidgetSet& Inner, const std::string& Dir) {
  auto* user = dynamic_cast<TScriptedUser*>(&Inner);
  if (!user) throw EUsageError("--screenshot pictures a scripted run: give the answers with --script FILE");
  // Pictures are rendered on Qt's offscreen platform, display or not.
  return std::make_unique<TScriptScreenshots>(*user, Dir);
}
