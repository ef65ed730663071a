"""Mutation testing of the portable core; scripts/mutants runs this after installing what it needs.

Finds small faults ("mutants") in the portable core (src/ but the seam and the Windows shell) and
runs the unit tests against each. A mutant the tests notice is killed; one they miss survived and
shows a gap in the tests, or is equivalent: a change no test could see (those are listed in
tests/mutants/, one list a layer). The working tree is only read.

By default the mutants are compiled into one build of a generated copy of the tree, each behind
a run-time switch (schemata.py; class Schemata here), and the rest is applied one at a time to a
plain copy in build/mutants/tree and rebuilt there (class OneByOne, and --one-by-one for all).

Mutant ids are numbers in the order file, line, column, operator, so the same tree gives the
same ids. The report (build/mutants/report.txt) lists the survivors in a stable form that
--compare (or plain diff) can match against an earlier report; results.txt has every mutant.
"""

import argparse
import concurrent.futures
import fcntl
import hashlib
import json
import os
import random
import re
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

import schemata

ROOT = Path(__file__).resolve().parents[2]
CORE_DIRS = ["src/common", "src/controls", "src/layouts", "src/settings", "src/pads",
             "src/pad_manager", "src/app"]
WORK = ROOT / "build" / "mutants"
TREE = WORK / "tree"  # the scratch copy of the sources for the one-by-one mode
REPORT = WORK / "report.txt"
RESULTS = WORK / "results.txt"  # every mutant's result, one a line
MUTATED = WORK / "mutated.txt"  # files whose objects may still hold a mutant (a run was stopped)
JOBS = "2"

# --- Finding mutants --------------------------------------------------------------------------


class Mutant:
    def __init__(self, path, line, col, op, old, new):
        self.path, self.line, self.col, self.op = path, line, col, op
        self.old, self.new = old, new  # the whole line before and after
        self.id, self.nth = "", 1  # nth: the same change on an identical line of the file
        self.result, self.detail = "", ""
        self.mode, self.sanitized = "", False  # how it was built; killed only under ASan/UBSan

    def where(self):
        return f"{self.path}:{self.line}"

    def key(self):  # what --compare matches on: not the id, so edits elsewhere do not matter
        return (self.path, self.old.strip(), self.new.strip(), self.nth)

    def title(self):
        return f"{self.id} {self.where()} {self.op}" + (f" #{self.nth}" if self.nth > 1 else "")


def mask(text):
    """The file's text with comments blanked and the contents of string and character literals
    replaced by '`', so that every offset still points at the same character."""
    out, i, n = list(text), 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out[i] = " "
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            for j in range(i, end):
                if text[j] != "\n":
                    out[j] = " "
            i = end
        elif c == '"' or (c == "'" and not (i and text[i - 1].isdigit())):  # 1'000 is a number
            i += 1
            while i < n and text[i] != c and text[i] != "\n":
                out[i] = "`"
                if text[i] == "\\" and i + 1 < n:
                    out[i + 1] = "`"
                    i += 1
                i += 1
            i += 1
        else:
            i += 1
    return "".join(out)


SCOPE, CODE, TABLE = 0, 1, 2
BODY_WORDS = {"else", "do", "try", "const", "override", "final", "noexcept", "mutable"}
DECL = re.compile(r"\s*(template\s*<.*?>\s*)?(namespace|struct|class|enum|union|extern)\b", re.S)


def brace_kinds(code):
    """For every offset of the masked text, what the innermost brace around it holds: SCOPE (a
    namespace, class or enum, or none), CODE (a function body or a block in one) or TABLE (an
    initializer such as `{left, 0, 600, 600}` or `kPad[] = {...}`)."""
    kinds, stack = bytearray(len(code)), []
    for i, c in enumerate(code):
        if c == "{":
            before = code[:i].rstrip()
            last, outer = before[-1:] or ";", stack[-1] if stack else SCOPE
            if last in "=(,{[>":
                kind = TABLE
            elif last == ")":
                kind = CODE  # a function, a lambda, if, for, while, switch
            elif last.isalnum() or last == "_":
                word = re.search(r"\w+$", before).group(0)
                start = max(before.rfind(";"), before.rfind("{"), before.rfind("}")) + 1
                if word in BODY_WORDS:
                    kind = CODE
                elif word != "return" and DECL.match(before[start:]):
                    kind = SCOPE
                else:
                    kind = TABLE  # `return {...}`, `Shape s{...}`, `kMonitor{{...}}`
            else:
                kind = CODE if outer == CODE else SCOPE  # a block after `;`, `}` or a label
            stack.append(kind)
        elif c == "}" and stack:
            stack.pop()
        kinds[i] = stack[-1] if stack else SCOPE
    return kinds


def matching_paren(s, open_at):
    depth = 0
    for j in range(open_at, len(s)):
        depth += {"(": 1, ")": -1}.get(s[j], 0)
        if depth == 0:
            return j
    return -1


COMPARISON = r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)"
CMP = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
BOUNDARY = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
ARITH = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}
SKIP_LINE = re.compile(r"\s*(#|static_assert\b|using\b|namespace\b|template\b|typedef\b|friend\b)")
CALL = re.compile(r"(::)?[A-Za-z_]\w*((::|\.|->)[A-Za-z_]\w*)*\(.*\);")
NOT_CALLS = {"return", "delete", "throw", "sizeof", "case", "if", "while", "for", "switch"}


