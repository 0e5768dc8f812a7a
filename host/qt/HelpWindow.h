// THelpWindow: the help book on screen: the topics listed on the left, the chosen one on the
// right, a Close button below; Escape closes it too. One window serves every request; it opens
// over the window in front, so it can be read and used while a dialog is open.
#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;

class THelpWindow : public QWidget {
 public:
  explicit THelpWindow(QWidget* Parent = nullptr);

  // Shows the topic of Context; a context without a topic shows the list and says so.
  void ShowTopic(int Context);
  // The context of the topic shown; 0 for none.
  int Context() const { return FContext; }
  QTextBrowser& Page() const { return *FPage; }

 protected:
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  QListWidget* FTopics;
  QTextBrowser* FPage;
  int FContext = 0;
};

// Opens (or brings forward) the help window on the topic of Context, over the window in front,
// and answers it.
THelpWindow& ShowHelpWindow(int Context);
