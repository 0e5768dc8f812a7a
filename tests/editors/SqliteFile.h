// The name the master-fields editor's tests use for making a database file; the test support's
// ExecSql does the work.
#pragma once

#include <string>

#include "tests/support/Process.h"

namespace sqlite_file {

// Creates (or extends) the database file Path by running Sql; throws on an error.
inline void Create(const std::string& Path, const std::string& Sql) { ExecSql(Path, Sql); }

}  // namespace sqlite_file
