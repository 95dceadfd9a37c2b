#!/usr/bin/env python3
"""Runs the table of planted faults (faults.txt beside this script) against the test suite.

Each fault replaces one text of one file by another, in a way a user would notice; the suites
named with it should then fail. The run works on a private copy of the tree (--work DIR), never
on the tree itself: the copy is configured once (RelWithDebInfo, no sanitizers) and built, then
for each fault the text is planted, the copy rebuilt, `ctest -R TESTS --timeout 600` run, and
the text put back. One line per fault tells the outcome:

  ID  caught (by NAMES)   a named suite failed: good
  ID  MISSED              every named suite passed
  ID  no build            the planted code does not build (not counted)
  ID  cannot plant        the text does not occur exactly once (not counted)

The totals at the end give caught / valid faults; the missed ones are listed with what a user
would see. --list only checks the table (every text occurs exactly once in the tree, every test
regex names a suite) and prints the number of faults per area; it builds nothing.

Table format: blocks separated by blank lines; "# ..." lines are comments.
  ## ID AREA
  user: what a user would see broken
  file: path relative to the project root
  old: text that occurs exactly once in the file (Python escapes such as \\n are read)
  new: its replacement (same escapes; empty takes the text out)
  tests: CTest regex of the suites whose subject this is
  known: (optional) why no test catches it, when that is on purpose
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
FIELDS = ("user", "file", "old", "new", "tests")
# "known: WHY" marks a fault left uncaught on purpose: no test short of a disproportionate one
# would see it. It still counts as missed.
OPTIONAL = ("known",)


class Fault:
    def __init__(self, ident, area, line):
        self.id = ident
        self.area = area
        self.line = line
        self.values = {}

    def __getattr__(self, name):
        if name in FIELDS + OPTIONAL:
            return self.values.get(name, "")
        raise AttributeError(name)


def unescape(text):
    # Backslash escapes only; any other character, umlauts included, stays as written.
    return text.encode("latin-1", "backslashreplace").decode("unicode_escape")


def read_table(path):
    faults = []
    problems = []
    current = None
    with open(path, encoding="utf-8") as table:
        for number, raw in enumerate(table, 1):
            line = raw.rstrip("\n")
            if line.startswith("## "):
                words = line[3:].split(None, 1)
                current = Fault(words[0], words[1].strip() if len(words) > 1 else "?", number)
                faults.append(current)
            elif not line.strip() or line.startswith("#"):
                continue
            elif current is None:
                problems.append(f"line {number}: text before the first fault")
            else:
                field = re.match(r"(\w+):(?: (.*))?$", line)
                key, value = (field.group(1), field.group(2) or "") if field else ("", "")
                if key not in FIELDS + OPTIONAL:
                    problems.append(f"line {number}: not a field of fault {current.id}: {line}")
                elif key in current.values:
                    problems.append(f"line {number}: fault {current.id} has {key} twice")
                else:
                    current.values[key] = unescape(value) if key in ("old", "new") else value
    seen = set()
    for fault in faults:
        # Only "new" may be empty: the planted fault then takes the text out.
        missing = [key for key in FIELDS if key not in fault.values or (key != "new" and not fault.values[key])]
        if missing:
            problems.append(f"line {fault.line}: fault {fault.id} lacks {', '.join(missing)}")
        if fault.old == fault.new:
            problems.append(f"line {fault.line}: fault {fault.id} replaces its text by itself")
        if fault.id in seen:
            problems.append(f"line {fault.line}: fault id {fault.id} used twice")
        seen.add(fault.id)
    return faults, problems


def occurrences(root, fault):
    path = os.path.join(root, fault.file)
    try:
        with open(path, encoding="utf-8", newline="") as source:
            return source.read().count(fault.old)
    except OSError:
        return -1


def known_tests(root):
    """The CTest names the tests' CMakeLists.txt files register (as `ctest -N` would list them)."""
    names = set()
    for directory, _, files in os.walk(os.path.join(root, "tests")):
        if "CMakeLists.txt" not in files:
            continue
        with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as cmake:
            text = re.sub(r"#.*", "", cmake.read())
        loops = re.findall(r"foreach\((\w+)\s+([^)]*)\)(.*?)endforeach", text, re.S)
        for variable, items, body in loops:
            for item in items.split():
                names.update(found.replace("${%s}" % variable, item) for found in registered(body))
            text = text.replace(body, "")
        names.update(name for name in registered(text) if "${" not in name)
    return names


