// TDesignWindow: the palette, the form's components, the Object Inspector and the File menu.
#include "designhost/gui/DesignWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "designhost/KeyLinks.h"
#include "designhost/gui/ComponentPalette.h"
#include "designhost/gui/DataView.h"
#include "designhost/gui/ErrorMessage.h"
#include "designhost/gui/ObjectInspector.h"
#include "designhost/gui/WindowHelp.h"
#include "host/dataclx/DatabaseError.h"
#include "host/qt/FocusReturn.h"
#include "host/qt/HelpWindow.h"
#include "host/qt/QtText.h"
#include "host/rtl/UpdateScope.h"
#include "host/runtime/Table.h"
#include "host/visualclx/HelpTopics.h"
#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/forms/FormReader.h"

namespace fs = std::filesystem;

namespace {

constexpr int kComponentRole = Qt::UserRole;
// The share of the screen's available area a window starts at when it has no size of its own.
constexpr double kScreenShare = 0.9;
const char* const kFormFilter = "Form files (*.xfm)|*.xfm|Any files (*.*)|*.*";

TComponent* ComponentOf(const QTreeWidgetItem* Item) {
  return static_cast<TComponent*>(Item->data(0, kComponentRole).value<void*>());
}

// The area of the window's screen that windows may take.
QRect AvailableArea(const QWidget& Window) {
  const QScreen* screen = Window.screen() ? Window.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The person's settings of the design window.
QSettings WindowSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("designhost"),
                   QStringLiteral("designhost"));
}

}  // namespace

TDesignWindow::TDesignWindow(QWidget* Parent) : QMainWindow(Parent) {
  RegisterDesignWindowHelp();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  FPalette = new TComponentPalette(central);
  FPalette->OnPick = [this](TClass Class) { AddComponent(Class); };
  layout->addWidget(FPalette);

  auto* splitter = new QSplitter(Qt::Horizontal, central);
  auto* left = new QWidget(splitter);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  auto* componentsLabel = new QLabel(QStringLiteral("&Components"), left);
  FComponents = new QTreeWidget(left);
  FComponents->setObjectName(QStringLiteral("Components"));
  FComponents->setColumnCount(2);
  FComponents->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Class")});
  FComponents->setRootIsDecorated(false);
  FComponents->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FComponents->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FComponents->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  componentsLabel->setBuddy(FComponents);
  auto* buttons = new QHBoxLayout();
  auto* renameButton = new QPushButton(QStringLiteral("&Rename"), left);
  auto* deleteButton = new QPushButton(QStringLiteral("&Delete"), left);
  buttons->addWidget(renameButton);
  buttons->addWidget(deleteButton);
  buttons->addStretch(1);
  leftLayout->addWidget(componentsLabel);
  leftLayout->addWidget(FComponents, 1);
  leftLayout->addLayout(buttons);

  auto* right = new QWidget(splitter);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  auto* inspectorLabel = new QLabel(QStringLiteral("&Object Inspector"), right);
  FSelectionLabel = new QLabel(right);
  FInspector = new TObjectInspector(right);
  inspectorLabel->setBuddy(FInspector);
  auto* filter = new QLineEdit(right);
  filter->setObjectName(QStringLiteral("PropertyFilter"));
  filter->setPlaceholderText(QStringLiteral("Filter properties"));
  filter->setClearButtonEnabled(true);
  connect(filter, &QLineEdit::textChanged, FInspector, [this](const QString& Text) { FInspector->SetFilter(Text); });
  rightLayout->addWidget(inspectorLabel);
  rightLayout->addWidget(FSelectionLabel);
  rightLayout->addWidget(filter);
  rightLayout->addWidget(FInspector, 1);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  auto* rows = new QSplitter(Qt::Vertical, central);
  rows->addWidget(splitter);
  FDataView = new TDataView(rows);
  rows->addWidget(FDataView);
  rows->setStretchFactor(0, 3);
  rows->setStretchFactor(1, 2);
  layout->addWidget(rows, 1);
  setCentralWidget(central);

  connect(renameButton, &QPushButton::clicked, this, [this] {
    if (QTreeWidgetItem* item = FComponents->currentItem()) FComponents->editItem(item, 0);
  });
  connect(deleteButton, &QPushButton::clicked, this, [this] { DeleteSelection(); });
  connect(FComponents, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!FRefreshing.Updating()) SelectionChanged();
  });
  connect(FComponents, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* Item, int Column) {
    if (!FRefreshing.Updating() && Column == 0) ItemRenamed(Item);
  });
  FInspector->Transaction = [this](const std::string& Label, const std::function<void()>& Action) {
    Change(Label, Action);
  };
  FInspector->OnChanged = [this] {
    RefreshComponents();
    ShowData();
    UpdateSelectionLabel();
    UpdateTitle();
  };
  AskSaveFileName = [this] { return AskSaveFileNameWithDialog(); };
  AskDatabaseFile = [this] { return AskDatabaseFileWithDialog(); };
  AskTables = [this](const std::vector<std::string>& Tables) { return AskTablesWithDialog(Tables); };

  // A change on disk comes as several notices (a temporary file, a rename): the file is looked
  // at once they settle.
  FWatcher = new QFileSystemWatcher(this);
  FDiskCheck = new QTimer(this);
  FDiskCheck->setSingleShot(true);
  FDiskCheck->setInterval(300);
  connect(FDiskCheck, &QTimer::timeout, this, [this] { CheckDisk(); });
  connect(FWatcher, &QFileSystemWatcher::fileChanged, FDiskCheck, qOverload<>(&QTimer::start));
  connect(FWatcher, &QFileSystemWatcher::directoryChanged, FDiskCheck, qOverload<>(&QTimer::start));

  BuildMenus();
  statusBar();
  SetDocument(std::make_unique<TDesignDocument>());
  FitToScreen(AvailableArea(*this).size() * kScreenShare);
}

