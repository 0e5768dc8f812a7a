// TDesignWindow: the design window of designhost. The component palette above; the form's
// components on the left (add from the palette, select one or several, delete, rename); the
// Object Inspector for the selection on the right; the File menu with New, Open, the recent
// forms, Save and Save As, a modified marker in the title, and a question before changes
// would be lost; the Edit menu with undo and redo of every change of the form; below, the
// data view of the selected table; F1 opens help on what has the keyboard.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "designhost/gui/DesignDocument.h"
#include "designhost/gui/RecentFiles.h"
#include "designhost/gui/UndoHistory.h"
#include "host/rtl/UpdateScope.h"

class QFileSystemWatcher;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;
class QAction;
class QMenu;
class TComponentPalette;
class TObjectInspector;
class TDataView;

class TDesignWindow : public QMainWindow {
 public:
  // Starts with a new, untitled form.
  explicit TDesignWindow(QWidget* Parent = nullptr);
  ~TDesignWindow() override;

  TDesignDocument& Document() const { return *FDocument; }
  TComponentPalette& ComponentPalette() const { return *FPalette; }
  TObjectInspector& Inspector() const { return *FInspector; }
  QTreeWidget& ComponentList() const { return *FComponents; }
  TDataView& DataView() const { return *FDataView; }

  // Reads File in place of the current form, without asking; raises what reading raises and
  // then keeps the current form.
  void LoadFile(const std::filesystem::path& File);

  // The File menu. Each asks before unsaved changes would be lost, shows its errors in a
  // message box, and answers whether it was carried out.
  bool NewForm();
  bool Open();
  bool OpenFile(const std::filesystem::path& File);
  bool Save();
  bool SaveAs();
  // A new, untitled form for a database file: its table components (those the person checks)
  // linked by their foreign keys, as `new` writes them; one change, so Undo leaves the empty form.
  bool NewFromDatabase();
  // Asks whether to save the changed form: Yes saves, No drops the changes, Cancel keeps
  // everything as it is (false).
  bool ConfirmDiscard();
  // Reads the form's file afresh in place of the form shown, as one change that Undo takes
  // back; the form is then as saved.
  bool ReloadFromDisk();
  // Looks whether another program changed the form's file; when it did and the window holds
  // no unsaved change, offers to read it afresh. The window does this by itself soon after the
  // file or its folder changes.
  void CheckDisk();

  // The selected components, in the list's order.
  std::vector<TComponent*> Selection() const;
  void Select(const std::vector<TComponent*>& Components);
  // A new component of Class from the palette, selected.
  void AddComponent(TClass Class);
  void DeleteSelection();
  // Renames the one selected component; errors show in a message box.
  bool RenameSelected(const std::string& Name);

  // Undo takes back the last change of the form, Redo makes it again; each reads the form
  // back as it was, restores the selection of that moment and reports one modification to
  // the designer. The modified marker follows: undoing back to the saved form clears it.
  bool Undo();
  bool Redo();
  const TUndoHistory& History() const { return FHistory; }
  // Runs Action as one change of the form named Label: when the form's text differs afterwards
  // the change can be undone; when it does not, the modified state stays as it was, whatever
  // the editors reported. An error shows in a message box (after what it changed was recorded).
  void Change(const std::string& Label, const std::function<void()>& Action);

  // The foreign keys from the table of the one selected table component without a master to
  // the tables of the form's other components: "MASTER (COLUMNS)" each, in declaration order,
  // and whether linking by it would close a loop.
  std::vector<std::pair<std::string, bool>> ForeignKeyChoices() const;
  // Links the selected table by the key ForeignKeyChoices answers at Index, as one change.
  bool LinkByForeignKey(size_t Index);

  // The help context of what has the keyboard: the current inspector row's property editor,
  // the inspector, or the design window. F1 opens help on it.
  int CurrentHelpContext() const;