def registered(text):
    return re.findall(r"(?:add_test\(NAME|tarn_add_qtest\(|tarn_add_script_test\()\s*([\w${}]+)", text)


def list_table(faults, problems):
    tests = known_tests(ROOT)
    areas = {}
    for fault in faults:
        areas[fault.area] = areas.get(fault.area, 0) + 1
        count = occurrences(ROOT, fault)
        if count != 1:
            what = "the file cannot be read" if count < 0 else f"the text occurs {count} times"
            problems.append(f"line {fault.line}: fault {fault.id}: {what} in {fault.file}")
        try:
            pattern = re.compile(fault.tests)
        except re.error as error:
            problems.append(f"line {fault.line}: fault {fault.id}: bad test regex: {error}")
            continue
        if tests and not any(pattern.search(name) for name in tests):
            problems.append(f"line {fault.line}: fault {fault.id}: no suite matches {fault.tests}")
    width = max((len(area) for area in areas), default=0)
    for area, count in areas.items():
        print(f"{area:<{width}}  {count}")
    print(f"{'total':<{width}}  {len(faults)}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


def project_files(root):
    try:
        listed = subprocess.run(["git", "-C", root, "ls-files", "-z", "--cached", "--others",
                                 "--exclude-standard"], capture_output=True, check=True).stdout
        return [name for name in listed.decode().split("\0") if name]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for directory, subdirs, names in os.walk(root):
            subdirs[:] = [d for d in subdirs if d != ".git" and not d.startswith("build")]
            files += [os.path.relpath(os.path.join(directory, n), root) for n in names]
        return files


def sync_copy(root, copy):
    """Makes `copy` hold the project's files: only those that differ are written, so a copy
    built before rebuilds only what changed (a fault left by an interrupted run included)."""
    for name in project_files(root):
        source = os.path.join(root, name)
        target = os.path.join(copy, name)
        if os.path.islink(source) or not os.path.isfile(source):
            continue
        with open(source, "rb") as f:
            data = f.read()
        try:
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        except OSError:
            os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        shutil.copymode(source, target)


def run(command, log, **kwargs):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace", **kwargs)
    log.write(f"$ {' '.join(command)}\n{result.stdout}\n")
    return result


def build(build_dir, jobs, log):
    return run(["cmake", "--build", build_dir, "-j", str(jobs)], log).returncode == 0


FAILED = re.compile(r"\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Child aborted|"
                    r"Exception|Not Run|Bus error|ILLEGAL|SIGTRAP|OTHER_FAULT)[^)]*\)")
SKIPPED = re.compile(r"\d+ - (\S+) \(Skipped\)")


def run_tests(build_dir, tests, log):
    """(failed suite names, skipped suite names, whether any suite matched)."""
    # One failing check is enough: the suites stop there instead of waiting out their bounds.
    environment = dict(os.environ, TARN_FAIL_FAST="1")
    result = run(["ctest", "-R", tests, "--timeout", "600", "--output-on-failure", "--stop-on-failure",
                  "-j", str(os.cpu_count() or 2)], log, cwd=build_dir, env=environment)
    output = result.stdout
    if "No tests were found" in output:
        return [], [], False
    failed = sorted(set(FAILED.findall(output)))
    if result.returncode != 0 and not failed:
        failed = ["(ctest failed)"]
    return failed, sorted(set(SKIPPED.findall(output))), True


def plant_and_test(fault, source_dir, build_dir, jobs, log):
    path = os.path.join(source_dir, fault.file)
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    count = text.count(fault.old)
    if count != 1:
        return ("cannot plant", f"the text occurs {count} times")
    built_at = time.time()
    try:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text.replace(fault.old, fault.new))
        built = build(build_dir, jobs, log)
        built_at = time.time()
        if not built:
            return ("no build", "")
        failed, skipped, matched = run_tests(build_dir, fault.tests, log)
    finally:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        # Newer than anything the planted build made, so the next build compiles it again;
        # on a file system that keeps whole seconds, a second later than that build.
        time.sleep(max(0.0, 1.05 - (time.time() - built_at)))
        os.utime(path, None)
    if not matched:
        return ("no tests", f"no suite matches {fault.tests}")
    if failed:
        return ("caught", " ".join(failed))
    note = f"skipped: {' '.join(skipped)}" if skipped else ""
    return ("MISSED", note)


