#!/usr/bin/env python3
"""Runs m3d_soak (the editor's main window under random input) and judges the run.

The supervisor owns what the soaked process cannot judge from inside: the
time limit, the samples of its memory, and the verdict. A run fails on a
crash (a signal), a sanitizer report, a hang (the soak's watchdog ends the
process when its main thread stops processing events; a process that does
not end long after its time is killed here), or memory that grows past the
bound between the end of the warm-up and the end of the run. A failure prints
the seed, the reason, the last steps and how to replay them.

Standard library only. The soak runs in a fresh folder of its own (HOME, the
settings, every file it opens or saves), removed afterwards unless the run
failed (--keep-folder).
"""

import argparse
import os
import re
import secrets
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HANG_EXIT = 70  # the soak's watchdog ended the process (tools/soak/Watchdog.h)
STUCK_EXIT = 71  # the run could not close its dialogs and window at its end
SANITIZER_MARKS = (
    "ERROR: AddressSanitizer",
    "ERROR: LeakSanitizer",
    "runtime error:",
    "SUMMARY: UndefinedBehaviorSanitizer",
)
# LeakSanitizer's own failure to stop the threads for its check (its tracer
# takes a signal now and then in a process that has had many threads): no
# verdict on leaks, and no fault of the program.
LEAK_CHECK_FAILED = "LeakSanitizer has encountered a fatal error"
# The process start, the window's start-up and the closing of the run take
# this much beyond the soak's seconds before the supervisor gives up on it.
GRACE_SECONDS = 120
SAMPLE_SECONDS = 0.5
MEDIAN_SAMPLES = 10  # five seconds of samples
LAST_STEPS = 25


def rss_kib(pid):
    """The resident set of pid in KiB, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/status", encoding="ascii", errors="replace") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except (OSError, ValueError, IndexError):
        return None
    return None


def with_defaults(current, defaults):
    """A sanitizer option string: current's options, then defaults' that it lacks."""
    have = {item.split("=", 1)[0] for item in current.split(":") if item}
    extra = [item for item in defaults.split(":") if item.split("=", 1)[0] not in have]
    return ":".join([item for item in current.split(":") if item] + extra)


def first_step_seen(log_path):
    try:
        with open(log_path, encoding="utf-8", errors="replace") as log:
            return any(line[:1].isdigit() for line in log)
    except OSError:
        return False


def last_steps(log_path, count):
    try:
        with open(log_path, encoding="utf-8", errors="replace") as log:
            lines = [line.rstrip("\n") for line in log if line[:1].isdigit() or line.startswith("#   ")]
    except OSError:
        return []
    return lines[-count:]


def sanitizer_report(text):
    """The sanitizer's report in text (from its first mark), or ""."""
    starts = [text.find(mark) for mark in SANITIZER_MARKS if mark in text]
    if not starts:
        return ""
    begin = text.rfind("\n", 0, min(starts)) + 1
    return text[begin:begin + 12000]