  // From now on the window keeps its size in the person's settings (designhost/designhost.conf
  // in the configuration folder): it takes the size it was last closed at, fitted to the screen,
  // and writes its size when it closes. Otherwise, as for pictures, it keeps nothing and starts
  // at a size that fits the screen.
  void KeepSizeInSettings();

  // The forms opened and saved last; the File menu's Open Recent lists them.
  TRecentFiles& RecentFiles() { return FRecent; }

  // Asks where to save the form; nothing when the person cancels. A Qt file dialog by default.
  std::function<std::optional<std::filesystem::path>()> AskSaveFileName;
  // Asks which database file New from Database reads; nothing when the person cancels.
  std::function<std::optional<std::filesystem::path>()> AskDatabaseFile;
  // Asks which of Tables to take, all checked at first; nothing when the person cancels.
  std::function<std::optional<std::vector<std::string>>(const std::vector<std::string>& Tables)> AskTables;

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void BuildMenus();
  // Gives the window Size, no larger than the available area of its screen, centred on it.
  void FitToScreen(QSize Size);
  void FillRecentMenu();
  void UpdateActions();
  // Runs Build, which makes the form's components afresh, with nothing of the window holding on
  // to the old ones, and selects the components named in Selection; the inspector stays on the
  // property it was on. An error shows in a message box; answers whether Build succeeded.
  bool Rebuild(const std::function<void()>& Build, const std::vector<std::string>& Selection);
  // Reads State back into the form and selects its components.
  bool Apply(const TUndoHistory::TState& State);
  TUndoHistory::TState CurrentState() const;
  // Undo and Redo: reads State back into the form and, when that worked, moves the history by
  // Moved.
  bool StepTo(const TUndoHistory::TState& State, void (TUndoHistory::*Moved)());
  // The form was saved: the history's clean point and the title follow.
  void Saved();
  void SetDocument(std::unique_ptr<TDesignDocument> Document);
  // Puts the form made by Make in place of the open one. The open form's components go
  // first (a database name is known only once in its session), kept as text, and come back
  // when Make raises, which then goes on to the caller.
  void ReplaceDocument(const std::function<std::unique_ptr<TDesignDocument>()>& Make);
  void DropDocument();
  // The list shows the form's components afresh, keeping the selection.
  void RefreshComponents();
  void SelectionChanged();
  // The data view shows the one selected component's rows.
  void ShowData();
  void UpdateSelectionLabel();
  void UpdateTitle();
  void ItemRenamed(QTreeWidgetItem* Item);
  std::optional<std::filesystem::path> AskSaveFileNameWithDialog();
  std::optional<std::filesystem::path> AskDatabaseFileWithDialog();
  std::optional<std::vector<std::string>> AskTablesWithDialog(const std::vector<std::string>& Tables);
  void FillForeignKeyMenu();
  // Save found the file changed by another program: reload it, overwrite it, or neither.
  bool SaveOverChange();
  // Watches the form's file and its folder (an atomic replacement is a new file in the folder).
  void WatchFile();

  std::unique_ptr<TDesignDocument> FDocument;
  TComponentPalette* FPalette = nullptr;
  TObjectInspector* FInspector = nullptr;
  QTreeWidget* FComponents = nullptr;
  QLabel* FSelectionLabel = nullptr;
  TDataView* FDataView = nullptr;
  TUpdateCount FRefreshing;  // the list is being filled from the form: its signals are no person's
  TUndoHistory FHistory;
  TRecentFiles FRecent;
  QAction* FUndoAction = nullptr;
  QAction* FRedoAction = nullptr;
  QMenu* FRecentMenu = nullptr;
  QMenu* FForeignKeyMenu = nullptr;
  QFileSystemWatcher* FWatcher = nullptr;
  QTimer* FDiskCheck = nullptr;     // a look at the file once the changes on disk settle
  bool FAskingDisk = false;         // the question about a change on disk is open
  bool FKeepsSize = false;          // the size goes to the person's settings on closing
  std::string FDeclinedDiskChange;  // the file's size and time when a reload was declined
};
