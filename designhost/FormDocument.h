// The one form that designhost keeps open: read from its file, selected from, and saved back.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Component.h"

// A problem with how designhost was called (exit status 2).
TIRVENDAL_EXCEPTION(EUsageError, Exception);

class TFormDocument {
 public:
  // Reads the form file. The working directory becomes the form's folder, so relative database
  // file names in the form are found beside it.
  explicit TFormDocument(const std::filesystem::path& File);
  ~TFormDocument();

  TComponent* Root() const { return FRoot.get(); }
  const std::filesystem::path& File() const { return FFile; }

  // The components of a selection "A[,B...]", first is component 0; raises EUsageError for a
  // name that is no component of the form.
  std::vector<TComponent*> Select(const std::string& Selection) const;

  // The text of every published property of the form's components, by "Component.Property".
  std::map<std::string, std::string> Snapshot() const;

  // Writes the form back: to a temporary file beside it, then renamed over it, so a failure
  // never leaves a half-written form.
  void Save() const;

 private:
  std::filesystem::path FFile;
  std::unique_ptr<TComponent> FRoot;
};

// Splits "SEL.PROP" at its first dot: component names hold none, a property path may.
std::pair<std::string, std::string> SplitSelectionProperty(const std::string& Argument);

// The entries of After that differ from Before (or are new).
std::map<std::string, std::string> Changes(const std::map<std::string, std::string>& Before,
                                           const std::map<std::string, std::string>& After);
