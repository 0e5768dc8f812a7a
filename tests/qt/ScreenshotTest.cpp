// Pictures of windows: a window rendered to PNG shows its controls, and a scripted run is
// pictured window state by window state.
#include <QImage>
#include <sstream>

#include "host/qt/FormWindow.h"
#include "host/qt/Screenshot.h"
#include "host/visualclx/ScriptedUser.h"
#include "tests/qt/LinkFixture.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/support/Process.h"

namespace {

using namespace qttest;
namespace fs = std::filesystem;

TEST(Screenshot, APictureOfAWindowShowsItsControls) {
  App();
  TTempDir dir;
  TKindsForm kinds;
  for (const char* s : {"CustNo", "OrderNo", "SaleDate"}) kinds.List->Items()->Add(s);
  TQtFormWindow window(*kinds.Form);
  window.show();
  SaveWindowPicture(window, dir / "kinds.png");
  QImage picture(QString::fromStdString((dir / "kinds.png").string()));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), window.size() * window.devicePixelRatio());
  // Text, frames and the list's background: far more than the few colours of an empty window.
  EXPECT_GT(ColourCount(picture), 16u);
  EXPECT_THROW(SaveWindowPicture(window, dir / "missing-folder" / "kinds.png"), EInOutError);
}

TEST(Screenshot, AScriptedRunIsPicturedStateByState) {
  App();
  TTempDir dir;
  TLinkSetup setup;
  std::ostringstream out;
  TScriptedUser user(
      "click ClearButton\nselect DetailList F2\nselect MasterList M2\nclick AddButton\n"
      "click Button1\nanswer OK\nclick Button2\n",
      out);
  TScreenshotWidgetSet pictures(user, dir / "shots");
  user.SetAfterAction([&] { pictures.Capture(); });
  pictures.SetLineSource([&] { return user.CurrentLine(); });
  {
    TWidgetSetScope scope(pictures);
    EXPECT_FALSE(setup.Run());
  }
  user.CheckFinished();
  // The designer when it opens and after each action that leaves it open; the refusal's box
  // when it opens; the designer again once the box is answered. Each name carries the line
  // whose action led there.
  EXPECT_EQ(ListDir(dir / "shots"),
            (std::vector<std::string>{"001-form-QVRLinkFields.png", "002-line1-form-QVRLinkFields.png",
                                      "003-line2-form-QVRLinkFields.png", "004-line3-form-QVRLinkFields.png",
                                      "005-line4-form-QVRLinkFields.png", "006-line5-message.png",
                                      "007-line6-form-QVRLinkFields.png"}));
  QImage first(QString::fromStdString((dir / "shots" / "001-form-QVRLinkFields.png").string()));
  QImage joined(QString::fromStdString((dir / "shots" / "005-line4-form-QVRLinkFields.png").string()));
  QImage message(QString::fromStdString((dir / "shots" / "006-line5-message.png").string()));
  EXPECT_GT(ColourCount(first), 16u);
  EXPECT_GT(ColourCount(message), 16u);
  EXPECT_NE(first, joined) << "the join shows in the picture";
  EXPECT_NE(first.size(), message.size());
}

}  // namespace