def line_mutants(code, orig, kind, prev_code, case_labels):
    """(column, operator, mutated line) for every mutant of one line. `code` is the masked line,
    `kind` its brace kinds, `prev_code` the previous line of code (masked, stripped),
    `case_labels` the numbers of the file's `case` labels. Literals change only in code: not in
    tables, constants, member defaults or default arguments."""
    found = []

    def swap(m, table, op, group=1):
        new = table.get(m.group(group))
        if new is not None:
            found.append((m.start(group), op, orig[:m.start(group)] + new + orig[m.end(group):]))

    # Binary operators are written with a blank on each side; template brackets, pointers and
    # unary minus are not, so the blanks tell them apart.
    for m in re.finditer(COMPARISON, code):
        swap(m, CMP, "cmp")
        swap(m, BOUNDARY, "boundary")
    for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", code):
        swap(m, {"&&": "||", "||": "&&"}, "logic")
    for m in re.finditer(r"(?<![!\w])!(?!=)", code):
        found.append((m.start(), "not", orig[:m.start()] + orig[m.end():]))
    for m in re.finditer(r"\bif \(", code):
        a, b = m.end(), matching_paren(code, m.end() - 1)
        cond = code[a:b].strip()
        # `if (!x)` and `if (a < b)` alone: dropping the `!` or flipping the comparison is the same.
        if b < 0 or ("&&" not in cond and "||" not in cond
                     and (cond.startswith("!") or len(re.findall(COMPARISON, cond)) == 1)):
            continue
        if re.match(r"[\w:]+[*&]*\s+\w+\s*=[^=]", cond):
            continue  # `if (Pad* p = find())` declares a variable: it cannot be negated
        found.append((m.start(), "if", orig[:a] + "!(" + orig[a:b] + ")" + orig[b:]))
    for m in re.finditer(r"(?<![\w.'`])(\d+)([uUlL]*)(?![\w.'`])", code):
        if kind[m.start()] != CODE:
            continue
        n, case = int(m.group(1)), re.match(r"\s*case $", code[:m.start()])
        for v in (n + 1, n - 1):
            text = str(v) if v >= 0 else "(-1)"
            if v < 0 and (m.group(2) or code[:m.start()].rstrip().endswith("-")):
                continue
            if case and v in case_labels:
                continue  # a duplicate case label does not compile
            found.append((m.start(), "int", orig[:m.start()] + text + orig[m.end(1):]))
    for m in re.finditer(r"\b(true|false)\b", code):
        if kind[m.start()] == CODE:
            swap(m, {"true": "false", "false": "true"}, "bool")
    if '"' not in code:  # `+` next to a string literal is concatenation
        for m in re.finditer(r"(?<=\s)([-+*/]=?)(?=\s)", code):
            if not (m.group(1) == "+=" and code[m.end():].lstrip().startswith("'")):  # appends
                swap(m, ARITH, "arith")
    stmt = code.strip()
    # A whole statement that is a call, in a function body, not continuing the previous line.
    if (stmt and kind[code.index(stmt[0])] == CODE and CALL.fullmatch(stmt)
            and stmt.split("(")[0] not in NOT_CALLS and stmt.count("(") == stmt.count(")")
            and (prev_code[-1:] in (";", "{", "}", ")", ":") or prev_code.endswith("else"))):
        indent = orig[:len(orig) - len(orig.lstrip())]
        found.append((len(indent), "call", indent + ";  // deleted: " + orig.strip()))
    return found


def find_mutants():
    files = sorted(p for d in CORE_DIRS for p in (ROOT / d).glob("*") if p.suffix in (".cpp", ".h"))
    mutants = []
    for path in files:
        rel = path.relative_to(ROOT).as_posix()
        text = path.read_text(encoding="latin-1")
        code = mask(text)
        kinds = brace_kinds(code)
        lines, codes = text.split("\n"), code.split("\n")
        offset, prev, in_assert, seen = 0, "", False, set()
        case_labels = {int(n) for n in re.findall(r"\bcase (\d+)\s*:", code)}
        for no, (orig, c) in enumerate(zip(lines, codes), start=1):
            kind = kinds[offset:offset + len(c) + 1]
            offset += len(c) + 1
            if in_assert or SKIP_LINE.match(c):  # a static_assert may span lines
                in_assert = (in_assert or c.lstrip().startswith("static_assert")) and ";" not in c
                prev = c.strip() or prev
                continue
            found = line_mutants(c, orig, kind, prev, case_labels)
            for col, op, new in sorted(found, key=lambda f: f[0]):
                if new != orig and (no, new) not in seen:
                    seen.add((no, new))
                    mutants.append(Mutant(rel, no, col + 1, op, orig, new))
            prev = c.strip() or prev
    seen_keys = {}
    for i, m in enumerate(mutants, start=1):
        m.id = f"M{i:04d}"
        same = m.key()  # taken while nth is still 1
        m.nth = seen_keys[same] = seen_keys.get(same, 0) + 1
    return mutants


# --- Trees, builds and test runs --------------------------------------------------------------


def sync_tree(dest):
    """Makes `dest` a copy of the working tree (without build/ and .git), writing only files
    whose content differs so that a scratch build stays incremental."""
    wanted = set()
    for dirpath, dirnames, filenames in os.walk(ROOT):
        rel_dir = Path(dirpath).relative_to(ROOT)
        skip = {"build", "out"} if rel_dir == Path(".") else set()
        dirnames[:] = sorted(d for d in dirnames if not d.startswith(".") and d not in skip)
        for name in filenames:
            rel = rel_dir / name
            wanted.add(rel)
            write_if_changed(dest / rel, (ROOT / rel).read_bytes())
    for dirpath, _, filenames in os.walk(dest):
        for name in filenames:
            path = Path(dirpath) / name
            if path.relative_to(dest) not in wanted:
                path.unlink()


def write_if_changed(path, data):
    """Writes a file with the current time as its modification time (Ninja rebuilds what is
    newer than its object, so a restored file must never keep an old timestamp)."""
    if path.exists() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    os.utime(path)


def run(cmd, log, timeout=None):
    with open(log, "wb") as out:
        return subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode


