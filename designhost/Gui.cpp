// The gui command: the design window on the display, or rendered offscreen to a PNG file.
#include <QApplication>
#include <QTreeWidgetItem>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "designhost/CommandTarget.h"
#include "designhost/GuiPlugin.h"
#include "designhost/gui/ComponentPalette.h"
#include "designhost/gui/DesignWindow.h"
#include "designhost/gui/ObjectInspector.h"
#include "designhost/gui/WindowHelp.h"
#include "host/qt/HelpWindow.h"
#include "host/qt/QtWidgetSet.h"
#include "host/qt/Screenshot.h"
#include "host/rtl/NearestWord.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/HelpTopics.h"

namespace {

// The names of a list "A[,B...]", trimmed.
std::vector<std::string> SplitNames(const std::string& List) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= List.size()) {
    size_t comma = std::min(List.find(',', start), List.size());
    names.push_back(Trim(std::string_view(List).substr(start, comma - start)));
    start = comma + 1;
  }
  return names;
}

// The name a command line gives a help topic: its title without "The " and without blanks
// ("FieldLinkDesigner", "IndexName").
std::string HelpTopicName(const THelpTopic& Topic) {
  std::string_view title = Topic.Title;
  if (title.starts_with("The ")) title.remove_prefix(4);
  std::string name;
  bool capital = true;
  for (char c : title) {
    if (c != ' ') name += capital ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    capital = c == ' ';
  }
  return name;
}

// The help context of a topic given by its name ("FieldLinkDesigner") or its context number.
int HelpTopicContext(const std::string& Topic) {
  std::vector<std::string> names;
  for (const THelpTopic& topic : HelpTopics()) {
    if (SameText(HelpTopicName(topic), Topic) || std::to_string(topic.Context) == Topic) return topic.Context;
    names.push_back(HelpTopicName(topic));
  }
  std::string message = "no help topic '" + Topic + "'" + DidYouMean(Topic, names);
  if (message.back() != '?') {
    message += "; the topics are";
    for (const std::string& name : names) message += (name == names.front() ? " " : ", ") + name;
  }
  throw EUsageError(message);
}

}  // namespace

int ShowDesignWindow(const TGuiOptions& Options) {
  // The application lives as long as the widget set, which outlives every window below.
  std::unique_ptr<TQtWidgetSet> widgets;
  try {
    widgets = std::make_unique<TQtWidgetSet>(Options.Screenshot ? TQtPlatform::Offscreen : TQtPlatform::Display);
  } catch (const ENoUserError& e) {
    throw EUsageError("the design window needs a display: " + e.Message() +
                      "; use --screenshot FILE to render it to a picture instead");
  }
  // The property editors' dialogs show through Qt.
  TWidgetSetScope scope(*widgets);
  RegisterPlatformComponents();

  std::filesystem::path picture;
  if (Options.Screenshot) picture = std::filesystem::absolute(*Options.Screenshot);
  RegisterDesignWindowHelp();
  const int helpContext = Options.HelpTopic ? HelpTopicContext(*Options.HelpTopic) : 0;  // 0: no help window
  TDesignWindow window;
  // Pictures leave nothing in the person's settings; a window on the display keeps the list
  // and its size.
  if (!Options.Screenshot) {
    window.RecentFiles().SetStore(TRecentFiles::DefaultStore());
    window.KeepSizeInSettings();
  }
  if (Options.Form) {
    window.LoadFile(*Options.Form);
    if (!Options.Screenshot) window.RecentFiles().Add(window.Document().File());
  }
  if (Options.Select)
    window.Select(SelectComponents(window.Document().Root(), *Options.Select, window.Document().DisplayName()));
  if (Options.Expand) {
    for (const std::string& name : SplitNames(*Options.Expand)) {
      QTreeWidgetItem* row = window.Inspector().RowOf(name);
      if (!row) throw EUsageError("no inspector row '" + name + "' for the selection");
      row->setExpanded(true);
    }
  }
  window.show();
  THelpWindow* help = helpContext ? &ShowHelpWindow(helpContext) : nullptr;
  if (Options.Screenshot) {
    // With a help topic the picture is of the help window, which is in front.
    SaveWindowPicture(help ? static_cast<QWidget&>(*help) : window, picture);
    return 0;
  }
  QApplication::exec();
  return 0;
}
