#!/usr/bin/env python3
"""Writes the one table of Pelmora's figures against their targets into a Markdown file.

Reads what bench/run.sh measured (start_up.py's CSV, Google Benchmark's JSON, the
touch check's verdict, Pelmora.exe) and replaces the part of the document between the
table markers; the prose around them is left as it is. Every figure is a median.
"""
import argparse
import csv
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

BEGIN, END = "<!-- bench-table:begin -->", "<!-- bench-table:end -->"
CALCULATORS = ("galculator", "kcalc")

# DLLs that come with Windows itself: the one list, kept with the program's checks.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "win32"))
from check_exe import SYSTEM_DLLS as WINDOWS_DLLS  # noqa: E402


def start_figures(path):
    """label -> dict of medians over the counted, successful runs."""
    rows = [r for r in csv.DictReader(open(path)) if r["phase"] == "run"]
    out = {}
    for label in dict.fromkeys(r["label"] for r in rows):
        ok = [r for r in rows if r["label"] == label and r["ok"] == "1"]
        if not ok:
            out[label] = {"n": 0, "runs": sum(r["label"] == label for r in rows)}
            continue
        paint = sorted(float(r["paint_ms"]) for r in ok)
        q = statistics.quantiles(paint, n=4) if len(paint) > 1 else [paint[0]] * 3
        out[label] = {
            "n": len(ok), "runs": sum(r["label"] == label for r in rows),
            "paint": statistics.median(paint), "p25": q[0], "p75": q[2],
            "rss": statistics.median(float(r["rss_mib"]) for r in ok),
        }
    return out


def bench_medians(path):
    """benchmark name -> median real time in microseconds."""
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    data = json.load(open(path))
    out = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        out[b.get("run_name", b["name"])] = b["real_time"] * scale[b["time_unit"]]
    return out


def exe_facts(path):
    """(size in bytes, imported DLLs) or None when there is no Windows build."""
    if not path or not os.path.isfile(path):
        return None
    objdump = shutil.which("i686-w64-mingw32-objdump") or shutil.which("objdump")
    dlls = []
    if objdump:
        text = subprocess.run([objdump, "-p", path], capture_output=True, text=True).stdout
        dlls = re.findall(r"DLL Name:\s*(\S+)", text)
    return os.path.getsize(path), dlls


def share(x):
    return "%.2f" % x if x >= 0.01 else "%.1g" % x


def yes(ok):
    return "yes" if ok else "**no**"


def fmt_time(us):
    if us >= 1000:
        return "%.0f ms" % (us / 1000) if us % 1000 == 0 else "%.2f ms" % (us / 1000)
    return "%.2f µs" % us if us < 10 else "%.0f µs" % us


