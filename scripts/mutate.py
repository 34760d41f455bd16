#!/usr/bin/env python3
"""Plants one fault at a time into a scratch copy of the tree and runs the tests that should
catch it: a measure of how much the tests really check.

  scripts/mutate.py --seed 1 --count 60                 a sample across the program's folders
  scripts/mutate.py --seed 2 --count 10 --folders chart only there
  scripts/mutate.py --recheck seed1.log                 the survivors of an earlier run, again

Each mutant changes one line of a program source: a comparison or arithmetic operator, an
integer constant by one, && for || and back, a condition negated or dropped, the two
arguments of a call swapped. The copy is rebuilt incrementally and the tests of the
mutated folder run; a failing or hanging test kills the mutant. A mutant that does not
compile is skipped and not counted. Prints each mutant (file:line, what was planted, the
line before and after, killed or survived) and the score at the end. Not part of CI: every
mutant costs a rebuild and a test run.
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ["runtime", "serial", "chart", "widgets", "app", "tools"]
# The CTest names that cover each folder (regular expressions for ctest -R).
TESTS = {
    "runtime": r"^(runtime_|chart_)",  # the number format's table is with the chart's
    "serial": r"^serial_",
    "chart": r"^chart_",
    "widgets": r"^widgets_",
    "app": r"^(app_|e2e_|recorder_)",
    "tools": r"^(serial_simulator_test|e2e_replay_test)$",
}

# (name, pattern, replacement): each applies to one match of the pattern in a line.
OPERATORS = [
    ("<= to <", r"<=", "<"),
    (">= to >", r">=", ">"),
    ("< to <=", r"(?<![<\-])<(?![<=])", "<="),
    ("> to >=", r"(?<![>\-])>(?![>=])", ">="),
    ("== to !=", r"==", "!="),
    ("!= to ==", r"!=", "=="),
    ("&& to ||", r"&&", "||"),
    ("|| to &&", r"\|\|", "&&"),
    ("+ to -", r"(?<=[\w)\]] )\+(?= [\w(])", "-"),
    ("- to +", r"(?<=[\w)\]] )-(?= [\w(])", "+"),
    ("* to /", r"(?<=[\w)\]] )\*(?= [\w(])", "/"),
    ("constant + 1", r"(?<![\w.])(\d+)(?![\w.])", lambda m: str(int(m.group(1)) + 1)),
    ("constant - 1", r"(?<![\w.])([1-9]\d*)(?![\w.])", lambda m: str(int(m.group(1)) - 1)),
    ("condition negated", r"\bif \((.*)\)(\s*\{?)$", r"if (!(\1))\2"),
    ("branch always taken", r"\bif \((.*)\)(\s*\{?)$", r"if (true)\2"),
    ("first of && dropped", r"\(([^()&|]+) && ", "(true && "),
    ("arguments swapped", r"\(([\w.]+), ([\w.]+)\)", r"(\2, \1)"),
]

SKIPPED_LINE = re.compile(r'^\s*(#|//|\*|/\*)|static_assert|Q_OBJECT|"')


def candidates(folders):
    """Every (file, line number, operator, match index) a mutant can be made from."""
    found = []
    for folder in folders:
        for path in sorted((ROOT / folder).rglob("*.cpp")):
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                if SKIPPED_LINE.search(line) or not line.strip():
                    continue
                for index, (_, pattern, _) in enumerate(OPERATORS):
                    for match in re.finditer(pattern, line):
                        found.append((path.relative_to(ROOT), number, index, match.start()))
    return found


def mutate(line, operator, at):
    _, pattern, replacement = OPERATORS[operator]
    match = re.compile(pattern).search(line, at)
    if match is None or match.start() != at:
        return None
    planted = match.expand(replacement) if isinstance(replacement, str) else replacement(match)
    changed = line[:at] + planted + line[match.end():]
    return changed if changed != line else None


def run(command, cwd, timeout, environment=None):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, env=environment).returncode
    except subprocess.TimeoutExpired:
        return None


# The programs the end-to-end tests start, rebuilt with the tests.
PROGRAMS = ["ondrix", "ondrix-board", "ondrix-record"]


def targets_of(build, tests):
    """The executables to rebuild for the tests matching `tests`: each test's own program
    (a test is named after it, fault runs share faults_test) and the programs."""
    listing = subprocess.run(["ctest", "--test-dir", str(build), "-N", "-R", tests], check=True,
                             capture_output=True, text=True).stdout
    names = {re.sub(r"^faults_.*", "faults_test", name) for name in re.findall(r"Test +#\d+: (\S+)", listing)}
    return sorted(names) + PROGRAMS


def prepare(scratch, jobs):
    if scratch.exists():
        shutil.rmtree(scratch)
    source = scratch / "src"
    archive = subprocess.run(["git", "-C", str(ROOT), "archive", "HEAD"], check=True, capture_output=True).stdout
    source.mkdir(parents=True)
    subprocess.run(["tar", "-x", "-C", str(source)], input=archive, check=True)
    build = scratch / "build"
    subprocess.run(["cmake", "-S", str(source), "-B", str(build), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build), f"-j{jobs}"], check=True, stdout=subprocess.DEVNULL)
    return source, build


def survivors_in(log):
    """The (file, line number, operator name, line before, line after) of each survivor
    that an earlier run printed."""
    found = re.findall(r"^(\S+):(\d+): (.+?): survived .*\n    - (.*)\n    \+ (.*)$",
                       log.read_text(encoding="utf-8"), re.MULTILINE)
    return [(Path(file), int(number), name, before, after) for file, number, name, before, after in found]


def sampled(pool, source):
    """The mutants of a shuffled pool in its order, as (file, line number, operator name,
    line before, line after)."""
    for file, number, operator, at in pool:
        line = (source / file).read_text(encoding="utf-8").split("\n")[number - 1]
        changed = mutate(line, operator, at)
        if changed is not None:
            yield file, number, OPERATORS[operator][0], line.strip(), changed.strip()


class Trial:
    """Plants mutants one at a time into the scratch copy and runs the folder's tests."""

    def __init__(self, source, build, options):
        self.source, self.build, self.options = source, build, options
        self.environment = {**os.environ, "QT_QPA_PLATFORM": "offscreen"}

    def verdict(self, file, number, before, after):
        """'killed', 'survived', or None when the mutant does not compile."""
        path = self.source / file
        original = path.read_text(encoding="utf-8")
        lines = original.split("\n")
        if lines[number - 1].strip() != before:
            raise SystemExit(f"{file}:{number} no longer reads: {before}")
        lines[number - 1] = lines[number - 1].replace(before, after, 1)
        path.write_text("\n".join(lines), encoding="utf-8")
        try:
            tests = TESTS[file.parts[0]]
            jobs = f"-j{self.options.jobs}"
            if run(["cmake", "--build", str(self.build), jobs, "--target", *targets_of(self.build, tests)],
                   self.source, 1800) != 0:
                return None
            result = run(["ctest", "--test-dir", str(self.build), jobs, "-R", tests, "--stop-on-failure"],
                         self.source, self.options.test_timeout, self.environment)
            return "survived" if result == 0 else "killed"
        finally:
            path.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--folders", nargs="+", default=FOLDERS, choices=FOLDERS)
    parser.add_argument("--recheck", type=Path, help="run again only the survivors this earlier output names")
    parser.add_argument("--scratch", type=Path, default=ROOT / "build-mutate")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--test-timeout", type=int, default=600)
    options = parser.parse_args()

    source, build = prepare(options.scratch, options.jobs)
    trial = Trial(source, build, options)
    if options.recheck:
        mutants = survivors_in(options.recheck)
    else:
        pool = candidates(options.folders)
        random.Random(options.seed).shuffle(pool)
        mutants = sampled(pool, source)
    counts = {"killed": 0, "survived": 0, None: 0}
    for file, number, name, before, after in mutants:
        if not options.recheck and counts["killed"] + counts["survived"] >= options.count:
            break
        started = time.monotonic()
        verdict = trial.verdict(file, number, before, after)
        counts[verdict] += 1
        if verdict:
            print(f"{file}:{number}: {name}: {verdict} ({time.monotonic() - started:.0f} s)\n"
                  f"    - {before}\n"
                  f"    + {after}", flush=True)
    killed, survived = counts["killed"], counts["survived"]
    counted = killed + survived
    score = 100.0 * killed / counted if counted else 0.0
    sample = f"survivors of {options.recheck}" if options.recheck else f"seed {options.seed}"
    print(f"{sample}: {counted} mutants, {killed} killed, {survived} survived, "
          f"{counts[None]} did not compile: score {score:.1f} %")
    return 0


if __name__ == "__main__":
    sys.exit(main())