void TDesignWindow::FitToScreen(QSize Size) {
  const QRect area = AvailableArea(*this);
  Size = Size.boundedTo(area.size());
  resize(Size);
  move(area.x() + (area.width() - Size.width()) / 2, area.y() + (area.height() - Size.height()) / 2);
}

void TDesignWindow::KeepSizeInSettings() {
  FKeepsSize = true;
  QSettings settings = WindowSettings();
  const QSize size = settings.value(QStringLiteral("window/size")).toSize();
  if (size.isValid()) FitToScreen(size);
  if (settings.value(QStringLiteral("window/maximized")).toBool()) setWindowState(windowState() | Qt::WindowMaximized);
}

TDesignWindow::~TDesignWindow() {
  // The inspector's editors and the data view refer to the form's components: they go first.
  FInspector->Clear();
  FDataView->Show(nullptr);
}

void TDesignWindow::ShowData() {
  std::vector<TComponent*> selected = Selection();
  FDataView->Show(selected.size() == 1 ? selected.front() : nullptr);
}

void TDesignWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&New"), QKeySequence::New, this, [this] { NewForm(); });
  file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, [this] { Open(); });
  file->addAction(QStringLiteral("New from &Database..."), this, [this] { NewFromDatabase(); });
  FRecentMenu = file->addMenu(QStringLiteral("Open &Recent"));
  connect(FRecentMenu, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
  file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] { Save(); });
  file->addAction(QStringLiteral("Save &As..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")), this,
                  [this] { SaveAs(); });
  file->addAction(QStringLiteral("Re&load from Disk"), this, [this] { ReloadFromDisk(); });
  file->addSeparator();
  file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });

  // Delete and F2 act on the component list only: in the inspector they edit text.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  FUndoAction = edit->addAction(QStringLiteral("&Undo"), QKeySequence::Undo, this, [this] { Undo(); });
  FRedoAction = edit->addAction(QStringLiteral("&Redo"), QKeySequence::Redo, this, [this] { Redo(); });
  edit->addSeparator();
  QAction* remove = edit->addAction(QStringLiteral("&Delete"), this, [this] { DeleteSelection(); });
  remove->setShortcut(QKeySequence::Delete);
  remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  FComponents->addAction(remove);
  QAction* rename = edit->addAction(QStringLiteral("&Rename"), this, [this] {
    if (QTreeWidgetItem* item = FComponents->currentItem()) FComponents->editItem(item, 0);
  });
  rename->setShortcut(QKeySequence(Qt::Key_F2));
  rename->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  FComponents->addAction(rename);
  edit->addSeparator();
  FForeignKeyMenu = edit->addMenu(QStringLiteral("Link by &Foreign Key"));
  FForeignKeyMenu->setObjectName(QStringLiteral("LinkByForeignKey"));
  connect(FForeignKeyMenu, &QMenu::aboutToShow, this, [this] { FillForeignKeyMenu(); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("&Help on This"), QKeySequence::HelpContents, this,
                  [this] { ShowHelpWindow(CurrentHelpContext()); });
  help->addAction(QStringLiteral("The &Design Window"), this, [] { ShowHelpWindow(kDesignWindowHelp); });
}

