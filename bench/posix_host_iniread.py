#!/usr/bin/env python3
"""The whole POSIX host process for one IniRead from a 1.1 MB INI file,
beside `crudini --get` reading the same value from the same file.

Each program runs as a fresh child process, many times in turn; the wall
time from start to exit and the child's peak resident set (getrusage of the
child, ru_maxrss) are taken per run. Printed: the median wall time, the
largest peak RSS, and the ratio of each against crudini, then one PERF line
per figure for scripts/perf-report.sh.

    bench/posix_host_iniread.py --velkora build/release/src/hosts/posix/velkora [--runs N]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FILE_SIZE = 1100 * 1024
TIME = "/usr/bin/time"  # GNU time, Debian package "time"


def make_file(path):
    """Sections of a dozen keys with comments and blank lines, the value
    asked for in the last section, as the engine benchmark's file."""
    parts = ["; generated for the benchmark\r\n"]
    size = len(parts[0])
    section = 0
    while size < FILE_SIZE - 200:
        chunk = [f"[Section{section}]\r\n"]
        section += 1
        for key in range(12):
            chunk.append(f'Key{key} = "value number {key * section}"\r\n')
            if key % 5 == 4:
                chunk.append("; a comment line\r\n\r\n")
        text = "".join(chunk)
        parts.append(text)
        size += len(text)
    last = f"Section{section}"
    parts.append(f"[{last}]\r\nTarget=found it\r\n")
    with open(path, "w", newline="") as f:
        f.write("".join(parts))
    return last


def run_once(argv, stdin_bytes, env):
    """One run: (wall seconds, CPU seconds, peak RSS in KiB, stdout bytes).

    The peak RSS comes from GNU time, which forks a small process of its own
    for the program: a child forked from this Python process would carry
    Python's resident set into its peak (Linux keeps the high-water mark
    across exec). Wall and CPU time are taken here; time's own share of
    them is a fraction of a millisecond."""
    read_end, write_end = os.pipe()
    out = tempfile.TemporaryFile()
    with tempfile.NamedTemporaryFile("r", prefix="rss-") as rss:
        start = time.perf_counter()
        child = subprocess.Popen([TIME, "-f", "%M", "-o", rss.name] + argv, stdin=read_end,
                                 stdout=out, stderr=subprocess.DEVNULL, env=env)
        os.close(read_end)
        os.write(write_end, stdin_bytes)
        os.close(write_end)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        peak_kib = int(rss.read().split()[-1])
    child.returncode = os.waitstatus_to_exitcode(status)
    out.seek(0)
    answer = out.read()
    if child.returncode != 0:
        sys.exit(f"{argv[0]} ended with {child.returncode}: {answer!r}")
    return wall, usage.ru_utime + usage.ru_stime, peak_kib, answer


def measure(name, argv, stdin_bytes, env, expected, runs):
    walls, cpus, peaks = [], [], []
    for _ in range(runs):
        wall, cpu, peak, answer = run_once(argv, stdin_bytes, env)
        if answer.strip() != expected:
            sys.exit(f"{name} answered {answer!r}, expected {expected!r}")
        walls.append(wall)
        cpus.append(cpu)
        peaks.append(peak)
    return statistics.median(walls), max(peaks), statistics.median(cpus)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--velkora", required=True)
    parser.add_argument("--runs", type=int, default=30)
    args = parser.parse_args()
    crudini = shutil.which("crudini")
    if crudini is None or not os.access(TIME, os.X_OK):
        sys.exit("crudini or GNU time is missing (scripts/install-deps.sh installs them)")

    with tempfile.TemporaryDirectory(prefix="velkora-host-bench-") as tmp:
        ini = os.path.join(tmp, "big.ini")
        section = make_file(ini)
        config, state = os.path.join(tmp, "config"), os.path.join(tmp, "state")
        os.makedirs(config)
        os.makedirs(state)
        env = dict(os.environ)
        call = f'IniRead("{ini}", "{section}", "Target", "")\n'.encode()
        velkora = [os.path.abspath(args.velkora), "--config-dir", config, "--state-dir", state]
        # Both once before measuring, so that neither pays for a cold cache.
        run_once(velkora, call, env)
        run_once([crudini, "--get", ini, section, "Target"], b"", env)
        ours = measure("velkora", velkora, call, env, b"found it", args.runs)
        theirs = measure("crudini", [crudini, "--get", ini, section, "Target"], b"", env,
                         b"found it", args.runs)
        # The floor of any run on this machine: a process that does nothing.
        floor = measure("true", ["/bin/true"], b"", env, b"", args.runs)

    print(f"one IniRead from a {FILE_SIZE / 1e6:.1f} MB file, whole process, {args.runs} runs each")
    for name, (wall, peak, cpu) in (("velkora", ours), ("crudini", theirs), ("true", floor)):
        print(f"{name}: {wall * 1e3:8.2f} ms wall, {cpu * 1e3:8.2f} ms CPU (medians), "
              f"{peak / 1024:6.1f} MiB peak RSS")
    print(f"velkora above the empty process: {(ours[0] - floor[0]) * 1e3:.2f} ms wall, "
          f"{(ours[2] - floor[2]) * 1e3:.2f} ms CPU (the driver's own start is in both)")
    cpu_ratio = ours[2] / theirs[2] if theirs[2] > 0 else float("nan")
    wall_ratio = ours[0] / theirs[0]
    rss_ratio = ours[1] / theirs[1]
    print(f"PERF|POSIX host, one IniRead from a 1.1 MB file: wall time|{ours[0] * 1e3:.2f} ms|"
          f"crudini --get, same file|{theirs[0] * 1e3:.2f} ms|{wall_ratio:.3f}|10 ms or less")
    print(f"PERF|POSIX host, one IniRead from a 1.1 MB file: peak RSS|{ours[1] / 1024:.1f} MiB|"
          f"crudini --get, same file|{theirs[1] / 1024:.1f} MiB|{rss_ratio:.3f}|8 MiB or less")
    print(f"PERF|POSIX host, one IniRead from a 1.1 MB file: CPU time|{ours[2] * 1e3:.2f} ms|"
          f"crudini --get, same file|{theirs[2] * 1e3:.2f} ms|{cpu_ratio:.3f}|")
    print(f"PERF|POSIX host, one IniRead from a 1.1 MB file: wall time|{ours[0] * 1e3:.2f} ms|"
          f"an empty process (/bin/true), same driver|{floor[0] * 1e3:.2f} ms|"
          f"{ours[0] / floor[0]:.3f}|")
    print(f"ratio velkora/crudini (peak RSS) = {rss_ratio:.3f}")
    print(f"ratio velkora/crudini (cpu) = {cpu_ratio:.3f}")
    print(f"ratio velkora/crudini = {wall_ratio:.3f}")


if __name__ == "__main__":
    main()