def select(faults, only, start):
    if only:
        wanted = [ident.strip() for ident in only.split(",") if ident.strip()]
        unknown = [ident for ident in wanted if ident not in {f.id for f in faults}]
        if unknown:
            sys.exit(f"unknown fault ids: {', '.join(unknown)}")
        faults = [f for f in faults if f.id in wanted]
    if start:
        ids = [f.id for f in faults]
        if start not in ids:
            sys.exit(f"unknown fault id: {start}")
        faults = faults[ids.index(start):]
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--table", default=os.path.join(HERE, "faults.txt"))
    parser.add_argument("--work", default=os.path.join("/tmp", f"tarn-faults-{os.getuid()}"),
                        help="scratch folder of the private copy and its build (kept for the next run)")
    parser.add_argument("--only", help="comma-separated fault ids")
    parser.add_argument("--from", dest="start", help="start at this fault id")
    parser.add_argument("--list", action="store_true", help="only check the table, build nothing")
    parser.add_argument("--keep-going", dest="keep_going", action="store_true", default=True,
                        help="go on after a fault that cannot be planted or built (the default)")
    parser.add_argument("--no-keep-going", dest="keep_going", action="store_false")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--baseline", action="store_true",
                        help="first run the chosen faults' suites unplanted: a suite that fails then "
                             "catches nothing")
    args = parser.parse_args()

    faults, problems = read_table(args.table)
    if args.list:
        return list_table(faults, problems)
    if problems:
        for problem in problems:
            print(problem, file=sys.stderr)
        return 2
    faults = select(faults, args.only, args.start)

    source_dir = os.path.join(args.work, "src")
    build_dir = os.path.join(args.work, "build")
    log_dir = os.path.join(args.work, "logs")
    os.makedirs(source_dir, exist_ok=True)
    os.makedirs(log_dir, exist_ok=True)
    sync_copy(ROOT, source_dir)
    with open(os.path.join(log_dir, "setup.log"), "w") as log:
        if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
            configured = run(["cmake", "-S", source_dir, "-B", build_dir,
                              "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DTARN_SANITIZE=OFF"], log)
            if configured.returncode != 0:
                print(f"the copy does not configure; see {log.name}", file=sys.stderr)
                return 2
        if not build(build_dir, args.jobs, log):
            print(f"the unchanged copy does not build; see {log.name}", file=sys.stderr)
            return 2

    broken = set()
    if args.baseline and faults:
        with open(os.path.join(log_dir, "baseline.log"), "w") as log:
            broken, _, _ = run_tests(build_dir, "|".join(sorted({f.tests for f in faults})), log)
            broken = set(broken)
        if broken:
            print(f"failing without any fault (they catch nothing here): {' '.join(sorted(broken))}")

    outcomes = []
    width = max((len(f.id) for f in faults), default=0)
    for fault in faults:
        with open(os.path.join(log_dir, fault.id + ".log"), "w") as log:
            outcome, detail = plant_and_test(fault, source_dir, build_dir, args.jobs, log)
        if outcome == "caught" and broken and set(detail.split()) <= broken:
            outcome, detail = "MISSED", f"only suites that fail anyway failed: {detail}"
        outcomes.append((fault, outcome))
        text = {"caught": f"caught (by {detail})"}.get(outcome, outcome + (f" ({detail})" if detail else ""))
        print(f"{fault.id:<{width}}  {text}", flush=True)
        if outcome in ("cannot plant", "no build", "no tests") and not args.keep_going:
            break
    # The copy's build is left as the tree is, ready for the next run.
    with open(os.path.join(log_dir, "setup.log"), "a") as log:
        build(build_dir, args.jobs, log)

    caught = [f for f, o in outcomes if o == "caught"]
    missed = [f for f, o in outcomes if o == "MISSED"]
    valid = len(caught) + len(missed)
    share = f"{100.0 * len(caught) / valid:.1f}%" if valid else "-"
    others = len(outcomes) - valid
    print(f"\ncaught {len(caught)} of {valid} valid faults: {share}"
          + (f" ({others} not counted: no build, cannot plant or no tests)" if others else ""))
    if missed:
        print("missed:")
        for fault in missed:
            print(f"  {fault.id}  {fault.area}: {fault.user}"
                  + (f"\n      known: {fault.known}" if fault.known else ""))
    print(f"logs: {log_dir}")
    return 0 if not missed else 1


if __name__ == "__main__":
    sys.exit(main())