int TDesignWindow::CurrentHelpContext() const {
  // The inspector's current row has the topic of its property editor, when the book has one.
  if (FInspector->hasFocus() || FInspector->isAncestorOf(QApplication::focusWidget())) {
    if (TPropertyEditor* editor = FInspector->CurrentPropertyEditor())
      if (int context = HelpContextOf(editor->ClassName())) return context;
    return kObjectInspectorHelp;
  }
  return kDesignWindowHelp;
}

void TDesignWindow::FillRecentMenu() {
  FRecentMenu->clear();
  int number = 0;
  for (const fs::path& file : FRecent.Files()) {
    QString text = QStringLiteral("&%1 %2").arg(++number).arg(ToQString(file.filename().string()));
    QAction* action = FRecentMenu->addAction(text, this, [this, file] {
      if (!fs::is_regular_file(file)) {
        FRecent.Remove(file);
        ShowErrorMessage("Cannot open form file '" + file.string() + "': it is gone");
        return;
      }
      OpenFile(file);
    });
    action->setToolTip(ToQString(file.string()));
    action->setStatusTip(ToQString(file.string()));
  }
  if (FRecent.Files().empty()) FRecentMenu->addAction(QStringLiteral("(none)"))->setEnabled(false);
  FRecentMenu->addSeparator();
  FRecentMenu->addAction(QStringLiteral("&Clear List"), this, [this] { FRecent.Clear(); })
      ->setEnabled(!FRecent.Files().empty());
}

void TDesignWindow::UpdateActions() {
  FUndoAction->setEnabled(FHistory.CanUndo());
  FUndoAction->setText(FHistory.CanUndo() ? QStringLiteral("&Undo %1").arg(ToQString(FHistory.UndoStep().Label))
                                          : QStringLiteral("&Undo"));
  FRedoAction->setEnabled(FHistory.CanRedo());
  FRedoAction->setText(FHistory.CanRedo() ? QStringLiteral("&Redo %1").arg(ToQString(FHistory.RedoStep().Label))
                                          : QStringLiteral("&Redo"));
}

TUndoHistory::TState TDesignWindow::CurrentState() const {
  TUndoHistory::TState state{WriteComponent(FDocument->Root()), {}};
  for (TComponent* component : Selection()) state.Selection.push_back(component->Name());
  return state;
}

void TDesignWindow::Change(const std::string& Label, const std::function<void()>& Action) {
  TUndoHistory::TState before = CurrentState();
  bool wasModified = FDocument->Modified();
  std::exception_ptr error;
  try {
    Action();
  } catch (...) {
    error = std::current_exception();
  }
  TUndoHistory::TState after = CurrentState();
  if (after.Text != before.Text) {
    FHistory.Record({Label, std::move(before), std::move(after)});
    FDocument->SetModified(!FHistory.Clean());
  } else {
    // A notice without a change of the form leaves the form as modified as it was.
    FDocument->SetModified(wasModified);
  }
  UpdateActions();
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (...) {
      ShowCurrentError();
    }
  }
}

