// The demo: a small order database and a data module that uses it.
#pragma once

#include <filesystem>

// Writes DIR/demo.tvd (customers, orders and order items) and DIR/demo.xfm (a database, a
// customers table, a data source, and an orders table with the customers as master source).
// DIR is created when missing. Existing demo files are replaced only when Overwrite is set
// (otherwise EInOutError), and only regular files; a failure leaves no partly written file.
void WriteDemo(const std::filesystem::path& Dir, bool Overwrite);