def table(a):
    start = start_figures(a.start)
    core, qt = bench_medians(a.core), bench_medians(a.qt)
    rows = ["| What | Pelmora | Compared with | Ratio | Target | Met |",
            "|---|---|---|---|---|---|"]

    pel, floor = start.get("pelmora", {}), start.get("qtfloor", {})
    if pel.get("n") and floor.get("n"):
        r = pel["paint"] / floor["paint"]
        rows.append("| Launch to first painted window | %.1f ms | qtfloor %.1f ms | %.2f× | ≤ 1.3× | %s |"
                    % (pel["paint"], floor["paint"], r, yes(r <= 1.3)))
        calcs = [(start[c]["paint"], c) for c in CALCULATORS if start.get(c, {}).get("n")]
        if calcs:
            t, name = min(calcs)
            r = pel["paint"] / t
            rows.append("| Launch, against the fastest calculator | %.1f ms | %s %.1f ms | %.2f× | ≤ 0.5× | %s |"
                        % (pel["paint"], name, t, r, yes(r <= 0.5)))
        else:
            rows.append("| Launch, against the fastest calculator | %.1f ms | none installed | – | ≤ 0.5× | – |"
                        % pel["paint"])
        r = pel["rss"] / floor["rss"]
        rows.append("| Resident memory, window up | %.1f MiB | qtfloor %.1f MiB | %.2f× | ≤ 1.3× | %s |"
                    % (pel["rss"], floor["rss"], r, yes(r <= 1.3)))
    else:
        rows.append("| Launch to first painted window | failed | | | ≤ 1.3× | **no** |")

    for label, what, target_us, bench in (
            (core, "Core: one keystroke in the entry", 2, "Keystroke"),
            (core, "Core: \"Select\" over 0,31", 50, "SelectWholeRow"),
            (core, "Core: \"Clear Set\", all 32 ticked", 50, "ClearSetAllTicked"),
            (core, "Core: 1 MB pasted into the entry", 20000, "MegabytePaste"),
            (qt, "Qt: one keystroke, edit to every changed widget", 200, "QtKeystroke")):
        if bench in label:
            t = label[bench]
            rows.append("| %s | %s | | %s of target | < %s | %s |"
                        % (what, fmt_time(t), share(t / target_us), fmt_time(target_us), yes(t < target_us)))
    rows.append("| Qt: only widgets whose value changed are repainted | %s | | | every action checked | %s |"
                % (a.touch, yes(a.touch == "pass")))

    facts = exe_facts(a.exe)
    if facts is None:
        rows.append("| Pelmora.exe on disk | not built | | | < 2 MiB | – |")
    else:
        size, dlls = facts
        mib = size / (1 << 20)
        rows.append("| Pelmora.exe on disk | %.2f MiB | | %s of target | < 2 MiB | %s |"
                    % (mib, share(mib / 2), yes(mib < 2)))
        foreign = [d for d in dlls if d.lower() not in WINDOWS_DLLS]
        rows.append("| Pelmora.exe: DLLs outside Windows | %s | imports %s | | none | %s |"
                    % (", ".join(foreign) or "none", ", ".join(dlls) or "?", yes(dlls and not foreign)))

    lines = rows + [""]
    others = ["%s %.1f ms / %.1f MiB" % (k, v["paint"], v["rss"]) for k, v in start.items() if v.get("n")]
    failed = ["%s %d of %d runs failed" % (k, v["runs"] - v["n"], v["runs"])
              for k, v in start.items() if v.get("runs", 0) != v.get("n", 0)]
    lines.append("Start-up medians, paint time / RSS: %s%s." % ("; ".join(others),
                 (" (" + "; ".join(failed) + ")") if failed else ""))
    spread = ["%s %.0f–%.0f ms" % (k, v["p25"], v["p75"]) for k, v in start.items() if v.get("n")]
    lines.append("Measured %s on %s (%d CPUs), %d interleaved runs per program after one warm-up, "
                 "start-up at priority `%s`; load average %s before, %s after; paint times p25–p75: %s."
                 % (time.strftime("%Y-%m-%d %H:%M", time.localtime(os.path.getmtime(a.start))),
                    os.uname().nodename, os.cpu_count(), a.runs,
                    a.priority, a.load[0], a.load[-1], "; ".join(spread)))
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--doc", required=True)
    ap.add_argument("--start", required=True)
    ap.add_argument("--core", required=True)
    ap.add_argument("--qt", required=True)
    ap.add_argument("--touch", choices=("pass", "fail"), required=True)
    ap.add_argument("--exe")
    ap.add_argument("--runs", type=int, required=True)
    ap.add_argument("--load", action="append", default=[])
    ap.add_argument("--priority", default="normal")
    a = ap.parse_args()
    block = "%s\n%s\n%s" % (BEGIN, table(a), END)
    text = open(a.doc).read() if os.path.exists(a.doc) else "# Performance\n\n%s\n%s\n" % (BEGIN, END)
    if BEGIN in text and END in text:
        text = text[:text.index(BEGIN)] + block + text[text.index(END) + len(END):]
    else:
        text = text.rstrip("\n") + "\n\n" + block + "\n"
    open(a.doc, "w").write(text)
    print(block)


if __name__ == "__main__":
    main()
