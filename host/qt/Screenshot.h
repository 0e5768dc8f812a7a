// Pictures of windows: one window rendered to a PNG file, and a widget set that pictures every
// window state a scripted run passes through.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/visualclx/WidgetSet.h"

class QApplication;
class QWidget;

// Renders Widget as it is now into the PNG file FileName; raises EInOutError when the file
// cannot be written.
void SaveWindowPicture(QWidget& Widget, const std::filesystem::path& FileName);

// Passes every modal window on to Inner (the scripted user, which answers it) and shows it
// meanwhile in a Qt window of its own, which follows the model. Capture pictures the window
// on top into Dir as the next numbered file, named after the script line whose action led to
// that state when there is one: 001-form-NAME.png (opened before any line ran),
// 002-line3-form-NAME.png, 003-line5-message.png, 004-line9-open-file.png, ... Each window is
// pictured when it opens; whoever drives Inner calls Capture after each action that leaves a
// window open.
class TScreenshotWidgetSet : public TWidgetSet {
 public:
  // Makes Dir when it does not exist. Holds a share in the Qt application, on the offscreen
  // platform when it makes it.
  TScreenshotWidgetSet(TWidgetSet& Inner, const std::filesystem::path& Dir);
  ~TScreenshotWidgetSet() override;

  void RunModal(TCustomForm& Form) override;
  TModalResult MessageBox(const TMessageBox& Box) override;
  bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
  // Help is no window of the run: Inner answers it.
  void ShowHelp(int Context) override { FInner.ShowHelp(Context); }

  // Pictures the window on top; nothing when no window is open.
  void Capture();
  // Tells the script line being acted on (0: none yet), for the names of the pictures.
  void SetLineSource(std::function<int()> Source) { FLineSource = std::move(Source); }
  // The files written, in order.
  const std::vector<std::filesystem::path>& Files() const { return FFiles; }

 private:
  struct TOpenWindow {
    QWidget* Widget;
    std::string Kind;
  };
  // Keeps Widget on top while Run runs.
  template <class Result, class Run>
  Result WithWindow(QWidget& Widget, const std::string& Kind, Run run);

  std::shared_ptr<QApplication> FApplication;
  TWidgetSet& FInner;
  std::filesystem::path FDir;
  std::vector<TOpenWindow> FOpen;
  std::vector<std::filesystem::path> FFiles;
  std::function<int()> FLineSource;
};
