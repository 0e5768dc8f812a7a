// The demo: a small order database and a data module that uses it.
#pragma once

#include <filesystem>

// Writes DIR/demo.tvd (customers, orders and order items) and DIR/demo.xfm (a database, a
// customers table, a data source, and an orders table with the customers as master source).
// DIR is created when missing; existing demo files are never overwritten (EInOutError), and a
// failure leaves no partly written file behind.
void WriteDemo(const std::filesystem::path& Dir);