bool TDesignWindow::Rebuild(const std::function<void()>& Build, const std::vector<std::string>& Selection) {
  const std::string row = FInspector->CurrentName();
  FInspector->Clear();
  FDataView->Show(nullptr);
  {
    TUpdateScope refreshing(&FRefreshing);
    FComponents->clear();
  }
  bool built = true;
  try {
    Build();
  } catch (...) {
    ShowCurrentError();
    built = false;
  }
  RefreshComponents();
  std::vector<TComponent*> selected;
  for (const std::string& name : Selection)
    if (TComponent* component = FDocument->Root()->FindComponent(name)) selected.push_back(component);
  Select(selected);
  if (!row.empty()) FInspector->MakeCurrent(row);
  return built;
}

bool TDesignWindow::Apply(const TUndoHistory::TState& State) {
  return Rebuild([&] { FDocument->Restore(State.Text); }, State.Selection);
}

bool TDesignWindow::ReloadFromDisk() {
  if (FDocument->Untitled()) return false;
  TUndoHistory::TState before = CurrentState();
  if (!Rebuild([&] { FDocument->Reload(); }, before.Selection)) return false;
  TUndoHistory::TState after = CurrentState();
  if (after.Text != before.Text) FHistory.Record({"reload from disk", std::move(before), std::move(after)});
  FHistory.MarkClean();
  FDocument->Designer().Modified();
  FDocument->SetModified(false);
  FDeclinedDiskChange.clear();
  UpdateActions();
  UpdateTitle();
  statusBar()->showMessage(
      ToQString("Read " + FDocument->DisplayName() + " again from disk; Edit > Undo brings back the form as it was"));
  return true;
}

namespace {

// The file's size and time, to tell one change on disk from the next.
std::string DiskState(const fs::path& File) {
  QFileInfo info(ToQString(File.string()));
  return std::to_string(info.size()) + "@" + std::to_string(info.lastModified().toMSecsSinceEpoch());
}

}  // namespace

void TDesignWindow::WatchFile() {
  if (!FWatcher->files().isEmpty()) FWatcher->removePaths(FWatcher->files());
  if (!FWatcher->directories().isEmpty()) FWatcher->removePaths(FWatcher->directories());
  FDeclinedDiskChange.clear();
  if (FDocument->Untitled()) return;
  std::error_code ec;
  fs::path file = fs::absolute(FDocument->File(), ec);
  FWatcher->addPath(ToQString(file.string()));
  FWatcher->addPath(ToQString(file.parent_path().string()));
}

void TDesignWindow::CheckDisk() {
  if (FDocument->Untitled() || FAskingDisk) return;
  std::error_code ec;
  const fs::path file = fs::absolute(FDocument->File(), ec);
  // A replaced file is a new one: the watcher lets go of the old and is given the new.
  if (!FWatcher->files().contains(ToQString(file.string())) && fs::exists(file, ec))
    FWatcher->addPath(ToQString(file.string()));
  // Nothing is asked over another question or dialog: the look is made again later.
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
    FDiskCheck->start();
    return;
  }
  if (!FDocument->ChangedOnDisk()) return;
  const std::string name = FDocument->DisplayName();
  if (!fs::exists(file, ec)) {
    statusBar()->showMessage(ToQString(name + " is gone from disk; Save writes it again"));
    return;
  }
  if (FDocument->Modified()) {
    statusBar()->showMessage(
        ToQString(name + " has changed on disk; Save asks whether to read it again or overwrite it"));
    return;
  }
  const std::string state = DiskState(file);
  if (state == FDeclinedDiskChange) return;
  TModalResult answer = mrNo;
  try {
    FAskingDisk = true;
    answer = MessageDlg(name + " has changed on disk. Read it again?", mtConfirmation, {mbYes, mbNo}, 0);
    FAskingDisk = false;
  } catch (...) {
    FAskingDisk = false;
    ShowCurrentError();
    return;
  }
  if (answer == mrYes)
    ReloadFromDisk();
  else
    FDeclinedDiskChange = state;
}

bool TDesignWindow::Undo() { return FHistory.CanUndo() && StepTo(FHistory.UndoStep().Before, &TUndoHistory::Undone); }

bool TDesignWindow::Redo() { return FHistory.CanRedo() && StepTo(FHistory.RedoStep().After, &TUndoHistory::Redone); }

