// A database whose tables declare foreign keys the way real schemas do, and a form made by
// hand on it, shared by the tests of new, link, links --suggest and the design window's
// actions on keys.
#pragma once

namespace key_schema {

// staff refers forward to store, and store back to staff (a cycle); staff also refers to
// itself. orders has two keys to customer, one with an index over its column and more, one
// with none. The lines' key is composite and unindexed; staff's store key has only a
// descending index; two table names are no identifiers; order_total is a view.
constexpr const char* kSql = R"sql(
CREATE TABLE staff (
  staff_id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  store_id INTEGER NOT NULL REFERENCES store (store_id),
  boss_id INTEGER REFERENCES staff
);
CREATE INDEX staff_by_store ON staff (store_id DESC);
CREATE TABLE store (store_id INTEGER PRIMARY KEY, manager_id INTEGER REFERENCES staff (staff_id));
CREATE TABLE customer (Id INTEGER PRIMARY KEY, Name TEXT);
CREATE TABLE orders (
  order_no INTEGER PRIMARY KEY,
  bill_to INTEGER NOT NULL REFERENCES customer,
  ship_to INTEGER REFERENCES Customer (ID),
  placed DATE
);
CREATE INDEX orders_by_customer ON orders (bill_to, placed);
CREATE TABLE "order lines" (
  order_no INTEGER NOT NULL REFERENCES orders,
  line_no INTEGER NOT NULL,
  qty INTEGER,
  PRIMARY KEY (order_no, line_no)
);
CREATE TABLE "2024-archive" (
  archived_no INTEGER PRIMARY KEY,
  order_no INTEGER,
  line_no INTEGER,
  FOREIGN KEY (order_no, line_no) REFERENCES "order lines" (order_no, line_no)
);
CREATE VIEW order_total AS SELECT order_no, sum(qty) AS total FROM "order lines" GROUP BY order_no;
INSERT INTO customer VALUES (1, 'Ada'), (2, 'Bo');
INSERT INTO orders VALUES (10, 1, 1, '2026-01-02'), (11, 2, 1, '2026-02-03');
INSERT INTO "order lines" VALUES (10, 1, 5), (10, 2, 1), (11, 1, 7);
)sql";

// Staff is linked to Store by hand; Orders and Lines are not linked; no data source for Orders.
constexpr const char* kHandForm = R"(object Hand: TDataModule
  object Database1: TQVRDatabase
    DatabaseName = 'Shop'
    DatabaseFileName = 'data/shop.tvd'
  end
  object Store: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'store'
  end
  object StoreSource: TDataSource
    DataSet = Store
  end
  object Staff: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'staff'
    MasterSource = StoreSource
    IndexFieldNames = 'store_id'
    MasterFields = 'store_id'
  end
  object Customers: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'customer'
  end
  object Orders: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
  end
  object Lines: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'order lines'
  end
end
)";

}  // namespace key_schema