class Build:
    """A CMake/Ninja build of the unit tests from a tree, with its own flags."""

    def __init__(self, name, tree, flags, build_type=""):
        self.name, self.tree, self.dir = name, tree, WORK / name
        self.flags, self.build_type = flags, build_type
        self.log = WORK / f"{name}.log"
        self.binary = self.dir / "tests" / "unit" / "unit_tests"
        self.baseline = None  # seconds of an unmutated run, once checked
        self.phases = [None]  # gtest filters, run in turn: the fast tests, then the slow ones
        self.slow = set()

    def configure(self):
        cache = self.dir / "CMakeCache.txt"
        if (self.dir / "build.ninja").exists() and f"CMAKE_CXX_FLAGS:STRING={self.flags}\n" in \
                cache.read_text(errors="replace"):
            return
        cmd = ["cmake", "-S", str(self.tree), "-B", str(self.dir), "-G", "Ninja",
               f"-DCMAKE_BUILD_TYPE={self.build_type}", f"-DCMAKE_CXX_FLAGS={self.flags}",
               "-DPMX_WERROR=OFF"]
        if run(cmd, WORK / f"{self.name}-configure.log") != 0:
            sys.exit(f"mutants: configuring {self.name} failed, see "
                     f"{(WORK / f'{self.name}-configure.log').relative_to(ROOT)}")

    def build(self, keep_going=False):
        cmd = ["ninja", "-C", str(self.dir), "-j", JOBS, "unit_tests"]
        if keep_going:
            cmd[1:1] = ["-k", "0"]
        return run(cmd, self.log) == 0

    def check(self, timeout):
        """Runs the unmutated tests; exits when they fail. Tests that take a tenth of a second
        or more run last from now on."""
        self.baseline, self.phases = None, [None]
        start = time.time()
        status, detail = unit_tests(self, None, timeout or 600)
        if status != "pass":
            sys.exit(f"mutants: the unmutated unit tests of {self.name} do not pass "
                     f"({status} {detail})")
        self.baseline = time.time() - start
        try:
            suites = json.loads((self.dir / "times.json").read_text())["testsuites"]
            slow = [f"{suite['name']}.{test['name']}" for suite in suites
                    for test in suite["testsuite"] if float(test["time"].rstrip("s")) >= 0.1]
        except (OSError, ValueError, KeyError):
            slow = []
        if slow:
            self.phases = ["-" + ":".join(slow), ":".join(slow)]
        self.slow = set(slow)
        return self.baseline

    def timeout(self, asked):
        return asked or max(10, 5 * self.baseline)


ALL_FAILURES = False  # --who-kills: run every test, not up to the first failure
RUNNING, RUNNING_LOCK, STOPPING = set(), threading.Lock(), threading.Event()
SANITIZER = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer): ([\w-]+)|runtime error: (.*)")


def unit_tests(build, number, timeout, tests=None, mutated=False):
    """Runs the unit tests of a build (or only `tests`, a list of names) with mutant `number`
    active (None: none; `mutated` when the build itself holds one), the slow tests last (most
    mutants fail a fast one first). Returns 'pass', 'fail' with the failing tests (or the first
    of them, or what crashed), 'timeout' or 'stopped' (the run was stopped from outside). A
    mutant's run that times out runs once more with twice the time, so that a machine busy with
    other work does not pass a survivor off as killed."""
    failures = []
    phases = build.phases
    if tests is not None:
        phases = [":".join(t for t in tests if (t in build.slow) == slow) for slow in (False, True)]
        phases = [p for p in phases if p]
    for tests in phases:
        status, detail = run_tests(build, number, timeout, tests)
        if status == "timeout" and (number is not None or mutated):  # busy, or a loop without end?
            status, detail = run_tests(build, number, 2 * timeout, tests)
        if status == "fail" and ALL_FAILURES and "." in detail:
            failures.append(detail)
            continue
        if status != "pass":
            return status, detail
    return ("fail", " ".join(failures)) if failures else ("pass", "")


def run_tests(build, number, timeout, tests):
    env = dict(os.environ)
    env.pop("PMX_MUTANT", None)
    if number is not None:
        env["PMX_MUTANT"] = str(number)
    sanitized = "sanitize" in build.flags
    cmd = [str(build.binary)] + ([] if sanitized else ["--gtest_brief=1"])
    if tests:
        cmd.append(f"--gtest_filter={tests}")
    if not ALL_FAILURES:
        cmd.append("--gtest_fail_fast")
    if number is None and build.baseline is None:  # the first run measures every test
        cmd.append(f"--gtest_output=json:{build.dir / 'times.json'}")
    if STOPPING.is_set():
        return "stopped", ""
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env,
                            start_new_session=True)  # Ctrl-C reaches this script alone
    with RUNNING_LOCK:
        RUNNING.add(proc)
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return ("stopped" if STOPPING.is_set() else "timeout"), ""
    finally:
        with RUNNING_LOCK:
            RUNNING.discard(proc)
    rc = proc.returncode
    if STOPPING.is_set() or -rc in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        return "stopped", ""  # not a mutant's doing
    if rc == 0:
        return "pass", ""
    text = out.decode(errors="replace")
    found = SANITIZER.search(text)
    if found:
        what = found.group(2) or found.group(3).strip()
        running = re.findall(r"\[ RUN      \] (\S+)", text[:found.start()])
        return "fail", what + (f" in {running[-1]}" if running else "")
    failed = sorted(set(re.findall(r"\[  FAILED  \] (\S+)\.(\S+?)[,\s]", text)))
    if not failed:  # a crash: the whole binary went down at one test
        return "fail", f"signal {-rc}" if rc < 0 else f"exit {rc}"
    return "fail", " ".join(f"{a}.{b}" for a, b in (failed if ALL_FAILURES else failed[:1]))


def stop_running():
    STOPPING.set()
    with RUNNING_LOCK:
        for proc in RUNNING:
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


RESULT = {"pass": "survived", "fail": "killed", "timeout": "timeout"}


def record(m, status, detail, sanitized=False):
    m.result, m.detail = RESULT[status], detail
    if sanitized and m.result != "survived":
        m.sanitized = True
        m.detail = "under ASan/UBSan" + (f": {detail}" if detail else "")


def show(n, total, m, seconds, quiet):
    if not quiet:
        detail = f" ({m.detail})" if m.detail else ""
        print(f"[{n}/{total}] {m.id} {m.where()} {m.op} [{m.mode}]: {m.result}{detail} "
              f"{seconds:.1f}s", flush=True)


# --- One mutant per build ---------------------------------------------------------------------


