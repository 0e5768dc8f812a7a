// TDesignWindow: the design window of designhost. The component palette above; the form's
// components on the left (add from the palette, select one or several, delete, rename); the
// Object Inspector for the selection on the right; the File menu with New, Open, Save and
// Save As, a modified marker in the title, and a question before changes would be lost.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "designhost/gui/DesignDocument.h"

class QTreeWidget;
class QTreeWidgetItem;
class QLabel;
class QAction;
class TComponentPalette;
class TObjectInspector;

class TDesignWindow : public QMainWindow {
 public:
  // Starts with a new, untitled form.
  explicit TDesignWindow(QWidget* Parent = nullptr);
  ~TDesignWindow() override;

  TDesignDocument& Document() const { return *FDocument; }
  TComponentPalette& ComponentPalette() const { return *FPalette; }
  TObjectInspector& Inspector() const { return *FInspector; }
  QTreeWidget& ComponentList() const { return *FComponents; }

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
  // Asks whether to save the changed form: Yes saves, No drops the changes, Cancel keeps
  // everything as it is (false).
  bool ConfirmDiscard();

  // The selected components, in the list's order.
  std::vector<TComponent*> Selection() const;
  void Select(const std::vector<TComponent*>& Components);
  // A new component of Class from the palette, selected.
  void AddComponent(TClass Class);
  void DeleteSelection();
  // Renames the one selected component; errors show in a message box.
  bool RenameSelected(const std::string& Name);

  // Asks where to save the form; nothing when the person cancels. A Qt file dialog by default.
  std::function<std::optional<std::filesystem::path>()> AskSaveFileName;

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void BuildMenus();
  void SetDocument(std::unique_ptr<TDesignDocument> Document);
  // Puts the form made by Make in place of the open one. The open form's components go
  // first (a database name is known only once in its session), kept as text, and come back
  // when Make raises, which then goes on to the caller.
  void ReplaceDocument(const std::function<std::unique_ptr<TDesignDocument>()>& Make);
  void DropDocument();
  // The list shows the form's components afresh, keeping the selection.
  void RefreshComponents();
  void SelectionChanged();
  void UpdateSelectionLabel();
  void UpdateTitle();
  void ItemRenamed(QTreeWidgetItem* Item);
  std::optional<std::filesystem::path> AskSaveFileNameWithDialog();

  std::unique_ptr<TDesignDocument> FDocument;
  TComponentPalette* FPalette = nullptr;
  TObjectInspector* FInspector = nullptr;
  QTreeWidget* FComponents = nullptr;
  QLabel* FSelectionLabel = nullptr;
  int FRefreshing = 0;  // the list is being filled from the form: its signals are no person's
};
