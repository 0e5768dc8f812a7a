// The data-access layer's error: EDatabaseError and DatabaseError, which names the component.
#pragma once

#include <string>
#include <utility>

#include "host/rtl/Forward.h"
#include "host/rtl/SysUtils.h"

class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(std::string Message, int ErrorCode = 0)
      : Exception(std::move(Message)), FErrorCode(ErrorCode) {}
  const char* ClassName() const override { return "EDatabaseError"; }
  // SQLite's extended result code (SQLITE_BUSY_SNAPSHOT, SQLITE_CORRUPT_INDEX, ...) when SQLite
  // reported the error; 0 for the data-access layer's own errors.
  int ErrorCode() const { return FErrorCode; }

 private:
  int FErrorCode;
};

// Raises EDatabaseError with Message, prefixed by the component's name when it has one:
// "Orders: Missing MasterSource or DataSource"; ErrorCode is SQLite's, when SQLite failed.
[[noreturn]] void DatabaseError(const std::string& Message, TComponent* Component = nullptr, int ErrorCode = 0);
