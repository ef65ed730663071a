"""Mutation testing of the portable core; scripts/mutants runs this after installing what it needs.

Finds small faults ("mutants") in the portable core (src/ but the seam and the Windows shell),
applies them one at a time to a copy of the tree in build/mutants/tree, rebuilds the unit tests
there and runs them. A mutant the tests notice is killed; one they miss survived and shows a gap in the tests (or is
equivalent: a change no test could see). The working tree is only read.

Mutant ids are numbers in the order file, line, column, operator, so the same tree gives the
same ids. The report (build/mutants/report.txt) lists the survivors in a stable form that
--compare (or plain diff) can match against an earlier report.
"""

import argparse
import fcntl
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CORE_DIRS = ["src/common", "src/controls", "src/layouts", "src/settings", "src/pads",
             "src/pad_manager", "src/app"]
WORK = ROOT / "build" / "mutants"
TREE = WORK / "tree"  # the scratch copy of the sources
BUILD = WORK / "build"
REPORT = WORK / "report.txt"
MUTATED = WORK / "mutated.txt"  # files whose objects may still hold a mutant (a run was stopped)
JOBS = "2"

# --- Finding mutants ------------------------------------------------------------------------


class Mutant:
    def __init__(self, path, line, col, op, old, new):
        self.path, self.line, self.col, self.op = path, line, col, op
        self.old, self.new = old, new  # the whole line before and after
        self.id, self.nth = "", 1  # nth: the same change on an identical line of the file
        self.result, self.detail = "", ""

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
        m.nth = seen_keys[m.key()] = seen_keys.get(m.key(), 0) + 1
    return mutants


# --- Building and testing in the scratch tree -------------------------------------------------


def sync_tree():
    """Makes build/mutants/tree a copy of the working tree (without build/ and .git), writing only
    files whose content differs so that the scratch build stays incremental."""
    wanted = set()
    for dirpath, dirnames, filenames in os.walk(ROOT):
        rel_dir = Path(dirpath).relative_to(ROOT)
        skip = {"build", "out"} if rel_dir == Path(".") else set()
        dirnames[:] = sorted(d for d in dirnames if not d.startswith(".") and d not in skip)
        for name in filenames:
            rel = rel_dir / name
            wanted.add(rel)
            write_if_changed(TREE / rel, (ROOT / rel).read_bytes())
    for dirpath, _, filenames in os.walk(TREE):
        for name in filenames:
            path = Path(dirpath) / name
            if path.relative_to(TREE) not in wanted:
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


def build():
    return run(["ninja", "-C", str(BUILD), "-j", JOBS, "unit_tests"], WORK / "build.log") == 0


ALL_FAILURES = False  # --who-kills: run every test, not up to the first failure


def unit_tests(timeout):
    """'pass', 'fail' (with the failing tests, or the first of them) or 'timeout'."""
    log = WORK / "test.log"
    cmd = [str(BUILD / "tests" / "unit" / "unit_tests"), "--gtest_brief=1"]
    if not ALL_FAILURES:
        cmd.append("--gtest_fail_fast")
    try:
        rc = run(cmd, log, timeout)
    except subprocess.TimeoutExpired:
        return "timeout", ""
    if rc == 0:
        return "pass", ""
    if -rc in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):  # not a mutant's doing: stop
        raise KeyboardInterrupt
    text = log.read_text(errors="replace")
    failed = sorted(set(re.findall(r"\[  FAILED  \] (\S+)\.(\S+?)[,\s]", text)))
    if not failed:  # a crash: the whole binary went down at one test
        return "fail", f"signal {-rc}" if rc < 0 else f"exit {rc}"
    return "fail", " ".join(f"{a}.{b}" for a, b in (failed if ALL_FAILURES else failed[:1]))