bool TDesignWindow::StepTo(const TUndoHistory::TState& State, void (TUndoHistory::*Moved)()) {
  if (!Apply(State)) return false;
  (FHistory.*Moved)();
  FDocument->Designer().Modified();
  FDocument->SetModified(!FHistory.Clean());
  UpdateActions();
  UpdateTitle();
  return true;
}

void TDesignWindow::DropDocument() {
  FInspector->Clear();
  FDataView->Show(nullptr);
  {
    TUpdateScope refreshing(&FRefreshing);
    FComponents->clear();
  }
  FDocument.reset();
}

void TDesignWindow::ReplaceDocument(const std::function<std::unique_ptr<TDesignDocument>()>& Make) {
  std::string text = WriteComponent(FDocument->Root());
  fs::path file = FDocument->File();
  bool modified = FDocument->Modified();
  TUndoHistory history = FHistory;
  DropDocument();
  try {
    SetDocument(Make());
  } catch (...) {
    std::unique_ptr<TDesignDocument> previous;
    try {
      previous = std::make_unique<TDesignDocument>(text, file);
      if (modified) previous->MarkModified();
    } catch (...) {
      previous = std::make_unique<TDesignDocument>();  // what was written always reads back
    }
    SetDocument(std::move(previous));
    FHistory = std::move(history);  // the form is back as it was, and so are its steps
    UpdateActions();
    throw;
  }
}

void TDesignWindow::SetDocument(std::unique_ptr<TDesignDocument> Document) {
  DropDocument();
  FDocument = std::move(Document);
  WatchFile();
  FDocument->SetOnModifiedChanged([this] { UpdateTitle(); });
  FHistory.Clear(!FDocument->Modified());
  UpdateActions();
  RefreshComponents();
  std::vector<TComponent*> components = FDocument->Components();
  Select(components.empty() ? std::vector<TComponent*>{} : std::vector<TComponent*>{components.front()});
  UpdateTitle();
}

void TDesignWindow::RefreshComponents() {
  TUpdateScope refreshing(&FRefreshing);
  std::vector<TComponent*> components = FDocument->Components();
  bool same = FComponents->topLevelItemCount() == static_cast<int>(components.size());
  for (int i = 0; same && i < FComponents->topLevelItemCount(); ++i)
    same = ComponentOf(FComponents->topLevelItem(i)) == components[static_cast<size_t>(i)];
  if (!same) {
    // Items are only dropped while the list is not in the middle of editing one.
    std::vector<TComponent*> selected = Selection();
    FComponents->clear();
    for (TComponent* component : components) {
      auto* item = new QTreeWidgetItem(FComponents);
      item->setData(0, kComponentRole, QVariant::fromValue<void*>(component));
      item->setFlags(item->flags() | Qt::ItemIsEditable);
      item->setSelected(std::find(selected.begin(), selected.end(), component) != selected.end());
    }
  }
  for (int i = 0; i < FComponents->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = FComponents->topLevelItem(i);
    TComponent* component = ComponentOf(item);
    item->setText(0, ToQString(component->Name()));
    item->setText(1, ToQString(component->ClassName()));
  }
}

std::vector<TComponent*> TDesignWindow::Selection() const {
  std::vector<TComponent*> selected;
  for (int i = 0; i < FComponents->topLevelItemCount(); ++i)
    if (FComponents->topLevelItem(i)->isSelected()) selected.push_back(ComponentOf(FComponents->topLevelItem(i)));
  return selected;
}

void TDesignWindow::Select(const std::vector<TComponent*>& Components) {
  {
    TUpdateScope refreshing(&FRefreshing);
    FComponents->clearSelection();
    for (int i = 0; i < FComponents->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = FComponents->topLevelItem(i);
      bool selected = std::find(Components.begin(), Components.end(), ComponentOf(item)) != Components.end();
      item->setSelected(selected);
      if (selected && !Components.empty() && ComponentOf(item) == Components.front())
        FComponents->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    }
  }
  SelectionChanged();
}

void TDesignWindow::SelectionChanged() {
  std::vector<TComponent*> selected = Selection();
  FInspector->Inspect(&FDocument->Designer(), std::vector<TPersistent*>(selected.begin(), selected.end()));
  if (auto* filter = findChild<QLineEdit*>(QStringLiteral("PropertyFilter")); filter && !filter->text().isEmpty())
    FInspector->SetFilter(filter->text());
  UpdateSelectionLabel();
  ShowData();
}