def resolve_frames(text, program):
    """Stack lines of glibc's backtrace ("prog(+0x1f2e)[0x...]") with their function and line."""
    addr2line = shutil.which("addr2line")
    if not addr2line:
        return text
    out = []
    for line in text.splitlines():
        found = re.match(r"^(\S+)\(\+(0x[0-9a-f]+)\)\s*\[0x[0-9a-f]+\]$", line.strip())
        if found and os.path.basename(found.group(1)) == os.path.basename(program):
            try:
                where = subprocess.run([addr2line, "-f", "-C", "-i", "-e", program, found.group(2)],
                                       capture_output=True, text=True, timeout=20).stdout.split("\n")
                line += "   " + " at ".join(part for part in where[:2] if part)
            except (OSError, subprocess.SubprocessError):
                pass
        out.append(line)
    return "\n".join(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the m3d_soak program")
    parser.add_argument("--seed", type=int, help="the seed (default: M3D_SOAK_SEED, else a new one)")
    parser.add_argument("--seconds", type=float, default=60, help="how long to choose steps (default 60)")
    parser.add_argument("--log", help="the step list to write (default soak-SEED.log here)")
    parser.add_argument("--replay", help="a step list to play instead of choosing")
    parser.add_argument("--max-growth-mb", type=float, default=100,
                        help="the most the RSS may grow from the end of the warm-up to the end (default 100)")
    parser.add_argument("--warm-up", type=float,
                        help="seconds after the first step when the warm-up ends (default a third, at most 20)")
    parser.add_argument("--hang-seconds", type=int, default=10, help="the watchdog's limit (default 10)")
    parser.add_argument("--rss-series", help="write every RSS sample (seconds, MiB) to this file")
    parser.add_argument("--keep-folder", choices=("failure", "always", "never"), default="failure",
                        help="when to keep the soak's folder (default: after a failure)")
    args = parser.parse_args()

    seed = args.seed
    if seed is None:
        seed = int(os.environ["M3D_SOAK_SEED"]) if os.environ.get("M3D_SOAK_SEED") else secrets.randbits(31)
    if args.replay:
        log_path = os.path.abspath(args.log or args.replay + ".replayed")
        if os.path.abspath(args.replay) == log_path:
            parser.error("--log must not be the list being replayed")
    else:
        log_path = os.path.abspath(args.log or f"soak-{seed}.log")
    stderr_path = log_path + ".stderr"
    folder = tempfile.mkdtemp(prefix="m3d-soak-")
    what = f"replaying {args.replay}" if args.replay else f"seed {seed}, {args.seconds:g} s"
    print(f"soak: {what}, steps in {log_path}", flush=True)

    env = dict(os.environ)
    env["ASAN_OPTIONS"] = with_defaults(env.get("ASAN_OPTIONS", ""), "detect_leaks=1:handle_abort=1")
    env["UBSAN_OPTIONS"] = with_defaults(env.get("UBSAN_OPTIONS", ""), "print_stacktrace=1:halt_on_error=1")
    suppressions = os.path.join(here, "..", "..", "tests", "support", "lsan.supp")
    if os.path.exists(suppressions):
        env["LSAN_OPTIONS"] = with_defaults(env.get("LSAN_OPTIONS", ""),
                                            f"suppressions={suppressions}:print_suppressions=0")
    env.setdefault("QT_QPA_PLATFORM", "xcb")
    command = [args.program, "--folder", folder, "--log", log_path, "--seed", str(seed),
               "--seconds", str(args.seconds), "--hang-seconds", str(args.hang_seconds)]
    if args.replay:
        command += ["--replay", os.path.abspath(args.replay)]

    summary = {"line": "", "at": None}

    def read_output(stream):
        for line in stream:
            sys.stdout.write(line)
            sys.stdout.flush()
            if line.startswith("m3d_soak: ") and " steps (" in line:
                summary["line"] = line.strip()[len("m3d_soak: "):]
                summary["at"] = time.monotonic()

    started = time.monotonic()
    with open(stderr_path, "w", encoding="utf-8") as stderr_file:
        child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=stderr_file, text=True,
                                 errors="replace", env=env)
        reader = threading.Thread(target=read_output, args=(child.stdout,), daemon=True)
        reader.start()
        samples = []  # (seconds since start, KiB)
        first_step = None
        killed = False
        deadline = started + (args.seconds if not args.replay else 24 * 3600) + GRACE_SECONDS
        while child.poll() is None:
            now = time.monotonic()
            kib = rss_kib(child.pid)
            if kib is not None and summary["at"] is None:
                samples.append((now - started, kib))
            if first_step is None and first_step_seen(log_path):
                first_step = now - started
            if now > deadline:
                child.kill()
                killed = True
                break
            time.sleep(SAMPLE_SECONDS)
        code = child.wait()
        reader.join(timeout=10)
    elapsed = time.monotonic() - started

    with open(stderr_path, encoding="utf-8", errors="replace") as stderr_file:
        stderr_text = stderr_file.read()
    if args.rss_series:
        with open(args.rss_series, "w", encoding="ascii") as series:
            for at, kib in samples:
                series.write(f"{at:.1f} {kib / 1024:.1f}\n")

    # Memory: the RSS at the end of the warm-up against the RSS at the end of
    # the run (before its summary: after it the window goes and the leak
    # check runs), each the median of a few seconds of samples, since a
    # dialog open at the moment of one sample lifts it by tens of MiB.
    first_step = first_step if first_step is not None else 0.0
    warm_up = args.warm_up if args.warm_up is not None else min(20.0, args.seconds / 3)
    after_warm_up = [kib for at, kib in samples if at >= first_step + warm_up]
    warm = statistics.median(after_warm_up[:MEDIAN_SAMPLES]) if after_warm_up else None
    end = statistics.median(after_warm_up[-MEDIAN_SAMPLES:]) if after_warm_up else None
    peak = max((kib for _, kib in samples), default=None)
    memory = ""
    growth_mb = None
    if warm is not None and end is not None:
        growth_mb = (end - warm) / 1024
        memory = (f"RSS {warm / 1024:.0f} MiB after the warm-up -> {end / 1024:.0f} MiB at the end "
                  f"({growth_mb:+.0f} MiB, bound {args.max_growth_mb:g}), peak {peak / 1024:.0f} MiB")

    reasons = []
    notes = []
    report = sanitizer_report(stderr_text)
    # Only after a whole run: the summary is printed once the window is gone.
    leak_check_failed = code == 1 and bool(summary["line"]) and LEAK_CHECK_FAILED in stderr_text
    if killed:
        reasons.append(f"hang: the soak did not end {GRACE_SECONDS} s after its time and was killed")
    elif code == HANG_EXIT or "m3d_soak: HANG" in stderr_text:
        reasons.append(f"hang: the main thread processed no events for {args.hang_seconds} s")
    if report:
        reasons.append("sanitizer report")
    if code < 0 and not killed:
        reasons.append(f"crash: signal {-code}")
    elif code == STUCK_EXIT:
        reasons.append("the run could not close its dialogs and window at its end")
    elif code not in (0, HANG_EXIT) and not killed and not report:
        if leak_check_failed:
            notes.append("the leak check could not run: LeakSanitizer's tracer failed (a fault of the "
                         "sanitizer runtime); no verdict on leaks")
        else:
            reasons.append(f"exit code {code}")
    if code == 0 and not summary["line"]:
        reasons.append("the soak ended without its summary")
    if growth_mb is not None and growth_mb > args.max_growth_mb:
        reasons.append(f"memory grew by {growth_mb:.0f} MiB, more than {args.max_growth_mb:g} MiB")

    steps = summary["line"] or "no summary"
    if not reasons:
        print(f"soak: PASS ({what}): {steps}; {memory}; {elapsed:.0f} s in all", flush=True)
        for note in notes:
            print(f"soak: note: {note}", flush=True)
        if args.keep_folder != "always":
            shutil.rmtree(folder, ignore_errors=True)
        return 0

    print(f"soak: FAIL ({what}): {'; '.join(reasons)}", flush=True)
    print(f"soak: {steps}; {memory}")
    print(f"soak: the last steps ({log_path}):")
    for line in last_steps(log_path, LAST_STEPS):
        print("    " + line)
    excerpt = report or "\n".join(stderr_text.splitlines()[-80:])
    print(f"soak: from the soak's standard error ({stderr_path}):")
    print(resolve_frames(excerpt, args.program))
    if args.keep_folder == "never":
        shutil.rmtree(folder, ignore_errors=True)
    else:
        print(f"soak: the soak's folder is kept: {folder}")
    print(f"soak: replay: {sys.argv[0]} --program {args.program} --replay {log_path}")
    if not args.replay:
        print(f"soak: or choose again from the seed: {sys.argv[0]} --program {args.program} "
              f"--seed {seed} --seconds {args.seconds:g}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
