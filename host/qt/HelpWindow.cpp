// The help window.
#include "host/qt/HelpWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "host/qt/QtText.h"
#include "host/visualclx/HelpTopics.h"

THelpWindow::THelpWindow(QWidget* Parent) : QWidget(Parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Help"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  auto* panes = new QHBoxLayout();
  FTopics = new QListWidget(this);
  FTopics->setObjectName(QStringLiteral("Topics"));
  for (const THelpTopic& topic : HelpTopics()) {
    auto* item = new QListWidgetItem(ToQString(topic.Title), FTopics);
    item->setData(Qt::UserRole, topic.Context);
  }
  FTopics->setMaximumWidth(220);
  FPage = new QTextBrowser(this);
  FPage->setObjectName(QStringLiteral("Page"));
  panes->addWidget(FTopics);
  panes->addWidget(FPage, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
  layout->addLayout(panes, 1);
  layout->addWidget(buttons);
  connect(FTopics, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* Item, QListWidgetItem*) {
    if (Item) ShowTopic(Item->data(Qt::UserRole).toInt());
  });
  resize(720, 440);
}

void THelpWindow::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(Event);
}

void THelpWindow::ShowTopic(int Context) {
  const std::optional<THelpTopic> topic = FindHelpTopic(Context);
  FContext = topic ? Context : 0;
  if (!topic) {
    FPage->setHtml(QStringLiteral("<h2>No help on this</h2><p>There is no topic for help context %1. "
                                  "Choose a topic from the list.</p>")
                       .arg(Context));
    FTopics->setCurrentItem(nullptr);
    return;
  }
  setWindowTitle(QStringLiteral("Help - %1").arg(ToQString(topic->Title)));
  FPage->setHtml(QStringLiteral("<h2>%1</h2>%2").arg(ToQString(topic->Title).toHtmlEscaped(), ToQString(topic->Html)));
  for (int i = 0; i < FTopics->count(); ++i)
    if (FTopics->item(i)->data(Qt::UserRole).toInt() == Context && FTopics->currentRow() != i) {
      QSignalBlocker quiet(FTopics);
      FTopics->setCurrentRow(i);
    }
}

THelpWindow& ShowHelpWindow(int Context) {
  static QPointer<THelpWindow> window;
  // A window of its own over the one in front: a modal dialog leaves its own children usable.
  QWidget* front = QApplication::activeModalWidget();
  if (!front) front = QApplication::activeWindow();
  if (window && front == window) front = window->parentWidget();
  if (window && window->parentWidget() != front) {
    window->close();
    window = nullptr;
  }
  if (!window) window = new THelpWindow(front);
  window->ShowTopic(Context);
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}
