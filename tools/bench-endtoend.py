#!/usr/bin/env python3
"""Whole commands of designhost beside the sqlite3 shell doing the same reading, or beside
the same command on an empty copy of the schema.

Makes its databases and forms in a temporary folder, runs each pair of commands in turn
(A B A B ...), takes the CPU time (user + system) of every finished process from the operating
system, and prints each figure's median ratio beside its goal. Peak memory is taken in runs of
their own under GNU time: a process made by this script would start from the script's own
peak, which the kernel carries over into its child.
Usage: bench-endtoend.py BUILD_DIR [RUNS]
"""
import os
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 9
DESIGNHOST = os.path.join(BUILD, "bin", "designhost")
SHELL = shutil.which("sqlite3")
TIME = "/usr/bin/time"


def make_database(path, statements):
    db = sqlite3.connect(path)
    db.execute("PRAGMA synchronous=OFF")
    db.executescript(";\n".join(statements) + ";")
    db.commit()
    db.close()


def write_form(path, database, master, detail, index_name=""):
    extra = f"    IndexName = '{index_name}'\n" if index_name else ""
    with open(path, "w") as form:
        form.write(
            "object Bench: TDataModule\n"
            "  object Database1: TQVRDatabase\n"
            "    DatabaseName = 'Bench'\n"
            f"    DatabaseFileName = '{os.path.basename(database)}'\n"
            "  end\n"
            "  object Master: TQVRTable\n"
            "    DatabaseName = 'Bench'\n"
            f"    TableName = '{master}'\n"
            "  end\n"
            "  object MasterSource: TDataSource\n"
            "    DataSet = Master\n"
            "  end\n"
            "  object Detail: TQVRTable\n"
            "    DatabaseName = 'Bench'\n"
            f"    TableName = '{detail}'\n"
            "    MasterSource = MasterSource\n"
            f"{extra}"
            "  end\n"
            "end\n")


def write_tables_project(folder, count):
    """A database of COUNT tables, each with one index, and a form that names every one of them."""
    database = os.path.join(folder, f"tables{count}.tvd")
    make_database(database, ["BEGIN"] + [f"CREATE TABLE t{i}(id INTEGER PRIMARY KEY, name TEXT, added DATE)" for i in range(count)] +
                  [f"CREATE INDEX t{i}ByName ON t{i}(name)" for i in range(count)] + ["COMMIT"])
    form = os.path.join(folder, f"tables{count}.xfm")
    with open(form, "w") as out:
        out.write("object Bench: TDataModule\n  object Database1: TQVRDatabase\n    DatabaseName = 'Bench'\n"
                  f"    DatabaseFileName = '{os.path.basename(database)}'\n  end\n")
        for i in range(count):
            out.write(f"  object T{i}: TQVRTable\n    DatabaseName = 'Bench'\n    TableName = 't{i}'\n"
                      f"    IndexName = 't{i}ByName'\n  end\n")
        out.write("end\n")
    return database, form


# The structure check reads, set-wise: every table's columns, every index's key columns and the
# SQL of the catalogue.
STRUCTURE_SETWISE = ("SELECT m.name, x.* FROM sqlite_master m, pragma_table_xinfo(m.name) x WHERE m.type = 'table'; "
                     "SELECT m.name, x.* FROM sqlite_master m, pragma_index_xinfo(m.name) x WHERE m.type = 'index'; "
                     "SELECT sql FROM sqlite_master")


def run_once(command):
    """CPU seconds of one run; its output is thrown away."""
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=null, stderr=null)
        _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"failed ({status}): {' '.join(command)}")
    return usage.ru_utime + usage.ru_stime


def peak_once(command, folder):
    """Peak memory (KiB) of one run, as GNU time reports it."""
    report = os.path.join(folder, "peak.txt")
    run_once([TIME, "-f", "%M", "-o", report] + command)
    with open(report) as text:
        return int(text.read().split()[-1])


