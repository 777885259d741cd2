#!/usr/bin/python3
"""Whole-process timings on the big shop: our `tervin-workbook copy` against LibreOffice converting
the same file, round by round in the same run, the fresh-process open (`tervin-workbook check`) and
the program's start-up to the login window. Writes the figures as JSON."""
import json
import os
import statistics
import subprocess
import sys
import time


def run(args, **kwargs):
    """Runs args to the end; gives wall seconds, CPU seconds (user + system), peak KB, stdout."""
    start = time.monotonic()
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, **kwargs)
    out = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    process.stdout.close()
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"{args[0]} failed with status {process.returncode}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out, start


def summary(values):
    return {"min": min(values), "median": statistics.median(values), "all": values}


def main():
    build, shop, work, folder, out_json = sys.argv[1:6]
    rounds = int(os.environ.get("TERVIN_BENCH_ROUNDS", "5"))
    tool = os.path.join(build, "tervin-workbook")
    probe = os.path.join(build, "bench", "startup_probe")
    profile = "file://" + os.path.join(work, "lo-profile")
    lo_out = os.path.join(work, "lo-out")
    convert = ["soffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "xls:MS Excel 97",
               "--outdir", lo_out, shop]
    copy = [tool, "copy", shop, os.path.join(work, "copy.xls")]

    run(convert)   # LibreOffice's first start makes its profile: not counted
    run(copy)
    ours_wall, ours_cpu, ours_peak, lo_wall = [], [], [], []
    for _ in range(rounds):
        wall, cpu, peak, _, _ = run(copy)
        ours_wall.append(wall * 1000)
        ours_cpu.append(cpu * 1000)
        ours_peak.append(peak / 1024)
        lo_wall.append(run(convert)[0] * 1000)

    # As for the copy, one open runs before the counted ones: the first process after LibreOffice's
    # convert works on memory the system is still taking back from it.
    run([tool, "check", shop])
    open_cpu, open_wall = [], []
    for _ in range(rounds):
        wall, cpu, _, _, _ = run([tool, "check", shop])
        open_cpu.append(cpu * 1000)
        open_wall.append(wall * 1000)

    env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
    startup = []
    for _ in range(rounds):
        _, _, _, out, start = run([probe, folder], env=env)
        shown = int(out.decode().split()[-1]) / 1e9
        startup.append((shown - start) * 1000)

    json.dump({"copy_wall_ms": summary(ours_wall), "copy_cpu_ms": summary(ours_cpu),
               "copy_peak_mb": summary(ours_peak), "lo_convert_wall_ms": summary(lo_wall),
               "open_cpu_ms": summary(open_cpu), "open_wall_ms": summary(open_wall),
               "startup_ms": summary(startup)}, open(out_json, "w"), indent=1)


if __name__ == "__main__":
    main()