void TDesignWindow::UpdateSelectionLabel() {
  std::vector<TComponent*> selected = Selection();
  if (selected.empty())
    FSelectionLabel->clear();
  else if (selected.size() == 1)
    FSelectionLabel->setText(ToQString(selected.front()->Name() + ": " + selected.front()->ClassName()));
  else
    FSelectionLabel->setText(QStringLiteral("%1 components selected").arg(selected.size()));
}

void TDesignWindow::UpdateTitle() {
  setWindowTitle(QStringLiteral("Tirvendal Designer - %1[*]").arg(ToQString(FDocument->DisplayName())));
  setWindowModified(FDocument->Modified());
  statusBar()->showMessage(FDocument->Untitled() ? QStringLiteral("New form, not saved yet")
                                                 : ToQString(FDocument->File().string()));
}

void TDesignWindow::AddComponent(TClass Class) {
  TComponent* component = nullptr;
  Change(Class ? "add " + FDocument->FreshName(Class) : std::string("add"), [&] {
    component = FDocument->AddComponent(Class);
    RefreshComponents();
    Select({component});
  });
  UpdateTitle();
}

void TDesignWindow::DeleteSelection() {
  std::vector<TComponent*> selected = Selection();
  if (selected.empty()) return;
  std::string label = selected.size() == 1 ? "delete " + selected.front()->Name()
                                           : "delete " + std::to_string(selected.size()) + " components";
  Change(label, [&] {
    FInspector->Clear();
    FDataView->Show(nullptr);
    {
      TUpdateScope refreshing(&FRefreshing);
      FComponents->clear();
    }
    std::exception_ptr error;
    try {
      FDocument->DeleteComponents(selected);
    } catch (...) {
      error = std::current_exception();
    }
    RefreshComponents();
    SelectionChanged();
    if (error) std::rethrow_exception(error);
  });
  UpdateTitle();
}

bool TDesignWindow::RenameSelected(const std::string& Name) {
  std::vector<TComponent*> selected = Selection();
  if (selected.size() != 1) return false;
  bool renamed = true;
  std::string old = selected.front()->Name();
  Change("rename " + old + " to " + Name, [&] {
    try {
      FDocument->RenameComponent(selected.front(), Name);
    } catch (...) {
      renamed = false;
      throw;
    }
  });
  RefreshComponents();
  FInspector->RefreshValues();
  SelectionChanged();
  UpdateTitle();
  return renamed;
}

void TDesignWindow::ItemRenamed(QTreeWidgetItem* Item) {
  TComponent* component = ComponentOf(Item);
  std::string name = Item->text(0).trimmed().toStdString();
  Change("rename " + component->Name() + " to " + name, [&] { FDocument->RenameComponent(component, name); });
  // The list shows the name the component has now: the new one, or the old after a refusal.
  RefreshComponents();
  FInspector->RefreshValues();
  if (Item->isSelected()) SelectionChanged();
  UpdateTitle();
}

bool TDesignWindow::ConfirmDiscard() {
  if (!FDocument->Modified()) return true;
  TModalResult answer = mrCancel;
  if (!RunShowingErrors([&] {
        answer = MessageDlg("Save changes to " + FDocument->DisplayName() + "?", mtConfirmation, mbYesNoCancel, 0);
      }))
    return false;
  if (answer == mrYes) return Save();
  return answer == mrNo;
}

void TDesignWindow::LoadFile(const fs::path& File) {
  ReplaceDocument([&] { return std::make_unique<TDesignDocument>(File); });
}

bool TDesignWindow::OpenFile(const fs::path& File) {
  if (!ConfirmDiscard() || !RunShowingErrors([&] { LoadFile(File); })) return false;
  FRecent.Add(FDocument->File());
  return true;
}

