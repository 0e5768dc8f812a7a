// What the language server works on: the workspace's folders, the documents the editor holds
// open, and every form of the workspace read as check reads them, an open document standing in
// for its file. Syntax only: components are built by the requests that need them.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "designhost/Project.h"
#include "designhost/lsp/TextDocument.h"

class TClassInfo;

// One form of the workspace: its file, its text and its syntax tree (nil when it does not read).
struct TWorkspaceForm {
  std::filesystem::path Path;
  std::string Uri;
  std::shared_ptr<const std::string> Text;
  std::shared_ptr<const TFormObject> Tree;
};

// A database component of a form, found by its DatabaseName.
struct TDatabaseDeclaration {
  const TWorkspaceForm* Form = nullptr;
  const TFormObject* Object = nullptr;
};

class TWorkspace {
 public:
  void AddFolder(const std::filesystem::path& Folder) { FFolders.push_back(Folder); }

  TTextDocument& Open(std::string Uri, int Version, std::string Text);
  void Close(const std::string& Uri);
  // The open document, or nil.
  TTextDocument* Find(const std::string& Uri) const;
  const std::map<std::string, std::unique_ptr<TTextDocument>>& Documents() const { return FDocuments; }

  // The open documents' texts for a project, and what a check of the workspace reads: its
  // folders that exist and each open document outside them.
  TFormTexts Texts() const;
  std::vector<std::string> CheckPaths() const;

  // Every form of the workspace, open documents first, each file once; a file's tree is read
  // again only when the file changed.
  std::vector<TWorkspaceForm> Forms() const;

  // The structure of a database file as it is now: kept while the sizes and times of the file
  // and of its write-ahead log stay, read afresh when they change.
  TDatabaseStructure& Structure(const std::string& File) const;

 private:
  using TFileStamp = std::vector<std::pair<std::filesystem::file_time_type, uintmax_t>>;
  struct TCachedStructure {
    TFileStamp Stamp;
    std::unique_ptr<TDatabaseStructure> Structure;
  };

  struct TCachedFile {
    std::filesystem::file_time_type Time;
    uintmax_t Size = 0;
    TWorkspaceForm Form;
  };

  std::vector<std::filesystem::path> FFolders;
  std::map<std::string, std::unique_ptr<TTextDocument>> FDocuments;  // by URI
  mutable std::map<std::string, TCachedFile> FFiles;                 // by FormKey
  mutable std::map<std::string, TCachedStructure> FStructures;       // by FormKey of the file
};

// ---------------------------------------------------------------------------------------------
// Look-ups in syntax trees. Lines count from 1, as the trees count them.

// The innermost object whose lines hold Line; nil when none does.
const TFormObject* ObjectAtLine(const TFormObject& Root, int Line);
// The property of Object whose lines hold Line, or nil.
const TFormProperty* PropertyAtLine(const TFormObject& Object, int Line);
// The object named Name (without regard to case) in the tree, or nil.
const TFormObject* FindObject(const TFormObject& Root, std::string_view Name);
const TFormProperty* FindProperty(const TFormObject& Object, std::string_view Path);
// The text of a string or identifier property; empty when it is not stored.
std::string PropertyText(const TFormObject& Object, std::string_view Path);
// True when the object's class is registered and is, or derives from, Class.
bool IsOfClass(const TFormObject& Object, const TClassInfo* Class);
// Calls Visit for every object under Root (Root too), in stored order.
void ForEachObject(const TFormObject& Root, const std::function<void(const TFormObject&)>& Visit);

// The database component that declares DatabaseName in the workspace's forms: the first, in
// the order of Forms; none when no form declares it.
std::optional<TDatabaseDeclaration> FindDatabase(const std::vector<TWorkspaceForm>& Forms,
                                                 std::string_view DatabaseName);
// The database file a declaration names, taken from its form's folder; empty when not named.
std::string DatabaseFile(const TDatabaseDeclaration& Declaration);

// The structure of the table a table object names, read from the database file as it is now.
class TTableLookup {
 public:
  TTableLookup(const TWorkspace& Workspace, const std::vector<TWorkspaceForm>& Forms, const TFormObject& Table);
  // Nil when the database, its file or the table cannot be found or read.
  const TTableStructure* Structure() const { return FStructure; }
  const std::optional<TDatabaseDeclaration>& Database() const { return FDatabase; }

 private:
  std::optional<TDatabaseDeclaration> FDatabase;
  const TTableStructure* FStructure = nullptr;
};
