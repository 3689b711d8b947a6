#!/usr/bin/env python3
"""Reads the raw output report.sh kept in RAW and prints the markdown table:

    report_table.py RAW STARTUP_RUNS

A cell whose figure cannot be read says "error"; the exit status is 1 then.
"""
import json
import re
import sys
from pathlib import Path

ERROR = "error"


class Figures:
    def __init__(self, raw: Path):
        self.raw = raw

    def text(self, name):
        """The benchmark's output, or None when it failed or left none."""
        try:
            status = int((self.raw / f"{name}.rc").read_text().strip())
            output = (self.raw / f"{name}.txt").read_text(errors="replace")
        except (OSError, ValueError):
            return None, None
        return status, output

    def gbench(self, name):
        """Per benchmark: real time and CPU time in ms and bytes per second
        (counted on CPU time), the median where there were repetitions; None
        when the run failed."""
        status, _ = self.text(name)
        if status != 0:
            return None
        try:
            runs = json.loads((self.raw / f"{name}.json").read_text())["benchmarks"]
        except (OSError, ValueError, KeyError, TypeError):
            return None
        if not isinstance(runs, list):
            return None
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
        figures = {}
        for run in runs:
            if not isinstance(run, dict) or run.get("error_occurred") or run.get("aggregate_name") not in (None, "median"):
                continue
            # The median, where there is one, replaces the single runs.
            key = run.get("run_name", run["name"])
            if key in figures and run.get("aggregate_name") != "median":
                continue
            unit = scale.get(run.get("time_unit", "ns"), 1e-6)
            if not isinstance(run.get("real_time"), (int, float)) or not isinstance(run.get("cpu_time"), (int, float)):
                continue
            figures[key] = (run["real_time"] * unit, run["cpu_time"] * unit, run.get("bytes_per_second"))
        return figures


def number(value, digits):
    return f"{value:,.{digits}f}"


def ratio_cell(ours, peer, digits=2):
    return number(ours / peer, digits) if ours is not None and peer else ERROR


def transfer_rows(figures):
    status, output = figures.text("transfer_bench")
    pattern = r"^{}\s+\d+ reports\s+wall\s+([\d.]+) ms\s+floor\s+([\d.]+) ms"
    rows = []
    count = re.search(r"^write (\d+ profiles?)", output or "", re.M)
    for label, line in (
        (f"Device pacing: write and read of {count.group(1) if count else '5 profiles'} "
         "(7 macros of 81 events each), wall against the protocol's pauses", "total"),
        ("Start-up load of the five profiles from the mouse, wall against the protocol's pauses",
         r"start-up load \(5 profiles\)"),
    ):
        found = re.search(pattern.format(line), output or "", re.M) if status == 0 else None
        aim = "ratio < 1.05" if line == "total" else "—"
        if not found:
            rows.append([label, ERROR, ERROR, ERROR, aim])
            continue
        wall, floor = float(found.group(1)), float(found.group(2))
        rows.append([label, f"{number(wall, 0)} ms", f"{number(floor, 0)} ms", ratio_cell(wall, floor, 3), aim])
    return rows


def markup_row(figures):
    label = "Markup parser against pugixml on the same layouts (throughput, CPU time a pass)"
    aim = "ratio ≥ 0.8"
    runs = figures.gbench("markup_bench") or {}
    ours, pugi = runs.get("OurParser"), runs.get("Pugixml")
    if not ours or not pugi or not ours[2] or not pugi[2]:
        return [label, ERROR, ERROR, ERROR, aim]

    # Both on CPU time, as the throughput is.
    def cell(run):
        return f"{number(run[2] / 1e6, 0)} MB/s, {number(run[1] * 1000, 0)} µs"
    return [label, cell(ours), cell(pugi), ratio_cell(ours[2], pugi[2]), aim]


def paint_rows(figures):
    runs = figures.gbench("paint_bench") or {}
    rows = []
    for name, label, aim in (
        ("MainWindowFullRepaint", "Full repaint of the main window", "< 8 ms"),
        ("MainWindowHoverRepaint", "Hover repaint of one button of the main window", "< 1 ms"),
    ):
        run = runs.get(name)
        rows.append([label, f"{number(run[0], 3)} ms" if run else ERROR, "—", "—", aim])
    return rows


def startup_medians(output, program):
    """(runs, mapped ms, painted ms, peak kB) of one program's summary line."""
    found = re.search(rf"^{program}\s+runs\s+(\d+)\s+first window mapped\s+(\d+) ms\s+first frame painted\s+(\d+) ms"
                      r"\s+peak RSS\s+(\d+) kB", output, re.M)
    if not found or int(found.group(1)) == 0:
        return None
    return tuple(int(value) for value in found.groups())


def startup_rows(figures, runs):
    status, output = figures.text("startup_bench")
    output = output or ""
    labels = (
        (f"Start to first window mapped ({runs}) against Piper", "ms", 1, "—"),
        (f"Start to first frame painted ({runs}) against Piper", "ms", 2, "ratio ≤ 0.2"),
        ("Peak resident memory after the start-up load against Piper", "MiB", 3, "ratio ≤ 0.5"),
    )
    # Exit 77: a tool the measurement needs (Xvfb, xev, xwd, xdotool) is missing.
    if status == 77:
        reason = "not measured: " + (output.strip().splitlines() or ["tool missing"])[-1]
        return [[label, reason, reason, "—", aim] for label, _, _, aim in labels]
    ours = startup_medians(output, "NeritMice") if status == 0 else None
    piper = startup_medians(output, "Piper") if status == 0 else None
    absent = "Piper: not installed" in output

    def cell(medians, column, unit):
        if medians is None:
            return ERROR
        value = medians[column]
        return f"{number(value / 1024, 1)} MiB" if unit == "MiB" else f"{value} ms"

    rows = []
    for label, unit, column, aim in labels:
        peer = "not installed" if absent else cell(piper, column, unit)
        if absent:
            ratio = "not installed"
        elif ours is None or piper is None:
            ratio = ERROR
        else:
            ratio = ratio_cell(ours[column], piper[column])
        rows.append([label, cell(ours, column, unit), peer, ratio, aim])
    return rows


def main():
    raw, runs = Path(sys.argv[1]), int(sys.argv[2])
    runs = "median of {} runs".format(runs) if runs > 1 else "one run"
    figures = Figures(raw)
    transfer = transfer_rows(figures)
    startup = startup_rows(figures, runs)
    rows = [transfer[0], markup_row(figures), startup[0], startup[1], *paint_rows(figures), startup[2], transfer[1]]
    print("| figure | NeritMice | peer/floor | ratio | aim |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    return 1 if any(ERROR in row[1:] for row in rows) else 0


if __name__ == "__main__":
    sys.exit(main())