bool TDesignWindow::Open() {
  if (!ConfirmDiscard()) return false;
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Open form");
  dialog.SetFilter(kFormFilter);
  dialog.SetDefaultExt("xfm");
  dialog.SetOptions({ofPathMustExist, ofFileMustExist, ofEnableSizing});
  if (!FDocument->Untitled()) dialog.SetInitialDir(FDocument->File().parent_path().string());
  bool chosen = false;
  if (!RunShowingErrors([&] {
        chosen = dialog.Execute();
        if (chosen) LoadFile(fs::path(Utf16ToUtf8(dialog.FileName())));
      }) ||
      !chosen)
    return false;
  FRecent.Add(FDocument->File());
  return true;
}

bool TDesignWindow::NewForm() {
  if (!ConfirmDiscard()) return false;
  ReplaceDocument([] { return std::make_unique<TDesignDocument>(); });
  return true;
}

bool TDesignWindow::Save() {
  if (FDocument->Untitled()) return SaveAs();
  try {
    FDocument->Save();
  } catch (const EFormChanged&) {
    return SaveOverChange();
  } catch (...) {
    ShowCurrentError();
    return false;
  }
  Saved();
  return true;
}

void TDesignWindow::Saved() {
  FHistory.MarkClean();
  UpdateTitle();
}

bool TDesignWindow::SaveOverChange() {
  TModalResult answer = mrCancel;
  if (!RunShowingErrors([&] {
        answer = MessageDlg(FDocument->DisplayName() +
                                " has changed on disk since it was opened or saved here.\n\n"
                                "Yes: read it again from disk (Edit > Undo brings back the form shown here).\n"
                                "No: overwrite it with the form shown here, losing the changes on disk.\n"
                                "Cancel: neither, for now.",
                            mtWarning, mbYesNoCancel, 0);
      }))
    return false;
  if (answer == mrYes) {
    ReloadFromDisk();
    return false;  // nothing was saved
  }
  if (answer != mrNo || !RunShowingErrors([&] { FDocument->SaveOver(); })) return false;
  Saved();
  return true;
}

bool TDesignWindow::SaveAs() {
  std::optional<fs::path> file;
  if (!RunShowingErrors([&] { file = AskSaveFileName(); }) || !file) return false;
  std::vector<std::string> rewritten;
  if (!RunShowingErrors([&] { rewritten = FDocument->SaveAs(*file); })) return false;
  FRecent.Add(FDocument->File());
  WatchFile();
  Saved();
  if (!rewritten.empty()) {
    std::string names;
    for (const std::string& name : rewritten) names += (names.empty() ? "" : ", ") + name;
    statusBar()->showMessage(
        ToQString("Saved as " + FDocument->DisplayName() +
                  " in another folder, with file names rewritten to lead to the same files: " + names));
  }
  return true;
}

bool TDesignWindow::NewFromDatabase() {
  if (!ConfirmDiscard()) return false;
  try {
    std::optional<fs::path> database = AskDatabaseFile();
    if (!database) return false;
    TDatabaseStructure file(database->string());
    if (!file.Error().empty()) throw EDatabaseError(file.Error());
    std::optional<std::vector<std::string>> tables = AskTables(file.TableNames());
    if (!tables) return false;
    if (tables->empty()) throw EDatabaseError("No table was chosen");
    // An untitled form has no folder to name the file from: it is named whole.
    TNewForm plan = PlanNewForm("DataModule1", *database, fs::absolute(*database).lexically_normal().string(), *tables);
    ReplaceDocument([] { return std::make_unique<TDesignDocument>(); });
    Change("new from database", [&] {
      // The list and the inspector show the components that Restore replaces: they let go first.
      FInspector->Clear();
      FDataView->Show(nullptr);
      TUpdateScope refreshing(&FRefreshing);
      FComponents->clear();
      FDocument->Restore(plan.Text);
    });
    RefreshComponents();
    std::string notes;
    for (const std::string& note : plan.Notes) notes += (notes.empty() ? "" : "  ") + note;
    statusBar()->showMessage(ToQString(notes));
  } catch (...) {
    ShowCurrentError();
    return false;
  }
  return true;
}