def prepare(timeout):
    """Copies the tree, configures once, builds and checks that the unmutated tests pass."""
    sync_tree()
    if MUTATED.exists():  # restored in content, maybe not in the build: make Ninja rebuild them
        for rel in MUTATED.read_text().splitlines():
            if (TREE / rel).exists():
                os.utime(TREE / rel)
    if not (BUILD / "build.ninja").exists():
        cmd = ["cmake", "-S", str(TREE), "-B", str(BUILD), "-G", "Ninja",
               "-DCMAKE_BUILD_TYPE=", "-DCMAKE_CXX_FLAGS=-O0", "-DPMX_WERROR=OFF"]
        if run(cmd, WORK / "configure.log") != 0:
            sys.exit(f"mutants: configuring failed, see {WORK / 'configure.log'}")
    if not build():
        sys.exit(f"mutants: the unmutated tree does not build, see {WORK / 'build.log'}")
    start = time.time()
    status, detail = unit_tests(timeout)
    if status != "pass":
        sys.exit(f"mutants: the unmutated unit tests do not pass ({status} {detail}), "
                 f"see {WORK / 'test.log'}")
    MUTATED.unlink(missing_ok=True)
    return time.time() - start


def test_mutant(m, originals, dirty, timeout):
    """Applies one mutant (restoring whatever the previous one changed), builds, tests."""
    for path in list(dirty):
        if path != m.path:
            write_if_changed(TREE / path, originals[path])
            dirty.discard(path)
    if m.path not in dirty:
        with open(MUTATED, "a") as record:
            record.write(m.path + "\n")
    dirty.add(m.path)
    lines = originals[m.path].decode("latin-1").split("\n")
    lines[m.line - 1] = m.new
    write_if_changed(TREE / m.path, "\n".join(lines).encode("latin-1"))
    if not build():
        return "not built", ""
    if "no work to do" in (WORK / "build.log").read_text(errors="replace"):
        sys.exit(f"mutants: {m.id} changed {m.path} but nothing was rebuilt "
                 "(a stale scratch build, or a header nothing includes)")
    status, detail = unit_tests(timeout)
    return {"pass": "survived", "fail": "killed", "timeout": "timeout"}[status], detail


# --- Reporting --------------------------------------------------------------------------------


def fmt_time(seconds):
    seconds = int(seconds)
    return f"{seconds // 3600}h{seconds // 60 % 60:02d}m{seconds % 60:02d}s"


def summary(done, total, selection, elapsed, finished):
    results = ("killed", "survived", "timeout", "not built")
    count = {r: sum(1 for m in done if m.result == r) for r in results}
    built = count["killed"] + count["survived"] + count["timeout"]
    score = 100.0 * (count["killed"] + count["timeout"]) / built if built else 0.0
    out = [f"mutation testing of the portable core: {selection}",
           f"run time {fmt_time(elapsed)}"
           + ("" if finished else f"; INTERRUPTED after {len(done)} of {total}"),
           "",
           f"mutants    {len(done)}",
           f"killed     {count['killed']}",
           f"survived   {count['survived']}",
           f"timeouts   {count['timeout']}  (count as killed)",
           f"not built  {count['not built']}  (left out of the score)",
           f"score      {score:.1f}%  (killed and timeouts / built mutants)",
           "", f"survivors ({count['survived']}):"]
    for m in (m for m in done if m.result == "survived"):
        out += [m.title(), f"  - {m.old.strip()}", f"  + {m.new.strip()}"]
    for label, result in (("timeouts", "timeout"), ("not built", "not built")):
        ids = [f"{m.id} {m.where()} {m.op}" for m in done if m.result == result]
        out += ["", f"{label} ({len(ids)}):"] + ids
    return "\n".join(out) + "\n"


def who_kills(done):
    """For --who-kills: each test with the mutants it kills, and those no other test kills. A test
    that kills nothing alone is a candidate for merging into another; a crash counts for nobody."""
    kills = {}
    for m in done:
        if m.result == "killed" and "." in m.detail:
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
    for i, line in enumerate(lines):
        m = re.match(r"M\d+ (\S+):\d+ \w+(?: #(\d+))?$", line)
        if m and i + 2 < len(lines) and lines[i + 1].startswith("  - "):
            key = (m.group(1), lines[i + 1][4:], lines[i + 2][4:], int(m.group(2) or 1))
            found[key] = line
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


