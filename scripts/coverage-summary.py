#!/usr/bin/env python3
"""Line and branch coverage of the program's own folders after a run of the suite in a
gcov build (./test.sh --coverage): a table per folder, and an HTML report per file.

    scripts/coverage-summary.py BUILD_DIR

Tests, benchmarks, fuzz targets, generated code and Qt's headers are not counted. Branches
that only throw exceptions, or that the compiler made and no source line can take, are left
out: every call that may throw has them, and no test can steer them.
"""
import json
import pathlib
import subprocess
import sys

FOLDERS = ["runtime", "serial", "chart", "widgets", "app", "tools", "recorder"]


def run_gcovr(root, build, report):
    report.mkdir(parents=True, exist_ok=True)
    summary = report / "summary.json"
    command = ["gcovr", "--root", str(root), "-j", "2",
               "--exclude-throw-branches", "--exclude-unreachable-branches",
               "--html-details", str(report / "index.html"),
               "--json-summary", str(summary), str(build)]
    for folder in FOLDERS:
        command += ["--filter", str(root / folder) + "/"]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return json.loads(summary.read_text())["files"]


def per_folder(files):
    totals = {folder: [0, 0, 0, 0] for folder in FOLDERS}
    for entry in files:
        counts = totals[pathlib.PurePath(entry["filename"]).parts[0]]
        for i, key in enumerate(["line_covered", "line_total", "branch_covered", "branch_total"]):
            counts[i] += entry[key]
    totals["total"] = [sum(c[i] for c in totals.values()) for i in range(4)]
    return totals


def percent(covered, total):
    return f"{100.0 * covered / total:5.1f} %" if total else "    -  "


def main():
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} BUILD_DIR")
    root = pathlib.Path(__file__).resolve().parent.parent
    build = pathlib.Path(sys.argv[1]).resolve()
    report = build / "coverage"
    totals = per_folder(run_gcovr(root, build, report))
    print(f"{'folder':<10} {'lines':>22} {'branches':>22}")
    for folder, (lc, lt, bc, bt) in totals.items():
        print(f"{folder:<10} {lc:>6}/{lt:<6} {percent(lc, lt)} {bc:>6}/{bt:<6} {percent(bc, bt)}")
    print(f"HTML report: {report / 'index.html'}")


if __name__ == "__main__":
    main()
