// How designhost prints: the fields of its line formats, text for the terminal, and standard
// output held so that a write that fails is never taken for success.
#pragma once

#include <streambuf>
#include <string>
#include <string_view>

#include "host/rtl/SysUtils.h"

class TFormDocument;

// A value as a field of a line format: a backslash, a tab and a line feed inside it become
// "\\", "\t" and "\n", so one record stays one line and TAB still splits the fields.
std::string EscapeField(std::string_view Text);

// Text for the terminal: control characters (from a form, a script, a file name) as \xNN.
std::string Printable(std::string_view Text);

// Standard output closed by its reader (a pipe whose end went away): the command ends quietly.
TIRVENDAL_EXCEPTION(EOutputClosed, Exception);

// While it lives, std::cout writes into a buffer of its own that goes to the standard output
// with the system's write, keeping the reason of the first write that failed; at the end what
// is left is written, errors ignored.
class TStandardOutput : public std::streambuf {
 public:
  TStandardOutput();
  ~TStandardOutput() override;
  TStandardOutput(const TStandardOutput&) = delete;
  TStandardOutput& operator=(const TStandardOutput&) = delete;

  // Writes what is buffered. Raises EInOutError with the system's reason when any write failed
  // (EOutputClosed when the reader went away), once: a failure is reported one time.
  static void Flush();

 protected:
  int_type overflow(int_type Char) override;
  std::streamsize xsputn(const char* Data, std::streamsize Size) override;
  int sync() override;

 private:
  bool WriteOut();
  void Check();

  static TStandardOutput* FCurrent;
  std::streambuf* FFormer;
  char FBuffer[65536];
  int FError = 0;  // of the first write that failed
  bool FReported = false;
};

// Saves the form a command changed, once everything the command printed is written: a command
// whose output is lost saves nothing. True when the file was written.
bool SaveForm(TFormDocument& Document);