class OneByOne:
    """Applies one mutant at a time to build/mutants/tree and rebuilds there (and, for the
    survivors, also the ASan/UBSan build of that tree)."""

    def __init__(self, asked_timeout, sanitize):
        self.plain = Build("build", TREE, "-O1")
        self.asan = Build("build-asan", TREE, f"-O1 {ASAN_FLAGS}", "Debug") if sanitize else None
        self.asked_timeout, self.originals, self.dirty = asked_timeout, {}, set()

    def prepare(self, paths):
        """Copies the tree, configures, builds and checks that the unmutated tests pass."""
        sync_tree(TREE)
        if MUTATED.exists():  # restored in content, maybe not in the build: make Ninja rebuild them
            for rel in MUTATED.read_text().splitlines():
                if (TREE / rel).exists():
                    os.utime(TREE / rel)
        self.plain.configure()
        if not self.plain.build():
            sys.exit(f"mutants: the unmutated tree does not build, see {self.plain.log}")
        self.plain.check(self.asked_timeout)
        MUTATED.unlink(missing_ok=True)
        self.originals = {p: (TREE / p).read_bytes() for p in paths}

    def test(self, m):
        """Applies one mutant (restoring whatever the previous one changed), builds, tests."""
        for path in list(self.dirty):
            if path != m.path:
                write_if_changed(TREE / path, self.originals[path])
                self.dirty.discard(path)
        if m.path not in self.dirty:
            with open(MUTATED, "a") as record_file:
                record_file.write(m.path + "\n")
        self.dirty.add(m.path)
        lines = self.originals[m.path].decode("latin-1").split("\n")
        lines[m.line - 1] = m.new
        write_if_changed(TREE / m.path, "\n".join(lines).encode("latin-1"))
        if not self.plain.build():
            return "not built", ""
        if "no work to do" in self.plain.log.read_text(errors="replace"):
            sys.exit(f"mutants: {m.id} changed {m.path} but nothing was rebuilt "
                     "(a stale scratch build, or a header nothing includes)")
        status, detail = unit_tests(self.plain, None, self.plain.timeout(self.asked_timeout),
                                    mutated=True)
        if status != "pass" or self.asan is None:
            return status, detail
        # A survivor: the sanitizers may see what the tests miss.
        if self.asan.baseline is None:  # the first ASan/UBSan build, checked unmutated
            self.asan.configure()
            mutated = (TREE / m.path).read_bytes()
            write_if_changed(TREE / m.path, self.originals[m.path])
            if not self.asan.build():
                sys.exit(f"mutants: the unmutated tree does not build with ASan/UBSan, "
                         f"see {self.asan.log}")
            self.asan.check(self.asked_timeout)
            write_if_changed(TREE / m.path, mutated)
        if not self.asan.build():
            sys.exit(f"mutants: {m.id} builds, but not with ASan/UBSan: see {self.asan.log}")
        status, detail = unit_tests(self.asan, None, self.asan.timeout(self.asked_timeout),
                                    mutated=True)
        return status, detail, True

    def restore(self):
        for path in self.dirty:
            write_if_changed(TREE / path, self.originals[path])
        self.dirty.clear()

    def finish(self):
        """Puts every file back, rebuilds and retests: proves the last mutant did not stay in the
        build. False when that fails."""
        self.restore()
        try:
            restored = (self.plain.build()
                        and unit_tests(self.plain, None, self.plain.timeout(self.asked_timeout))[0]
                        == "pass")
        except KeyboardInterrupt:
            restored = False
        if restored:
            MUTATED.unlink(missing_ok=True)
        return restored


# --- Mutant schemata: every mutant in one build -----------------------------------------------

ASAN_FLAGS = "-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
SCHEMATA = WORK / "schemata"  # the generated tree and what it took to build it
PRELUDE = SCHEMATA / "prelude.h"
DEMOTED = SCHEMATA / "demoted.json"  # mutants whose switch did not compile, by file content
ERROR_AT = re.compile(r"^(/[^:\s]+):(\d+):(?:\d+:)? (?:(?:fatal )?error:|  +required from|"
                      r"  +in .constexpr. expansion)", re.M)


