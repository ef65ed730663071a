"""Holds a report of the panel check (PMXTouchKeyboardCheck.exe) against the cases in the sources:
scripts/test runs it on the check's run from the release package, and on its run against a
keyboard that only announces itself.

    python3 scripts/lib/check_report.py passed <report folder>
    python3 scripts/lib/check_report.py failed <report folder> <report folder of the passing run>

passed: the JUnit XML and report.txt name every case of tests/e2e/*_cases.cpp and no other, none
failed, and every picture the report lists is a PNG in the folder, of all four pads. failed: the
same cases named, and every case that showed a pad in the passing run failed, named as FAILED in
report.txt. Prints one line of counts; exits 1 with what is wrong.
"""

import re
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
PADS = {"FNumPad", "FHexPad", "FBinPad", "FAlphaPad"}


def source_cases():
    cases = set()
    for source in (ROOT / "tests/e2e").glob("*_cases.cpp"):
        for suite, name in re.findall(r"^TEST\((\w+), (\w+)\)", source.read_text(), re.M):
            cases.add(f"{suite}.{name}")
    return cases


def read(folder):
    """The cases of the XML with their results, and report.txt's results and pictures by case."""
    xml = {}
    for case in ET.parse(folder / "junit.xml").getroot().iter("testcase"):
        result = "passed"
        if case.find("failure") is not None:
            result = "FAILED"
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            result = "skipped"
        xml[f"{case.get('classname')}.{case.get('name')}"] = result
    report, pictures, current = {}, {}, None
    for line in (folder / "report.txt").read_text().splitlines():
        m = re.match(r"(passed|FAILED|skipped) +[0-9.]+ s  (\S+)$", line)
        if m:
            current = m.group(2)
            report[current] = m.group(1)
            pictures[current] = []
        elif current and line.strip().endswith(".png"):
            pictures[current].append(line.strip())
    return xml, report, pictures


def png_size(path):
    data = path.read_bytes()[:24] if path.is_file() else b""
    if len(data) < 24 or data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def main():
    mode, folder = sys.argv[1], Path(sys.argv[2])
    missing = [f for f in ("junit.xml", "report.txt") if not (folder / f).is_file()]
    if missing:
        print(f"check_report: no {' and no '.join(missing)} in {folder}")
        return 1
    expected = source_cases()
    xml, report, pictures = read(folder)
    faults = []
    for what, found in (("junit.xml", set(xml)), ("report.txt", set(report))):
        faults += [f"{what} lacks {c}" for c in sorted(expected - found)]
        faults += [f"{what} names {c}, which is no case" for c in sorted(found - expected)]
    faults += [f"{c}: {xml[c]} in junit.xml, {report[c]} in report.txt"
               for c in sorted(set(xml) & set(report)) if xml[c] != report[c]]
    for line in ("Windows:", "Screen:", "Keyboard layout:", "Touch:"):
        if line not in (folder / "report.txt").read_text():
            faults.append(f"report.txt says nothing after {line}")
    failed = sorted(c for c, r in xml.items() if r == "FAILED")
    if mode == "passed":
        faults += [f"{c} failed" for c in failed]
        shown = set()
        for case, files in pictures.items():
            for name in files:
                size = png_size(folder / name)
                if not size or 0 in size:
                    faults.append(f"{case}: {name} is no picture")
                shown.add(name.rsplit("-", 1)[-1][:-4])
        faults += [f"no picture of a {pad}" for pad in sorted(PADS - shown)]
        summary = (f"{len(xml)} cases, {len(xml) - len(failed)} passed, "
                   f"{sum(len(f) for f in pictures.values())} pictures")
    else:
        _, _, reference = read(Path(sys.argv[3]))
        showed = {c for c, files in reference.items() if files}
        faults += [f"{c} passed with a keyboard that shows no pad" for c in sorted(showed)
                   if xml.get(c) != "FAILED"]
        if not failed:
            faults.append("no case failed")
        summary = f"{len(failed)} of {len(xml)} cases failed: {', '.join(failed)}"
    for fault in faults:
        print(f"check_report: {fault}")
    print(summary)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
