#!/usr/bin/env python3
"""Whole-process cost of the installed driver, as ratios to an empty C++
program measured in the same run.

usage: bench/startup-table.py [--root build/test-root] [--runs 30] [--build build]

Each row runs one command line of the installed driver (with -### or
-plan=json, so no child runs) --runs times, interleaved with the baselines, and reports the
median wall time, the ratio to the empty C++ program built as the driver is
(shipped runtime) and to the one with the default shared runtime, the peak
resident memory, and, when valgrind is present, the instructions of one run
(callgrind) and, when strace is present, the access() calls of one run.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


SILENT = [(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
          (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)]


def run_once(argv, cwd):
    """Wall seconds of one run in CWD, from spawning to reaping: posix_spawn
    and waitpid, so that as little as possible of the launcher is timed
    (the subprocess module adds about half a millisecond, which would pull
    every ratio towards 1)."""
    if os.getcwd() != cwd:
        os.chdir(cwd)
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=SILENT)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        proc = subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              text=True)
        sys.exit("startup-table: %s failed (%d):\n%s" % (" ".join(argv[:4]), status,
                                                         proc.stderr[-2000:]))
    return elapsed


def peak_kib(argv, cwd):
    """Peak resident memory of one run, from /usr/bin/time (the child's own, not
    the memory of the process that started it)."""
    if not os.access("/usr/bin/time", os.X_OK):
        return None
    proc = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(proc.stderr.strip().splitlines()[-1])


def instructions(argv, cwd):
    """Instructions of one run, counted by callgrind on a copy of the
    program without debug information (which this valgrind cannot always
    read); the copy stands beside the original, so it finds the same tree."""
    if not shutil.which("valgrind") or not shutil.which("strip"):
        return None
    copy = os.path.join(os.path.dirname(argv[0]), ".stripped-" + os.path.basename(argv[0]))
    subprocess.run(["strip", "-o", copy, argv[0]], check=True)
    with tempfile.NamedTemporaryFile() as out:
        proc = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out.name,
                               copy] + argv[1:],
                              cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    os.unlink(copy)
    for line in proc.stderr.splitlines():
        if "Collected :" in line:
            return int(line.split(":")[-1])
    return None


def access_calls(argv, cwd):
    if not shutil.which("strace"):
        return None
    proc = subprocess.run(["strace", "-f", "-c", "-e", "trace=access,faccessat,faccessat2"] + argv,
                          cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    total = 0
    for line in proc.stderr.splitlines():
        fields = line.split()
        if fields and fields[-1] in ("access", "faccessat", "faccessat2"):
            total += int(fields[3]) if len(fields) >= 5 else int(fields[2])
    return total


def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--root", default=os.path.join(here, "build", "test-root"))
    parser.add_argument("--build", default=os.path.join(here, "build"))
    parser.add_argument("--runs", type=int, default=30)
    args = parser.parse_args()

    driver = os.path.join(args.root, "bin", "vrk++")
    empty_shipped = os.path.join(args.build, "bench", "empty-program-shipped")
    empty_dynamic = os.path.join(args.build, "bench", "empty-program-dynamic")
    for path in (driver, empty_shipped, empty_dynamic):
        if not os.access(path, os.X_OK):
            sys.exit("startup-table: %s missing (cmake --build build; ctest lays out the root)" % path)

    work = tempfile.mkdtemp()
    try:
        with open(os.path.join(work, "x.c"), "w") as f:
            f.write("int main (void) { return 0; }\n")
        inputs = []
        for i in range(1000):
            name = "in%d.c" % i
            open(os.path.join(work, name), "w").close()
            inputs.append(name)
        for count in (10000, 100000):
            with open(os.path.join(work, "defs%d.rsp" % count), "w") as f:
                f.write("\n".join("-DNAME%d=%d" % (i, i) for i in range(count)) + "\n")

        rows = [
            ("-### -c x.c -o x.o", [driver, "-###", "-c", "x.c", "-o", "x.o"], 1),
            ("-### x.c -o x (link)", [driver, "-###", "x.c", "-o", "x"], 1),
            ("-plan=json -c x.c -o x.o", [driver, "-plan=json", "-c", "x.c", "-o", "x.o"], 1),
            ("-plan=json x.c -o x", [driver, "-plan=json", "x.c", "-o", "x"], 1),
            ("1,000 inputs -### -c", [driver, "-###", "-c"] + inputs, 1000),
            ("@file of 10,000 -D", [driver, "-###", "-c", "x.c", "@defs10000.rsp"], 10000),
            ("@file of 100,000 -D", [driver, "-###", "-c", "x.c", "@defs100000.rsp"], 100000),
        ]
        baselines = [("empty (shipped)", [empty_shipped]), ("empty (dynamic)", [empty_dynamic])]

        times = {name: [] for name, _ in baselines}
        for name, _, _ in rows:
            times[name] = []
        for _ in range(args.runs):
            for name, argv in baselines:
                times[name].append(run_once(argv, work))
            for name, argv, _ in rows:
                if "100,000" in name and len(times[name]) >= 5:
                    continue  # the largest row is slow; five runs are enough
                times[name].append(run_once(argv, work))
        peak = {name: peak_kib(argv, work) for name, argv in baselines}
        peak.update({name: peak_kib(argv, work) for name, argv, _ in rows})

        median = {name: statistics.median(t) for name, t in times.items()}
        base_s, base_d = median["empty (shipped)"], median["empty (dynamic)"]
        print("startup-table: %d runs, medians; ratios to the empty C++ program" % args.runs)
        print("%-24s %10s %8s %8s %12s %10s %8s %9s" %
              ("case", "time", "/shipped", "/dynamic", "per unit", "instr.", "access", "peak KiB"))
        for name, argv in baselines:
            count = instructions(argv, work)
            print("%-24s %8.3fms %8.2f %8.2f %12s %10s %8s %9s" %
                  (name, median[name] * 1e3, median[name] / base_s, median[name] / base_d, "",
                   "%.2fM" % (count / 1e6) if count else "-", "", peak[name] or "-"))
        for name, argv, units in rows:
            count = instructions(argv, work) if units <= 10000 else None
            calls = access_calls(argv, work) if units == 1 else None
            per = "%.2f us" % (median[name] / units * 1e6) if units > 1 else ""
            print("%-24s %8.3fms %8.2f %8.2f %12s %10s %8s %9s" %
                  (name, median[name] * 1e3, median[name] / base_s, median[name] / base_d, per,
                   "%.2fM" % (count / 1e6) if count else "-",
                   calls if calls is not None else "-", peak[name] or "-"))
        link, compile_ = median["-### x.c -o x (link)"], median["-### -c x.c -o x.o"]
        big, small = median["@file of 100,000 -D"], median["@file of 10,000 -D"]
        print("link / compile: %.2f; 100,000 / 10,000 -D: %.2f" % (link / compile_, big / small))
        # The plan must cost at most 1.5 times the -### listing of the same line.
        plan_c = median["-plan=json -c x.c -o x.o"] / compile_
        plan_l = median["-plan=json x.c -o x"] / link
        print("plan / -###: compile %.2f, link %.2f (limit 1.50)" % (plan_c, plan_l))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
