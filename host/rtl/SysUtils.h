// SysUtils: the exception hierarchy, Format and the text helpers the platform offers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// Root of every error the platform, the components and the packages raise.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  // The platform's class name of the error ("EDatabaseError"), shown as "error: CLASS: MESSAGE".
  virtual const char* ClassName() const { return "Exception"; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// A class name cannot stand in parentheses, so this macro is exempt from that check.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define TIRVENDAL_EXCEPTION(Name, Base)                      \
  class Name : public Base {                                 \
   public:                                                   \
    using Base::Base;                                        \
    const char* ClassName() const override { return #Name; } \
  }
// NOLINTEND(bugprone-macro-parentheses)

TIRVENDAL_EXCEPTION(EAbstractError, Exception);
TIRVENDAL_EXCEPTION(EInvalidCast, Exception);
TIRVENDAL_EXCEPTION(EConvertError, Exception);
TIRVENDAL_EXCEPTION(EListError, Exception);
TIRVENDAL_EXCEPTION(EStringListError, EListError);
TIRVENDAL_EXCEPTION(EComponentError, Exception);
TIRVENDAL_EXCEPTION(EPropertyError, Exception);
TIRVENDAL_EXCEPTION(EClassNotFound, Exception);
TIRVENDAL_EXCEPTION(EInvalidOperation, Exception);
TIRVENDAL_EXCEPTION(EInOutError, Exception);
TIRVENDAL_EXCEPTION(EPackageError, Exception);

// One argument of Format: text or an integer.
class TVarRec {
 public:
  TVarRec(const std::string& s) : FValue(s) {}
  TVarRec(std::string_view s) : FValue(std::string(s)) {}
  TVarRec(const char* s) : FValue(std::string(s ? s : "")) {}
  TVarRec(int v) : FValue(static_cast<int64_t>(v)) {}
  TVarRec(long v) : FValue(static_cast<int64_t>(v)) {}
  TVarRec(long long v) : FValue(static_cast<int64_t>(v)) {}
  TVarRec(unsigned v) : FValue(static_cast<int64_t>(v)) {}
  TVarRec(unsigned long v) : FValue(static_cast<int64_t>(v)) {}

  const std::string* AsString() const { return std::get_if<std::string>(&FValue); }
  const int64_t* AsInteger() const { return std::get_if<int64_t>(&FValue); }

 private:
  std::variant<std::string, int64_t> FValue;
};

// Formats like the platform's Format: %s, %d, %x, %u, %% with optional "-" and width.
// A directive that does not fit its argument, or a missing argument, raises EConvertError.
std::string Format(std::string_view format, std::initializer_list<TVarRec> args);

// Case-insensitive comparison of the platform's default string lists (ASCII letters fold).
int AnsiCompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
std::string Trim(std::string_view s);
// A name as a message quotes it: 'Name', as it is.
inline std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }
std::string IntToStr(int64_t value);
// Raises EConvertError "'x' is not a valid integer value".
int64_t StrToInt(std::string_view s);

// Wide strings are UTF-16.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// Appends the UTF-8 bytes of one code point; the caller has checked that it is one.
void AppendUtf8(std::string& out, char32_t code);

// Raises EAbstractError, as calling an operation that a class does not supply does.
[[noreturn]] void AbstractError();
