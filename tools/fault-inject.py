#!/usr/bin/env python3
"""Fails each system call of designhost's main roads at each of its calls, one run at a time,
and tabulates what the command made of it.

For every road (values, edit through the Field Link Designer, check, links, set) the command
first runs untouched under strace, which counts its system calls. Then, for every call name
counted and every k up to its count, a fresh copy of the project is made and the command runs
again with strace failing the k-th call of that name (`-e inject=NAME:error=E:when=k`). A run
is clean when the command either
  - succeeded with the output and the files of the untouched run (the failure was survived), or
  - failed (exit 1) saying why ("error:" or, from links, "warning:" on stderr; check's findings
    on stdout) with every file of the project as it was;
it is wrong otherwise: a success with other output or other files, a failure that changed a
file, a crash (a signal), a hang (no end within the time limit), any other exit status.
A temporary file of a replacement left behind because the very unlink that removes it was
failed is no change of the project's (the next save removes it): it is counted apart.

A call of the dynamic loader that fails stops the program before it starts (exit 127, counted
as "not started"). Memory calls (mmap, brk, ...) and calls the process cannot go on without (exit, signals)
are not failed.

Usage: fault-inject.py BUILD_DIR [ROAD...]      (needs strace: tools/install-deps.sh fault-injection)
"""
import collections
import concurrent.futures
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
ONLY = set(sys.argv[2:])
DESIGNHOST = os.path.join(BUILD, "bin", "designhost")
STRACE = shutil.which("strace")
LIMIT = 30  # seconds: a run that takes longer hangs

# Calls that are never failed: memory, threads, signals, the end of the process, clocks.
SKIP = {
    "mmap", "munmap", "mprotect", "brk", "mremap", "madvise", "arch_prctl", "set_tid_address",
    "set_robust_list", "rseq", "prlimit64", "futex", "rt_sigaction", "rt_sigprocmask", "rt_sigreturn",
    "exit_group", "exit", "execve", "clock_gettime", "clock_nanosleep", "nanosleep", "getpid", "gettid",
    "getuid", "geteuid", "getgid", "getegid", "getrandom", "sched_getaffinity", "sched_yield",
}
# The error each call fails with: the one a full or failing disk gives.
ERRORS = collections.defaultdict(lambda: "EIO", {"write": "ENOSPC", "pwrite64": "ENOSPC", "fsync": "EIO"})

LINK_SCRIPT = "select IndexList ByCustNo\nselect DetailList CustNo\nselect MasterList CustNo\nclick AddButton\nkey enter\n"

ROADS = {
    "values": ["values", "demo/demo.xfm", "Orders.IndexName"],
    "edit": ["edit", "demo/demo.xfm", "Orders.MasterFields", "--script", "link.txt"],
    "check": ["check", "demo"],
    "links": ["links", "--json", "demo"],
    "set": ["set", "demo/demo.xfm", "Orders.IndexName", "ByCustomer"],
}


def snapshot(folder):
    """Every file under folder (but the replacement's temporaries) with its bytes' hash and time."""
    files, leftovers = {}, []
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            if ".saving-" in name:
                leftovers.append(relative)
                continue
            info = os.lstat(path)
            with open(path, "rb") as f:
                files[relative] = (hashlib.sha256(f.read()).hexdigest(), info.st_mtime_ns)
    return files, leftovers


def contents(files):
    return {path: digest for path, (digest, _) in files.items()}


def run(template, args, inject=None, count=False):
    work = tempfile.mkdtemp(prefix="fault-")
    try:
        project = os.path.join(work, "p")
        shutil.copytree(template, project, symlinks=True)
        before, _ = snapshot(project)
        command = [STRACE, "-f", "-qq", "-o", os.path.join(work, "trace")]
        # A call is failed only where it is traced: the trace holds that one name.
        command += ["-e", "trace=all"] if count else ["-e", "trace=" + inject.split(":")[0], "-e", "inject=" + inject]
        try:
            p = subprocess.run(command + [DESIGNHOST] + args, cwd=project, capture_output=True, timeout=LIMIT)
            status = p.returncode
            out, err = p.stdout, p.stderr.decode(errors="replace")
        except subprocess.TimeoutExpired:
            status, out, err = "hang", b"", ""
        after, leftovers = snapshot(project)
        trace = open(os.path.join(work, "trace"), errors="replace").read() if count else ""
        return status, out, err, before, after, leftovers, trace
    finally:
        shutil.rmtree(work, ignore_errors=True)


def calls(trace):
    """The calls of the untouched run by name, with how many there were of each."""
    total = collections.Counter()
    for line in trace.splitlines():
        m = re.match(r"(?:\d+\s+)?([a-z_0-9]+)\(", line)
        if m:
            total[m.group(1)] += 1
    return total


def judge(base, result):
    status, out, err, before, after, leftovers, _ = result
    if status == "hang":
        return "hang"
    if status < 0 or status >= 128:
        return "crash"
    if status == 0:
        if out == base[1] and contents(after) == contents(base[4]) and not leftovers:
            return "clean"
        return "wrong"
    if status == 127 and "error while loading shared libraries" in err:
        return "not started"
    # check reports what it could not read as findings, on stdout; links a link it could not
    # read as a warning.
    said = "error:" in err or "warning:" in err or b"error:" in out
    if status == 1 and said and after == before:
        return "clean (leftover)" if leftovers else "clean"
    return "wrong"


def main():
    if not STRACE:
        sys.exit("fault-inject.py needs strace: tools/install-deps.sh fault-injection")
    template = tempfile.mkdtemp(prefix="fault-template-")
    subprocess.run([DESIGNHOST, "new-demo", os.path.join(template, "demo")], check=True, capture_output=True)
    with open(os.path.join(template, "link.txt"), "w") as f:
        f.write(LINK_SCRIPT)
    table = []
    wrongs = []
    jobs = int(os.environ.get("JOBS", "2"))
    for road, args in ROADS.items():
        if ONLY and road not in ONLY:
            continue
        base = run(template, args, count=True)
        if base[0] != 0:
            sys.exit(f"{road}: the untouched run failed: {base[2]}")
        total = calls(base[6])
        trials = [(name, k) for name in sorted(total) if name not in SKIP for k in range(1, total[name] + 1)]
        tally = collections.Counter()
        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            futures = {pool.submit(run, template, args, f"{name}:error={ERRORS[name]}:when={k}"): (name, k)
                       for name, k in trials}
            for future in concurrent.futures.as_completed(futures):
                name, k = futures[future]
                verdict = judge(base, future.result())
                tally[verdict] += 1
                if verdict in ("wrong", "crash", "hang"):
                    r = future.result()
                    wrongs.append(f"{road} {name}#{k} {ERRORS[name]}: {verdict}, exit {r[0]}, {r[2].strip()[:200]}")
        table.append((road, len(trials), tally))
    shutil.rmtree(template, ignore_errors=True)

    print(f"{'road':8} {'tried':>6} {'clean':>6} {'leftover':>8} {'unstarted':>9} {'wrong':>6} {'crash':>6} {'hang':>5}")
    for road, tried, tally in table:
        print(f"{road:8} {tried:6} {tally['clean']:6} {tally['clean (leftover)']:8} {tally['not started']:9} "
              f"{tally['wrong']:6} {tally['crash']:6} {tally['hang']:5}")
    for line in wrongs:
        print(line)
    sys.exit(1 if wrongs else 0)


if __name__ == "__main__":
    main()
