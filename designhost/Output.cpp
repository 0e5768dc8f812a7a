// designhost's line formats, and its standard output.
#include "designhost/Output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "host/visualclx/forms/FormDocument.h"

std::string EscapeField(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Printable(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

TStandardOutput* TStandardOutput::FCurrent = nullptr;

TStandardOutput::TStandardOutput() : FFormer(std::cout.rdbuf()) {
  setp(FBuffer, FBuffer + sizeof FBuffer);
  std::cout.rdbuf(this);
  FCurrent = this;
}

TStandardOutput::~TStandardOutput() {
  WriteOut();
  std::cout.rdbuf(FFormer);
  FCurrent = nullptr;
}

bool TStandardOutput::WriteOut() {
  const char* at = pbase();
  while (at < pptr() && FError == 0) {
    ssize_t wrote = ::write(STDOUT_FILENO, at, static_cast<size_t>(pptr() - at));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      FError = wrote < 0 ? errno : EIO;
      break;
    }
    at += wrote;
  }
  // What could not be written is dropped: the command fails, and nothing later may pretend
  // that the output went on where it broke off.
  setp(FBuffer, FBuffer + sizeof FBuffer);
  return FError == 0;
}

TStandardOutput::int_type TStandardOutput::overflow(int_type Char) {
  if (!WriteOut()) return traits_type::eof();
  if (traits_type::eq_int_type(Char, traits_type::eof())) return traits_type::not_eof(Char);
  *pptr() = traits_type::to_char_type(Char);
  pbump(1);
  return Char;
}

std::streamsize TStandardOutput::xsputn(const char* Data, std::streamsize Size) {
  std::streamsize done = 0;
  while (done < Size) {
    if (pptr() == epptr() && !WriteOut()) return done;
    const std::streamsize room = std::min<std::streamsize>(epptr() - pptr(), Size - done);
    std::memcpy(pptr(), Data + done, static_cast<size_t>(room));
    pbump(static_cast<int>(room));
    done += room;
  }
  return done;
}

int TStandardOutput::sync() { return WriteOut() ? 0 : -1; }

void TStandardOutput::Check() {
  WriteOut();
  if (FError == 0 || FReported) return;
  FReported = true;
  if (FError == EPIPE) throw EOutputClosed("The reader of the output went away");
  throw EInOutError(std::string("Cannot write standard output: ") + std::strerror(FError));
}

void TStandardOutput::Flush() {
  if (FCurrent) FCurrent->Check();
}

bool SaveForm(TFormDocument& Document) {
  TStandardOutput::Flush();
  return Document.Save();
}
