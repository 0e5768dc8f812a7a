-- The second demo database: a lending library of twelve tables whose foreign keys have the
-- traits of real schemas (a cycle, forward references, composite keys, two keys to one parent,
-- keys with and without an index, a self reference, names that are no identifiers, a view).
PRAGMA foreign_keys = ON;

CREATE TABLE branch (
  branch_id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  head_librarian INTEGER REFERENCES staff (staff_id)
);
CREATE TABLE staff (
  staff_id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  branch_id INTEGER NOT NULL REFERENCES branch,
  mentor_id INTEGER REFERENCES staff
);
CREATE INDEX staff_by_branch ON staff (branch_id DESC);
CREATE TABLE publisher (publisher_id INTEGER PRIMARY KEY, name TEXT NOT NULL, country TEXT);
CREATE TABLE book (
  isbn TEXT PRIMARY KEY,
  title TEXT NOT NULL,
  publisher_id INTEGER REFERENCES publisher,
  published DATE
);
CREATE INDEX book_by_publisher ON book (publisher_id, published);
CREATE TABLE author (author_id INTEGER PRIMARY KEY, name TEXT NOT NULL, born DATE);
CREATE TABLE "book author" (
  isbn TEXT NOT NULL REFERENCES book,
  author_id INTEGER NOT NULL REFERENCES author,
  position INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY (isbn, author_id)
);
CREATE TABLE copy (
  branch_id INTEGER NOT NULL REFERENCES branch,
  copy_no INTEGER NOT NULL,
  isbn TEXT NOT NULL REFERENCES book,
  shelf TEXT,
  PRIMARY KEY (branch_id, copy_no)
);
CREATE INDEX copy_by_book ON copy (isbn);
CREATE TABLE member (
  member_id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  home_branch INTEGER REFERENCES branch (branch_id),
  referred_by INTEGER REFERENCES member
);
CREATE TABLE loan (
  loan_id INTEGER PRIMARY KEY,
  member_id INTEGER NOT NULL REFERENCES member,
  branch_id INTEGER NOT NULL,
  copy_no INTEGER NOT NULL,
  issued_by INTEGER REFERENCES staff,
  returned_to INTEGER REFERENCES staff,
  due DATE NOT NULL,
  FOREIGN KEY (branch_id, copy_no) REFERENCES copy (branch_id, copy_no)
);
CREATE INDEX loan_by_member ON loan (member_id, due);
CREATE TABLE fine (
  loan_id INTEGER NOT NULL REFERENCES loan,
  seq INTEGER NOT NULL,
  amount NUMERIC(8, 2) NOT NULL,
  PRIMARY KEY (loan_id, seq)
);
CREATE TABLE "hold-queue" (
  isbn TEXT NOT NULL REFERENCES book,
  member_id INTEGER NOT NULL REFERENCES member,
  placed DATETIME NOT NULL,
  PRIMARY KEY (isbn, member_id)
);
CREATE TABLE "2026 events" (
  event_id INTEGER PRIMARY KEY,
  branch_id INTEGER REFERENCES branch,
  speaker INTEGER REFERENCES author,
  held DATE
);
CREATE VIEW overdue AS SELECT loan_id, member_id, due FROM loan WHERE due < date('now');

INSERT INTO branch VALUES (1, 'Central', NULL), (2, 'Harbour', NULL);
INSERT INTO staff VALUES (1, 'Ines', 1, NULL), (2, 'Tomas', 1, 1), (3, 'Wen', 2, 1);
UPDATE branch SET head_librarian = branch_id;
INSERT INTO publisher VALUES (1, 'Northwind Press', 'NO'), (2, 'Lagoon Books', 'PT');
INSERT INTO book VALUES ('978-0-01', 'Tides', 1, '2019-04-01'), ('978-0-02', 'Salt Roads', 2, '2021-09-15');
INSERT INTO author VALUES (1, 'A. Varga', '1970-02-11'), (2, 'L. Okafor', '1983-07-30');
INSERT INTO "book author" VALUES ('978-0-01', 1, 1), ('978-0-02', 2, 1), ('978-0-02', 1, 2);
INSERT INTO copy VALUES (1, 1, '978-0-01', 'A1'), (1, 2, '978-0-02', 'B4'), (2, 1, '978-0-01', 'C2');
INSERT INTO member VALUES (1, 'Rosa', 1, NULL), (2, 'Karl', 2, 1);
INSERT INTO loan VALUES (1, 1, 1, 1, 2, NULL, '2026-12-01'), (2, 2, 2, 1, 3, 3, '2026-11-20');
INSERT INTO fine VALUES (2, 1, 1.50);
INSERT INTO "hold-queue" VALUES ('978-0-02', 2, '2026-12-01 10:00');
INSERT INTO "2026 events" VALUES (1, 1, 2, '2026-12-12');
