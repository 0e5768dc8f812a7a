// TDesignDocument: the form the design window edits: its root component, its file (none while
// untitled), whether it changed since it was read or saved, and the designer that the property
// editors report their changes to.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "designhost/Designer.h"
#include "host/rtl/Component.h"
#include "host/visualclx/forms/FormDocument.h"

class TDesignDocument {
 public:
  // An untitled data module, "DataModule1", holding nothing.
  TDesignDocument();
  // Reads File (see TFormDocument): relative database file names in it are taken from its folder.
  explicit TDesignDocument(const std::filesystem::path& File);
  // The form stored in Text, belonging to File (empty: untitled).
  TDesignDocument(std::string_view Text, const std::filesystem::path& File);
  ~TDesignDocument();
  TDesignDocument(const TDesignDocument&) = delete;
  TDesignDocument& operator=(const TDesignDocument&) = delete;

  TComponent* Root() const { return FForm->Root(); }
  // What the form's data sets could not do when it was read.
  const std::vector<TLoadWarnings::TWarning>& Warnings() const { return FForm->Warnings(); }
  // The designer the property editors are given; their modification notice marks the document.
  IDesigner& Designer();
  // The form's file, empty while the document is untitled.
  const std::filesystem::path& File() const { return FForm->File(); }
  bool Untitled() const { return File().empty(); }
  // The file's name, or "Untitled".
  std::string DisplayName() const;

  bool Modified() const { return FModified; }
  void MarkModified();
  // Sets the modified state outright: the window knows when an undo reached the saved form.
  void SetModified(bool Value);
  // Told whenever Modified changes.
  void SetOnModifiedChanged(std::function<void()> Proc) { FOnModifiedChanged = std::move(Proc); }

  // Writes the form into File safely (see TFormDocument::SaveAs), holding the form's lock while
  // it saves; the document then belongs to File, unmodified. A relative database file name
  // leads from the form's folder: saved into another folder, it is rewritten to lead to the
  // same file (relative when the file lies in the new folder or below, else absolute). Answers
  // what was rewritten, one "Database1.DatabaseFileName = 'NAME'" each; on failure nothing is.
  std::vector<std::string> SaveAs(const std::filesystem::path& File);
  // Saves into the document's own file when it still holds what was read or last saved here;
  // EFormChanged (nothing written) when another program changed it meanwhile,
  // EInvalidOperation while untitled.
  void Save();
  // Saves into the document's own file whatever it holds now.
  void SaveOver();
  // Whether another program changed the file since it was read or saved here.
  bool ChangedOnDisk() const { return FForm->ChangedOnDisk(); }
  // Reads the file afresh in place of the form (see Restore); the document is then unmodified.
  void Reload();

  // The components of the form, in the order they were made.
  std::vector<TComponent*> Components() const;
  // The first free name for a new component of Class: the class name without its "T" and the
  // smallest number from 1 that no component of the form has ("QVRTable1").
  std::string FreshName(TClass Class) const;
  // Makes a component of Class owned by the root, under a fresh name; EComponentError for a
  // class that makes no components.
  TComponent* AddComponent(TClass Class);
  // Frees the components; references to them from the others are cleared as they go.
  void DeleteComponents(const std::vector<TComponent*>& Components);
  // Renames Component (EComponentError for a name that is no identifier or is taken).
  void RenameComponent(TComponent* Component, const std::string& Name);

  // Reads the form afresh from Text (an earlier state of it, for undo and redo); the file,
  // the designer and the modified state stay. The current components go first (a database
  // name is known only once in its session); when Text cannot be read they come back, and the
  // error goes on to the caller.
  void Restore(std::string_view Text);

 private:
  class TDocumentDesigner;
  // Runs Build, which makes the form's components afresh, and hands the designer the root.
  void Rebuild(const std::function<void()>& Build);

  std::unique_ptr<TFormDocument> FForm;
  std::unique_ptr<TDocumentDesigner> FDesigner;
  bool FModified = false;
  std::function<void()> FOnModifiedChanged;
};