def main():
    ap = argparse.ArgumentParser(
        prog="scripts/mutants", description=__doc__.split("\n\n")[0],
        epilog="operators: cmp (== != < >= > <= flipped), boundary (< <=, > >=), logic (&& ||), "
        "not (a ! dropped), if (a condition negated), int (a literal +1 or -1), bool (true false), "
        "arith (+ -, * /), call (a call statement deleted). Results: killed, survived, timeout "
        "(counts as killed), not built (left out of the score).")
    ap.add_argument("--list", action="store_true", help="print the mutants without running them")
    ap.add_argument("--files", metavar="REGEX",
                    help="only files whose path matches, e.g. 'pads/|Keystrokes'")
    ap.add_argument("--ops", metavar="OPS", help="only these operators, e.g. cmp,boundary,call")
    ap.add_argument("--ids", metavar="IDS", help="only these mutants, e.g. M0012,M0040")
    ap.add_argument("--sample", type=int, metavar="N",
                    help="a deterministic random subset of N mutants")
    ap.add_argument("--seed", type=int, default=1, help="seed of --sample (default 1)")
    ap.add_argument("--limit", type=int, metavar="N", help="only the first N mutants")
    ap.add_argument("--timeout", type=int, default=60,
                    help="seconds per unit-test run (default 60)")
    ap.add_argument("--compare", metavar="OLD_REPORT",
                    help="list what changed against an earlier report")
    ap.add_argument("--who-kills", action="store_true",
                    help="run every test on each mutant; list which tests kill what, and what "
                    "only they kill")
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

    if args.list:
        for m in chosen:
            print(f"{m.title()}\n  - {m.old.strip()}\n  + {m.new.strip()}")
        print(selection)
        return 0

    WORK.mkdir(parents=True, exist_ok=True)
    lock = open(WORK / "lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)  # one run at a time: they share the tree
    except OSError:
        sys.exit("mutants: another run is using build/mutants/")
    start = time.time()
    print(f"mutants: {selection}; preparing the scratch build in {WORK.relative_to(ROOT)}/",
          flush=True)
    base = prepare(args.timeout)
    print(f"mutants: unmutated unit tests pass ({base:.1f} s)", flush=True)
    originals = {p: (TREE / p).read_bytes() for p in {m.path for m in chosen}}
    dirty, done, finished = set(), [], False
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # stopped: still report
    if signal.getsignal(signal.SIGHUP) != signal.SIG_IGN:  # respect nohup
        signal.signal(signal.SIGHUP, signal.default_int_handler)
    try:
        for n, m in enumerate(chosen, start=1):
            t = time.time()
            m.result, m.detail = test_mutant(m, originals, dirty, args.timeout)
            done.append(m)
            detail = f" ({m.detail})" if m.detail else ""
            print(f"[{n}/{len(chosen)}] {m.id} {m.where()} {m.op}: {m.result}{detail} "
                  f"{time.time() - t:.0f}s", flush=True)
        finished = True
    except KeyboardInterrupt:
        print("\nmutants: interrupted; the summary covers the finished mutants", flush=True)
    # Put every file back, rebuild and retest: proves the last mutant did not stay in the build.
    for path in dirty:
        write_if_changed(TREE / path, originals[path])
    try:
        restored = build() and unit_tests(args.timeout)[0] == "pass"
    except KeyboardInterrupt:
        restored = False
    if restored:
        MUTATED.unlink(missing_ok=True)

    text = summary(done, len(chosen), selection, time.time() - start, finished)
    if args.who_kills:
        text += who_kills(done)
    if not restored:
        text += ("\nWARNING: the restored tree does not pass its unit tests; "
                 "the results cannot be trusted\n")
    REPORT.write_text(text)
    print("\n" + text + f"report: {REPORT.relative_to(ROOT)}")
    if args.compare:
        compare(args.compare, REPORT, done)
    return 0 if restored and finished else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except BrokenPipeError:  # --list | head
        sys.exit(0)
