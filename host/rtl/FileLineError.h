// EFileLineError: an error at a line of a file (a form description, a script).
#pragma once

#include <string>
#include <utility>

#include "host/rtl/SysUtils.h"

// Message() reads "FILE:LINE: TEXT"; the parts stay apart for whoever prints the place first
// ("FILE:LINE: error: CLASS: TEXT", as editors and build logs expect).
class EFileLineError : public Exception {
 public:
  EFileLineError(std::string FileName, int Line, std::string Text)
      : Exception(FileName + ":" + std::to_string(Line) + ": " + Text),
        FFileName(std::move(FileName)),
        FLine(Line),
        FText(std::move(Text)) {}
  const char* ClassName() const override { return "EFileLineError"; }
  const std::string& FileName() const { return FFileName; }
  int Line() const { return FLine; }
  const std::string& Text() const { return FText; }

 private:
  std::string FFileName;
  int FLine;
  std::string FText;
};