class Schemata:
    """Generates build/mutants/schemata/tree: the working tree with a run-time switch for every
    mutant that can take one (see schemata.py), and builds its unit tests once, plain and with
    ASan/UBSan. A switch that does not compile sends its mutant to the one-by-one mode."""

    def __init__(self, mutants, asked_timeout, sanitize):
        self.tree = SCHEMATA / "tree"
        flags = f"-include {PRELUDE}"
        self.plain = Build("schemata/build", self.tree, f"-O1 {flags}")
        self.asan = Build("schemata/asan", self.tree, f"-O1 {ASAN_FLAGS} {flags}", "Debug") \
            if sanitize else None
        self.asked_timeout = asked_timeout
        self.by_path, self.schemas, self.owners = {}, {}, {}
        for m in mutants:
            self.by_path.setdefault(m.path, []).append(m)
        self.by_id = {m.id: m for m in mutants}
        for path, group in self.by_path.items():
            text = (ROOT / path).read_text(encoding="latin-1")
            self.schemas[path] = schemata.Schema(text, mask(text), group)
        self.sited = {mid for s in self.schemas.values() for mid in s.sites_of}
        self.demoted = {}  # id -> why
        self.build_seconds = self.trace_seconds = 0.0
        self.tests_of = None  # id -> the tests that reach its switch (see trace)

    def kinds(self):
        count = {}
        for s in self.schemas.values():
            for mid, (kind, _, _) in s.sites_of.items():
                count[kind] = count.get(kind, 0) + 1
        return count

    def switched(self):
        return [m for m in self.by_id.values() if m.id in self.sited and m.id not in self.demoted]

    def _load_demoted(self):
        try:
            saved = json.loads(DEMOTED.read_text())
        except (OSError, ValueError):
            return
        for path, group in self.by_path.items():
            entry = saved.get(path)
            if entry and entry["hash"] == self._hash(path):
                keys = {tuple(k) for k in entry["keys"]}
                for m in group:
                    if m.key() in keys:
                        self.demoted[m.id] = "its switch did not compile before"

    def _save_demoted(self):
        try:
            saved = json.loads(DEMOTED.read_text())
        except (OSError, ValueError):
            saved = {}
        for path, group in self.by_path.items():
            keys = [list(m.key()) for m in group if m.id in self.demoted
                    and self.demoted[m.id].startswith("its switch did not compile")]
            entry = saved.get(path)
            if entry and entry["hash"] == self._hash(path):
                keys += [k for k in entry["keys"] if k not in keys]
            saved[path] = {"hash": self._hash(path), "keys": keys}
        DEMOTED.write_text(json.dumps(saved, indent=1))

    @staticmethod
    def _hash(path):
        return hashlib.sha1((ROOT / path).read_bytes()).hexdigest()

    def _generate(self):
        self.site_members = {}  # the number of a site's first mutant -> all its mutants
        for path, schema in self.schemas.items():
            while True:
                active = [mid for mid in schema.sites_of if mid not in self.demoted]
                try:
                    text, owners = schema.render(active)
                    break
                except schemata.Unplaced as e:
                    for mid in e.ids:
                        self.demoted[mid] = "its change crosses another switch"
            self.owners[path] = owners
            self.site_members.update(schema.site_members)
            write_if_changed(self.tree / path, text.encode("latin-1"))

    def prepare(self, quiet):
        """Generates the tree and builds it, handing the mutants whose switch does not compile to
        the one-by-one mode until it builds; then checks that no mutant active passes."""
        start = time.time()
        sync_tree(self.tree)
        PRELUDE.write_text(schemata.PRELUDE)
        self._load_demoted()
        self.plain.configure()
        for attempt in range(1, 9):
            self._generate()
            if self.plain.build(keep_going=True):
                break
            blamed, unowned = self._blame(self.plain.log.read_text(errors="replace"))
            if not blamed and not unowned:
                sys.exit(f"mutants: the schemata tree does not build, see {self.plain.log}")
            for mid in blamed:
                self.demoted[mid] = "its switch did not compile"
            for path in unowned if not blamed else ():  # an error no switch owns: the whole file
                for mid in self.schemas[path].sites_of:
                    self.demoted.setdefault(mid, "its switch did not compile (in its file)")
            if not quiet:
                print(f"mutants: {len(blamed)} switches do not compile"
                      + (f", nor files {' '.join(sorted(unowned))}" if not blamed else "")
                      + "; rebuilding without them", flush=True)
        else:
            sys.exit(f"mutants: the schemata tree does not build, see {self.plain.log}")
        self._save_demoted()
        self.build_seconds = time.time() - start
        self.plain.check(self.asked_timeout)

    def _blame(self, log):
        """The mutants that own the lines a compiler error names, and the generated files with
        errors on lines that no switch owns."""
        blamed, unowned = set(), set()
        for file, line in ERROR_AT.findall(log):
            try:
                rel = Path(os.path.normpath(file)).relative_to(self.tree).as_posix()
            except ValueError:
                continue
            owners = self.owners.get(rel)
            if owners is None:
                continue
            ids = owners[int(line) - 1] if int(line) <= len(owners) else set()
            if ids:
                blamed |= ids
            else:
                unowned.add(rel)
        return blamed, unowned

    def trace(self, quiet):
        """Runs every test alone, unmutated, noting the switches it reaches: a mutant then runs
        only the tests that reach it (the others cannot see it), and one that no test reaches
        survives without a run."""
        start = time.time()
        listing = subprocess.run([str(self.plain.binary), "--gtest_list_tests"],
                                 capture_output=True, text=True).stdout
        tests, suite = [], ""
        for line in listing.splitlines():
            if not line.startswith(" ") and line.rstrip().endswith("."):
                suite = line.strip()
            elif line.startswith("  ") and suite:
                tests.append(suite + line.split()[0])
        folder = SCHEMATA / "trace"
        folder.mkdir(exist_ok=True)

        def one(n):
            path = folder / f"{n}.txt"
            path.unlink(missing_ok=True)
            env = dict(os.environ, PMX_MUTANT_TRACE=str(path))
            env.pop("PMX_MUTANT", None)
            done = subprocess.run([str(self.plain.binary), f"--gtest_filter={tests[n]}"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
            if done.returncode != 0:
                return n, None
            if not path.exists():  # it reached no switch
                return n, set()
            return n, {mid for x in path.read_text().split()
                       for mid in self.site_members.get(int(x), ())}

        with concurrent.futures.ThreadPoolExecutor(max_workers=int(JOBS)) as pool:
            reached = dict(pool.map(one, range(len(tests))))
        if not tests or any(r is None for r in reached.values()):
            if not quiet:
                print("mutants: a test fails when run alone; every mutant runs every test",
                      flush=True)
            self.tests_of = None
            return
        self.tests_of = {mid: [] for mid in self.by_id}
        for n, test in enumerate(tests):
            for mid in reached[n]:
                if mid in self.tests_of:
                    self.tests_of[mid].append(test)
        self.trace_seconds = time.time() - start

    def run(self, chosen, build, done, counter, quiet, sanitized=False):
        """Runs the tests that reach each mutant once, two mutants at a time."""
        timeout = build.timeout(self.asked_timeout)

        def one(m):
            t = time.time()
            tests = self.tests_of[m.id] if self.tests_of is not None else None
            if tests == []:
                return m, ("pass", "no test reaches it"), 0.0
            return m, unit_tests(build, int(m.id[1:]), timeout, tests), time.time() - t

        pool = concurrent.futures.ThreadPoolExecutor(max_workers=int(JOBS))
        try:
            futures = [pool.submit(one, m) for m in chosen]
            for future in concurrent.futures.as_completed(futures):
                m, (status, detail), seconds = future.result()
                if status == "stopped":
                    raise KeyboardInterrupt
                record(m, status, detail, sanitized)
                if sanitized:  # a rerun of a survivor: shown only when caught now
                    if m.result != "survived":
                        show(counter[0], counter[1], m, seconds, quiet)
                    continue
                done.append(m)
                counter[0] += 1
                show(counter[0], counter[1], m, seconds, quiet)
        except KeyboardInterrupt:
            stop_running()
            raise
        finally:
            pool.shutdown(wait=True, cancel_futures=True)

    def sanitize(self, survivors, done, counter, quiet):
        """Reruns the survivors in the ASan/UBSan build of the same tree."""
        if not survivors or self.asan is None:
            return
        if not quiet:
            print(f"mutants: building the schemata tree with ASan/UBSan for the "
                  f"{len(survivors)} survivors", flush=True)
        start = time.time()
        self.asan.configure()
        if not self.asan.build():
            sys.exit(f"mutants: the schemata tree does not build with ASan/UBSan, "
                     f"see {self.asan.log}")
        self.build_seconds += time.time() - start
        self.asan.check(self.asked_timeout)
        self.run(survivors, self.asan, done, counter, quiet, sanitized=True)
        caught = sum(1 for m in survivors if m.result != "survived")
        if not quiet:
            print(f"mutants: ASan/UBSan caught {caught} of the {len(survivors)} survivors",
                  flush=True)


# --- Equivalent mutants -----------------------------------------------------------------------

EQUIVALENT = ROOT / "tests" / "mutants"  # one list a layer: settings.txt, pads.txt, ...
EQUIVALENT_HEADER = """\
# Equivalent mutants of src/{layer}/: changes that leave the program's behaviour as it was, so that
# no test can catch them. scripts/mutants leaves them out of the score (see README.md here).
"""


def equivalent_file(path):
    """The list that holds the equivalent mutants of a source file: one per layer."""
    return EQUIVALENT / f"{Path(path).parts[1]}.txt"


def read_equivalent():
    """{key: reason} of the committed lists."""
    found = {}
    for path in sorted(EQUIVALENT.glob("*.txt")):
        found.update(read_equivalent_file(path))
    return found


def read_equivalent_file(path):
    """{key: reason} of one list (see tests/mutants/README.md)."""
    found, entry = {}, None

    def close():
        if entry is not None:
            if entry[2] is None:
                sys.exit(f"mutants: {path.relative_to(ROOT)}:{entry[5]}: an entry needs a "
                         "'  - ' and a '  + ' line")
            found[tuple(entry[:4])] = entry[4]

    if not path.exists():
        return found
    for no, line in enumerate(path.read_text().split("\n"), start=1):
        if not line.strip() or line.startswith("#"):
            continue
        head = re.fullmatch(r"(?:M\d+ )?(\S+?)(?::\d+)?(?: [a-z]+)?(?: #(\d+))?\s*", line)
        if head and not line[0].isspace():
            close()
            entry = [head.group(1), None, None, int(head.group(2) or 1), "", no]
        elif entry and line.startswith("  - ") and entry[1] is None:
            entry[1] = line[4:].strip()
        elif entry and line.startswith("  + ") and entry[1] is not None and entry[2] is None:
            entry[2] = line[4:].strip()
        elif entry and entry[2] is not None and line.strip().startswith("why:"):
            entry[4] = line.split("why:", 1)[1].strip()
        else:
            sys.exit(f"mutants: {path.relative_to(ROOT)}:{no}: not part of an entry: {line!r}")
    close()
    return found


def record_equivalent(survivors):
    known = read_equivalent()
    added = [m for m in survivors if m.key() not in known]
    for m in added:
        path, old, new, nth = m.key()
        target = equivalent_file(path)
        text = (target.read_text() if target.exists()
                else EQUIVALENT_HEADER.format(layer=Path(path).parts[1]))
        text += f"\n{path}" + (f" #{nth}" if nth > 1 else "") + f"\n  - {old}\n  + {new}\n  why:\n"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_text(text)
    return len(added)


# --- Reporting --------------------------------------------------------------------------------


def fmt_time(seconds):
    seconds = int(seconds)
    return f"{seconds // 3600}h{seconds // 60 % 60:02d}m{seconds % 60:02d}s"


def verdict(done, equivalent, finished, total):
    new = [m for m in done if m.result == "survived" and m.key() not in equivalent]
    text = ("no new survivors" if not new else f"{len(new)} new survivor"
            + ("s" if len(new) > 1 else "") + ": "
            + ", ".join(f"{m.id} {m.where()} {m.op}" for m in new))
    if not finished:
        text += f" (interrupted: {len(done)} of {total} mutants ran)"
    return text, new


def summary(done, total, selection, elapsed, finished, stats, equivalent, everything_ran):
    results = ("killed", "survived", "timeout", "not built")
    count = {r: sum(1 for m in done if m.result == r) for r in results}
    equiv = [m for m in done if m.result == "survived" and m.key() in equivalent]
    survivors = [m for m in done if m.result == "survived" and m.key() not in equivalent]
    sanitized = sum(1 for m in done if m.sanitized)
    scored = count["killed"] + count["timeout"] + len(survivors)
    score = 100.0 * (count["killed"] + count["timeout"]) / scored if scored else 0.0
    out = [f"mutation testing of the portable core: {selection}",
           f"run time {fmt_time(elapsed)}"
           + ("" if finished else f"; INTERRUPTED after {len(done)} of {total}")]
    out += stats
    out += ["",
            f"mutants     {len(done)}",
            f"killed      {count['killed']}"
            + (f"  ({sanitized} of them only under ASan/UBSan)" if sanitized else ""),
            f"survived    {len(survivors)}",
            f"equivalent  {len(equiv)}  (survivors listed in "
            f"{EQUIVALENT.relative_to(ROOT)}/, left out of the score)",
            f"timeouts    {count['timeout']}  (count as killed; each timed out twice, the second "
            "time with twice the time)",
            f"not built   {count['not built']}  (left out of the score)",
            f"score       {score:.1f}%  (killed and timeouts / built mutants that are not "
            "equivalent)",
            "", f"survivors ({len(survivors)}):"]
    for m in survivors:
        out += [m.title(), f"  - {m.old.strip()}", f"  + {m.new.strip()}"]
        out += [f"  ({m.detail})"] if m.detail else []
    out += ["", f"equivalent ({len(equiv)}):"]
    out += [f"{m.title()}: {equivalent[m.key()] or '(no reason given)'}" for m in equiv]
    killed_equiv = [m for m in done if m.result in ("killed", "timeout") and m.key() in equivalent]
    if killed_equiv:
        out += ["", f"listed as equivalent but killed ({len(killed_equiv)}; take them off the "
                "list):"] + [f"{m.title()}" for m in killed_equiv]
    if everything_ran:
        keys = {m.key() for m in done}
        stale = [k for k in equivalent if k not in keys]
        if stale:
            out += ["", f"listed as equivalent but no such mutant any more ({len(stale)}; take "
                    "them off the list):"]
            for path, old, new, nth in stale:
                out += [path + (f" #{nth}" if nth > 1 else ""), f"  - {old}", f"  + {new}"]
    if sanitized:
        out += ["", f"killed only under ASan/UBSan ({sanitized}):"]
        out += [f"{m.title()}: {m.detail}" for m in done if m.sanitized]
    for label, result in (("timeouts", "timeout"), ("not built", "not built")):
        ids = [f"{m.id} {m.where()} {m.op}" for m in done if m.result == result]
        out += ["", f"{label} ({len(ids)}):"] + ids
    return "\n".join(out) + "\n"


def who_kills(done):
    """For --who-kills: each test with the mutants it kills, and those no other test kills. A test
    that kills nothing alone is a candidate for merging into another; a crash counts for nobody."""
    kills = {}
    for m in done:
        if m.result == "killed" and "." in m.detail and not m.sanitized:
            for test in m.detail.split():
                kills.setdefault(test, set()).add(m.id)
    out = ["", "who kills what (tests in order of the mutants only they kill):"]
    rows = []
    for test, ids in kills.items():
        alone = sorted(i for i in ids if all(i not in v for t, v in kills.items() if t != test))
        rows.append((len(alone), len(ids), test, alone))
    for alone, total, test, ids in sorted(rows, key=lambda r: (-r[0], -r[1], r[2])):
        out.append(f"{alone:4d} alone {total:4d} in all  {test}"
                   + (f"  ({' '.join(ids)})" if ids else ""))
    return "\n".join(out) + "\n"


def read_report(report):
    """The score line and the survivors of a report, these as {key: title} (see Mutant.key)."""
    lines, found = Path(report).read_text().split("\n"), {}
    score = next((line for line in lines if line.startswith("score")), "score unknown")
    start = next((i for i, line in enumerate(lines) if line.startswith("survivors (")), len(lines))
    for i in range(start + 1, len(lines)):
        if not lines[i].strip():
            break
        m = re.match(r"M\d+ (\S+):\d+ \w+(?: #(\d+))?$", lines[i])
        if m and i + 2 < len(lines) and lines[i + 1].startswith("  - "):
            key = (m.group(1), lines[i + 1][4:], lines[i + 2][4:], int(m.group(2) or 1))
            found[key] = lines[i]
    return score, found


def compare(old_report, new_report, done):
    old_score, old = read_report(old_report)
    new_score, _ = read_report(new_report)
    new = {m.key(): m.title() for m in done if m.result == "survived"}
    tested = {m.key() for m in done}
    print(f"\ncompared with {old_report}:\n  before: {old_score}\n  now:    {new_score}")
    gone = [k for k in old if k not in new and k in tested]
    print(f"killed now, survived before ({len(gone)}):")
    for k in gone:
        print(f"  {old[k]}\n    - {k[1]}\n    + {k[2]}")
    fresh = [k for k in new if k not in old]
    print(f"survive now, not a survivor before ({len(fresh)}):")
    for k in fresh:
        print(f"  {new[k]}\n    - {k[1]}\n    + {k[2]}")


def write_results(done):
    """Every mutant's result, one a line, for comparing runs mutant by mutant."""
    with open(RESULTS, "w") as out:
        for m in sorted(done, key=lambda m: m.id):
            out.write(f"{m.id}\t{m.mode}\t{m.result}\t{m.detail}\t{m.path}\t{m.nth}\t"
                      f"{m.old.strip()}\t{m.new.strip()}\n")


def main():
    ap = argparse.ArgumentParser(
        prog="scripts/mutants", description=__doc__.split("\n\n")[0],
        epilog="operators: cmp (== != < >= > <= flipped), boundary (< <=, > >=), logic (&& ||), "
        "not (a ! dropped), if (a condition negated), int (a literal +1 or -1), bool (true false), "
        "arith (+ -, * /), call (a call statement deleted). Results: killed, survived, timeout "
        "(counts as killed), not built (left out of the score); survivors listed in "
        "tests/mutants/ are left out of the score too.")
    ap.add_argument("--list", action="store_true",
                    help="print the mutants (and how each is built) without running them")
    ap.add_argument("--files", metavar="REGEX",
                    help="only files whose path matches, e.g. 'pads/|Keystrokes'")
    ap.add_argument("--ops", metavar="OPS", help="only these operators, e.g. cmp,boundary,call")
    ap.add_argument("--ids", metavar="IDS", help="only these mutants, e.g. M0012,M0040")
    ap.add_argument("--sample", type=int, metavar="N",
                    help="a deterministic random subset of N mutants")
    ap.add_argument("--seed", type=int, default=1, help="seed of --sample (default 1)")
    ap.add_argument("--limit", type=int, metavar="N", help="only the first N mutants")
    ap.add_argument("--timeout", type=int,
                    help="seconds per unit-test run (default: 5 times an unmutated run, at "
                    "least 10)")
    ap.add_argument("--one-by-one", action="store_true",
                    help="build every mutant on its own (slow; checks a mutant alone)")
    ap.add_argument("--no-sanitizers", action="store_true",
                    help="do not rerun the survivors under ASan/UBSan")
    ap.add_argument("--compare", metavar="OLD_REPORT",
                    help="list what changed against an earlier report")
    ap.add_argument("--who-kills", action="store_true",
                    help="run every test on each mutant; list which tests kill what, and what "
                    "only they kill")
    ap.add_argument("--check", action="store_true",
                    help="print only the verdict: whether any survivor is not in the list of "
                    "equivalent mutants (exit status 1 if so)")
    ap.add_argument("--record-equivalent", action="store_true",
                    help="append the survivors that are not listed yet to "
                    "the list of its layer in tests/mutants/, each with an empty reason to fill in")
    args = ap.parse_args()
    global ALL_FAILURES
    ALL_FAILURES = args.who_kills

    everything = find_mutants()
    chosen, how = everything, []
    if args.files:
        chosen = [m for m in chosen if re.search(args.files, m.path)]
        how.append(f"files ~ {args.files!r}")
    if args.ops:
        chosen = [m for m in chosen if m.op in args.ops.split(",")]
        how.append(f"operators {args.ops}")
    if args.ids:
        chosen = [m for m in chosen if m.id in args.ids.split(",")]
        how.append(f"ids {args.ids}")
    if args.sample is not None and args.sample < len(chosen):
        picked = set(m.id for m in random.Random(args.seed).sample(chosen, args.sample))
        chosen = [m for m in chosen if m.id in picked]
        how.append(f"a random sample, seed {args.seed}")
    if args.limit is not None:
        chosen = chosen[:args.limit]
        how.append(f"the first {args.limit}")
    selection = f"{len(chosen)} of {len(everything)} mutants"
    selection += f" ({'; '.join(how)})" if how else ""
    equivalent = read_equivalent()
    quiet = args.check
    sanitize = not args.no_sanitizers

    if args.list:
        sch = None if args.one_by_one else Schemata(chosen, None, False)
        for m in chosen:
            mode = "one-by-one" if sch is None or m.id not in sch.sited else \
                sch.schemas[m.path].sites_of[m.id][0]
            print(f"{m.title()} [{mode}]\n  - {m.old.strip()}\n  + {m.new.strip()}")
        print(selection)
        return 0

    WORK.mkdir(parents=True, exist_ok=True)
    (WORK / "schemata").mkdir(exist_ok=True)
    lock = open(WORK / "lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)  # one run at a time: they share the tree
    except OSError:
        sys.exit("mutants: another run is using build/mutants/")
    start = time.time()
    if not quiet:
        print(f"mutants: {selection}; preparing the scratch builds in "
              f"{WORK.relative_to(ROOT)}/", flush=True)
    done, finished, stats = [], False, []
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # stopped: still report
    if signal.getsignal(signal.SIGHUP) != signal.SIG_IGN:  # respect nohup
        signal.signal(signal.SIGHUP, signal.default_int_handler)
    ob, restored = None, True
    counter = [0, len(chosen)]
    try:
        rest = chosen
        if not args.one_by_one:
            sch = Schemata(chosen, args.timeout, sanitize)
            sch.prepare(quiet)
            switched = sch.switched()
            ids = {m.id for m in switched}
            rest = [m for m in chosen if m.id not in ids]
            for m in switched:
                m.mode = "schemata"
            kinds = ", ".join(f"{k} {n}" for k, n in sorted(sch.kinds().items()))
            stats.append(f"schemata: {len(switched)} mutants in one build ({kinds}; "
                         f"{len(sch.sited) - len(switched)} of these switches did not compile), "
                         f"{len(rest)} one by one")
            if not quiet:
                print(f"mutants: {stats[-1]}\nmutants: schemata built in "
                      f"{fmt_time(sch.build_seconds)}; unmutated unit tests pass "
                      f"({sch.plain.baseline:.1f} s)", flush=True)
            sch.trace(quiet)
            if sch.tests_of is not None:
                unreached = sum(1 for m in switched if not sch.tests_of[m.id])
                stats.append(f"tests: each run alone to see which switches it reaches "
                             f"({sch.trace_seconds:.1f} s); a mutant runs only the tests that "
                             f"reach it; {unreached} mutants no test reaches")
                if not quiet:
                    print(f"mutants: {stats[-1]}", flush=True)
            t = time.time()
            sch.run(switched, sch.plain, done, counter, quiet)
            stats.append(f"runs: {fmt_time(time.time() - t)} for the {len(switched)} mutants "
                         "in one build")
            survivors = [m for m in switched if m.result == "survived"]
            t = time.time()
            sch.sanitize(survivors, done, counter, quiet)
            if sch.asan is not None and survivors:
                caught = sum(1 for m in survivors if m.result != "survived")
                stats.append(f"ASan/UBSan: {fmt_time(time.time() - t)} to build and rerun the "
                             f"{len(survivors)} survivors; {caught} caught")
            stats.insert(1, f"builds: {fmt_time(sch.build_seconds)} for the schemata tree"
                         + (" (plain and ASan/UBSan)" if sch.asan and sch.asan.baseline else "")
                         + f"; an unmutated run of the unit tests {sch.plain.baseline:.1f} s")
        if rest:
            for m in rest:
                m.mode = "one-by-one"
            ob = OneByOne(args.timeout, sanitize)
            ob.prepare({m.path for m in rest})
            t0 = time.time()
            for m in rest:
                t = time.time()
                outcome = ob.test(m)
                if outcome[0] == "stopped":
                    raise KeyboardInterrupt
                if outcome[0] == "not built":
                    m.result = "not built"
                else:
                    record(m, *outcome)
                done.append(m)
                counter[0] += 1
                show(counter[0], counter[1], m, time.time() - t, quiet)
            stats.append(f"one by one: {len(rest)} mutants in {fmt_time(time.time() - t0)}")
        finished = True
    except KeyboardInterrupt:
        stop_running()
        print("\nmutants: interrupted; the summary covers the finished mutants", flush=True)
    if ob is not None:
        restored = ob.finish()

    everything_ran = finished and len(chosen) == len(everything)
    text = summary(done, len(chosen), selection, time.time() - start, finished, stats,
                   equivalent, everything_ran)
    if args.who_kills:
        text += who_kills(done)
    if not restored:
        text += ("\nWARNING: the restored tree does not pass its unit tests; "
                 "the results cannot be trusted\n")
    line, new = verdict(done, equivalent, finished, len(chosen))
    text += "\n" + line + "\n"
    REPORT.write_text(text)
    write_results(done)
    if quiet:
        print(line)
    else:
        print("\n" + text + f"report: {REPORT.relative_to(ROOT)}")
    if args.compare and not quiet:
        compare(args.compare, REPORT, done)
    if args.record_equivalent:
        added = record_equivalent([m for m in done if m.result == "survived"])
        print(f"mutants: {added} survivors appended to the lists in "
              f"{EQUIVALENT.relative_to(ROOT)}/ (each needs its reason)")
    if not (restored and finished):
        return 1
    return 1 if args.check and new else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except BrokenPipeError:  # --list | head
        sys.exit(0)
