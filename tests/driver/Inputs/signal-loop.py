"""Interrupt the driver at many points of a compilation and check that it
ends by the signal, leaves no temporary file and no child behind.

usage: signal-loop.py DRIVER INPUT WORKDIR

The compiler proper and the assembler (stand-ins) sleep one second each,
so the delays below fall into start-up, the compiler's run, the change to
the assembler and the assembler's run; the signals take turns.  Each run
gets a marker in its environment: no process may carry it once the driver
has ended (the driver stops its children before it cleans up).
"""
import os
import signal
import subprocess
import sys
import time

driver, source, workdir = sys.argv[1:4]
tmpdir = os.path.join(workdir, "tmp")
os.makedirs(tmpdir, exist_ok=True)

delays = [0, 0.001, 0.003, 0.01, 0.03, 0.1, 0.3, 0.6, 0.9, 0.97, 0.99, 1.0,
          1.01, 1.02, 1.03, 1.05, 1.1, 1.3]
signals = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP]


def default_signals():
    # lit's workers ignore SIGINT, and an ignored signal stays ignored.
    for sig in signals:
        signal.signal(sig, signal.SIG_DFL)


def marked_processes(marker):
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if marker.encode() in f.read().split(b"\0"):
                    found.append(pid)
        except OSError:
            pass
    return found


failures = 0
for n, delay in enumerate(delays):
    sig = signals[n % len(signals)]
    # Unique to this run of this script (several may run at once).
    run_id = "%d.%d" % (os.getpid(), n)
    marker = "VRK_SIGNAL_LOOP_RUN=" + run_id
    env = dict(os.environ, TMPDIR=tmpdir, STANDIN_SLEEP_kfront="1",
               STANDIN_SLEEP_as="1")
    env["VRK_SIGNAL_LOOP_RUN"] = run_id
    driver_run = subprocess.Popen(
        [driver, "-c", source, "-o", os.path.join(workdir, "out.o")],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        preexec_fn=default_signals)
    time.sleep(delay)
    driver_run.send_signal(sig)
    status = driver_run.wait()
    left = sorted(os.listdir(tmpdir))
    lingering = marked_processes(marker)
    what = "%s after %.3f s" % (signal.Signals(sig).name, delay)
    if status != -sig:
        print("%s: driver status %d" % (what, status))
        failures += 1
    if left:
        print("%s: left %s" % (what, " ".join(left)))
        failures += 1
        for name in left:
            os.unlink(os.path.join(tmpdir, name))
    if lingering:
        print("%s: children still running: %s" % (what, " ".join(lingering)))
        failures += 1
        for pid in lingering:
            os.kill(int(pid), signal.SIGKILL)

print("%d runs, %d failures" % (len(delays), failures))
sys.exit(1 if failures else 0)