def compare(a, b, folder):
    """Median CPU of A and B, the median of the pairwise CPU ratios, and the median peaks."""
    run_once(a)
    run_once(b)
    cpu_a, cpu_b, ratios, peak_a, peak_b = [], [], [], [], []
    for _ in range(RUNS):
        ta = run_once(a)
        tb = run_once(b)
        cpu_a.append(ta)
        cpu_b.append(tb)
        ratios.append(ta / max(tb, 1e-6))
    for _ in range(3):
        peak_a.append(peak_once(a, folder))
        peak_b.append(peak_once(b, folder))
    return (statistics.median(cpu_a), statistics.median(cpu_b), statistics.median(ratios),
            statistics.median(peak_a), statistics.median(peak_b))


def main():
    if not SHELL or not os.access(TIME, os.X_OK):
        raise SystemExit("the sqlite3 shell or GNU time is missing: run tools/install-deps.sh")
    folder = tempfile.mkdtemp(prefix="tirvendal-endtoend-")
    try:
        # 500 indexes on a table of 50 columns.
        indexes = os.path.join(folder, "indexes.tvd")
        statements = ["CREATE TABLE m(k INTEGER PRIMARY KEY)",
                      "CREATE TABLE wide(id INTEGER PRIMARY KEY, " +
                      ", ".join(f"c{c} INTEGER" for c in range(50)) + ")"]
        for i in range(500):
            cols = f"c{i % 50}" + (f", c{(i + 7) % 50}" if i % 3 == 0 else "") + (" DESC" if i % 10 == 1 else "")
            statements.append(f"CREATE INDEX i{i} ON wide({cols})")
        make_database(indexes, statements)
        indexes_form = os.path.join(folder, "indexes.xfm")
        write_form(indexes_form, indexes, "m", "wide")

        # A detail of 1,000,000 rows and the same schema without rows.
        schema = ["CREATE TABLE m(k INTEGER PRIMARY KEY, name TEXT)",
                  "CREATE TABLE d(id INTEGER PRIMARY KEY, k INTEGER, a TEXT, b REAL, c TEXT)",
                  "CREATE INDEX byk ON d(k)", "CREATE INDEX byka ON d(k, a)", "CREATE INDEX byc ON d(c)"]
        rows = os.path.join(folder, "rows.tvd")
        make_database(rows, schema + [
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
            "INSERT INTO d SELECT i, i % 1000, 'name ' || i, i * 0.5, printf('%08d', (i * 7919) % 1000000) FROM n",
            "INSERT INTO m SELECT DISTINCT k, 'm' || k FROM d"])
        empty = os.path.join(folder, "empty.tvd")
        make_database(empty, schema)
        rows_form = os.path.join(folder, "rows.xfm")
        empty_form = os.path.join(folder, "empty.xfm")
        write_form(rows_form, rows, "m", "d", "byka")
        write_form(empty_form, empty, "m", "d", "byka")

        # 2,000 fields in the detail, its index over all of them, and 2,000 in the master.
        wide = os.path.join(folder, "wide.tvd")
        make_database(wide, [
            "CREATE TABLE d(" + ", ".join(f"f{i} INTEGER" for i in range(2000)) + ")",
            "CREATE TABLE m(" + ", ".join(f"k{i} INTEGER" for i in range(2000)) + ")",
            "CREATE INDEX widest ON d(" + ", ".join(f"f{i}" for i in range(2000)) + ")",
            "CREATE INDEX first ON d(f0)"])
        wide_form = os.path.join(folder, "wide.xfm")
        write_form(wide_form, wide, "m", "d", "widest")
        # The same tables on 10 fields, for the design window beside the wide one.
        narrow = os.path.join(folder, "narrow.tvd")
        make_database(narrow, [
            "CREATE TABLE d(" + ", ".join(f"f{i} INTEGER" for i in range(10)) + ")",
            "CREATE TABLE m(" + ", ".join(f"k{i} INTEGER" for i in range(10)) + ")",
            "CREATE INDEX widest ON d(" + ", ".join(f"f{i}" for i in range(10)) + ")",
            "CREATE INDEX first ON d(f0)"])
        narrow_form = os.path.join(folder, "narrow.xfm")
        write_form(narrow_form, narrow, "m", "d", "widest")
        picture = os.path.join(folder, "window.png")
        window = ["--select", "Detail", "--expand", "FieldDefs,IndexDefs", "--screenshot", picture]

        small_tables, small_tables_form = write_tables_project(folder, 1000)
        many_tables, many_tables_form = write_tables_project(folder, 10000)

        cancel = os.path.join(folder, "cancel.txt")
        with open(cancel, "w") as script:
            script.write("click Button2\n")

        dh = [DESIGNHOST]
        edit = ["edit", "--dry-run", "--script", cancel]
        figures = [
            ("values IndexName, 500 indexes, vs sqlite3 shell",
             dh + ["values", indexes_form, "Detail.IndexName"],
             [SHELL, indexes, "SELECT name FROM pragma_table_info('wide'); "
              "SELECT m.name, ii.name, ii.desc FROM sqlite_master m, pragma_index_xinfo(m.name) ii "
              "WHERE m.type = 'index' AND m.tbl_name = 'wide' AND ii.key ORDER BY m.rowid, ii.seqno"],
             1.5, 2.0),
            ("edit-Cancel, 2,000 fields, vs sqlite3 shell",
             dh + edit + [wide_form, "Detail.MasterFields"],
             [SHELL, wide, "SELECT * FROM pragma_table_info('d'); SELECT * FROM pragma_table_info('m'); "
              "SELECT * FROM sqlite_master m, pragma_index_xinfo(m.name) WHERE m.tbl_name = 'd'"],
             2.0, None),
            ("values IndexName, 1,000,000-row detail vs empty",
             dh + ["values", rows_form, "Detail.IndexName"], dh + ["values", empty_form, "Detail.IndexName"],
             1.2, None),
            ("edit-Cancel, 1,000,000-row detail vs empty",
             dh + edit + [rows_form, "Detail.MasterFields"], dh + edit + [empty_form, "Detail.MasterFields"],
             1.2, None),
            ("palette vs sqlite3 :memory: 'select 1'", dh + ["palette"], [SHELL, ":memory:", "select 1"], 3.0, None),
            ("check, 10,000 tables, vs sqlite3 shell set-wise",
             dh + ["check", many_tables_form], [SHELL, many_tables, STRUCTURE_SETWISE], 3.0, None),
            ("check, 10,000 tables vs 1,000", dh + ["check", many_tables_form], dh + ["check", small_tables_form],
             12.0, None),
            ("design window, 2,000 fields expanded vs 10", dh + ["gui", wide_form] + window,
             dh + ["gui", narrow_form] + window, 1.25, None),
        ]
        print(f"{RUNS} runs each, A and B in turn; CPU = user + system; ratios are medians of the pairs;")
        print("peaks are medians of 3 runs under GNU time\n")
        print(f"{'figure':52} {'A ms':>8} {'B ms':>8} {'ratio':>7} {'goal':>6}   {'A MiB':>6} {'B MiB':>6} "
              f"{'peak A/B':>9} {'goal':>5}")
        failed = False
        for name, a, b, goal, peak_goal in figures:
            cpu_a, cpu_b, ratio, peak_a, peak_b = compare(a, b, folder)
            peak = peak_a / max(peak_b, 1)
            met = ratio <= goal and (peak_goal is None or peak <= peak_goal)
            failed = failed or not met
            peak_text = f"{peak_a / 1024:6.1f} {peak_b / 1024:6.1f} {peak:9.2f} "
            peak_text += f"{peak_goal:5.1f}" if peak_goal else f"{'':5}"
            print(f"{name:52} {cpu_a * 1000:8.1f} {cpu_b * 1000:8.1f} {ratio:7.2f} {goal:6.1f}   {peak_text}"
                  f"   {'met' if met else 'MISSED'}")
        return 1 if failed else 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