std::vector<std::pair<std::string, bool>> TDesignWindow::ForeignKeyChoices() const {
  std::vector<std::pair<std::string, bool>> labels;
  std::vector<TComponent*> selected = Selection();
  auto* table = selected.size() == 1 ? dynamic_cast<TQVRTable*>(selected.front()) : nullptr;
  if (!table || table->MasterSource()) return labels;
  TLiveForm form(FDocument->Root());
  for (const TKeyChoice& choice : KeyChoices(form.Tables(), *form.IndexOf(table)))
    labels.emplace_back(form.Tables()[choice.Master].Name + " (" + KeyColumns(*choice.Key) + ")", choice.ClosesLoop);
  return labels;
}

bool TDesignWindow::LinkByForeignKey(size_t Index) {
  std::vector<TComponent*> selected = Selection();
  auto* table = selected.size() == 1 ? dynamic_cast<TQVRTable*>(selected.front()) : nullptr;
  if (!table) return false;
  bool linked = false;
  Change("link by foreign key", [&] {
    TLiveForm form(FDocument->Root());
    const size_t detail = *form.IndexOf(table);
    std::vector<TKeyChoice> choices = KeyChoices(form.Tables(), detail);
    if (Index >= choices.size()) return;
    if (choices[Index].ClosesLoop)
      throw EDatabaseError("Linking " + table->Name() + " to " + form.Tables()[choices[Index].Master].Name +
                           " would close a loop");
    ApplyLink(FDocument->Root(), PlanLink(form, detail, choices[Index]));
    linked = true;
  });
  RefreshComponents();
  Select({table});
  return linked;
}

void TDesignWindow::FillForeignKeyMenu() {
  FForeignKeyMenu->clear();
  std::vector<std::pair<std::string, bool>> choices;
  RunShowingErrors([&] { choices = ForeignKeyChoices(); });
  for (size_t i = 0; i < choices.size(); ++i) {
    QAction* action = FForeignKeyMenu->addAction(ToQString(choices[i].first), this, [this, i] { LinkByForeignKey(i); });
    action->setEnabled(!choices[i].second);
    if (choices[i].second) action->setToolTip(QStringLiteral("It would close a loop of master links"));
  }
  if (choices.empty()) FForeignKeyMenu->addAction(QStringLiteral("(no key to a table of the form)"))->setEnabled(false);
}

std::optional<fs::path> TDesignWindow::AskDatabaseFileWithDialog() {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("New form from database");
  dialog.SetFilter("Database files (*.tvd)|*.tvd|Any files (*.*)|*.*");
  dialog.SetDefaultExt("tvd");
  dialog.SetOptions({ofPathMustExist, ofFileMustExist, ofEnableSizing});
  if (!dialog.Execute()) return std::nullopt;
  return fs::path(Utf16ToUtf8(dialog.FileName()));
}

std::optional<std::vector<std::string>> TDesignWindow::AskTablesWithDialog(const std::vector<std::string>& Tables) {
  TFocusReturn focus;
  QDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Tables of the new form"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("Tables"));
  for (const std::string& table : Tables) {
    auto* item = new QListWidgetItem(ToQString(table), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(new QLabel(QStringLiteral("&Tables:"), &dialog));
  layout->addWidget(list, 1);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> chosen;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) chosen.push_back(Tables[static_cast<size_t>(i)]);
  return chosen;
}

std::optional<fs::path> TDesignWindow::AskSaveFileNameWithDialog() {
  TFocusReturn focus;
  QFileDialog dialog(this, QStringLiteral("Save form as"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("xfm"));
  dialog.setNameFilters({QStringLiteral("Form files (*.xfm)"), QStringLiteral("Any files (*)")});
  dialog.setDirectory(FDocument->Untitled() ? QDir::currentPath()
                                            : ToQString(FDocument->File().parent_path().string()));
  if (!FDocument->Untitled()) dialog.selectFile(ToQString(FDocument->File().filename().string()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return fs::path(dialog.selectedFiles().first().toStdString());
}

void TDesignWindow::closeEvent(QCloseEvent* Event) {
  if (!ConfirmDiscard()) {
    Event->ignore();
    return;
  }
  Event->accept();
  if (!FKeepsSize) return;
  QSettings settings = WindowSettings();
  settings.setValue(QStringLiteral("window/size"), isMaximized() ? normalGeometry().size() : size());
  settings.setValue(QStringLiteral("window/maximized"), isMaximized());
}
