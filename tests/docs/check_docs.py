"""The documents name only what exists: every file, script option, switch, message, section,
environment variable and keystroke name that README.md, docs/settings.md and docs/integration.md
write in a code span is held against the tree. A cheap guard against stale documents, run with the
unit tests; it prints each claim it cannot find and fails.

With --pad-table PROGRAM it also holds the integrator's table of field types, value formats and
pads against the keyboard's own choice, which PROGRAM prints as lines "type format pad".
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DOCUMENTS = ["README.md", "docs/settings.md", "docs/integration.md"]
FOLDERS = ("scripts/", "src/", "include/", "docs/", "examples/", "tools/", "bench/", "fuzz/", "soak/", "tests/")
OUTPUTS = ("build/", "dist/")  # made by the scripts, not in the tree


def text_of(*globs):
    return "\n".join(p.read_text(errors="replace") for g in globs for p in ROOT.glob(g)
                     if p.is_file())


SOURCES = text_of("src/**/*.h", "src/**/*.cpp", "include/*.h", "examples/**/*.cpp",
                  "tools/panel_check/*.cpp", "src/CMakeLists.txt", "CMakeLists.txt")
SCRIPTS = text_of("scripts/*", "scripts/lib/*")
KEYSTROKES = text_of("src/controls/Keystrokes.cpp")


def claims(span):
    """What a code span says exists: (what, found) pairs; nothing for spans that claim nothing."""
    words = span.split()
    first = words[0] if words else ""
    if first.startswith(OUTPUTS):
        return []
    if first.startswith(FOLDERS) or first in ("CMakeLists.txt",):
        path = re.split(r"[<*]", first)[0]
        out = [(path, (ROOT / path).exists())]
        if first.startswith("scripts/") and (ROOT / first).is_file():
            script = (ROOT / first).read_text(errors="replace") + SCRIPTS
            for word in words[1:]:
                if re.fullmatch(r"--[a-z-]+|[a-z0-9]+", word):
                    out.append((f"{first} {word}", word in script))
        return out
    if re.fullmatch(r"--[a-z-]+", first):
        return [(first, first in SCRIPTS)]
    out = []
    for switch in re.findall(r"(?:^|\s)(/[A-Za-z]+)[:=]", " " + span):
        out.append((switch, f'"{switch}' in SOURCES))
    for name in re.findall(r"\bQDM[0-9A-Z_]+\b|\bPMX_[A-Z_]+\b|\bQD4TouchKeyboard\.ini\b", span):
        out.append((name, name in SOURCES))
    section = re.fullmatch(r"\[([A-Z][A-Za-z]*)\]", span)
    if section:
        out.append((span, f'"{section.group(1)}"' in SOURCES))
    for key in re.findall(r"\{([A-Z]+[0-9]*)(?: [0-9]+)?\}", span):
        out.append((f"{{{key}}}", f'"{key}"' in KEYSTROKES or key.rstrip("0123456789") == "F"))
    return out


PADS = {"decimal": 0, "alphanumeric": 1, "hexadecimal": 2, "binary": 3, "none": -1}


def pad_table_faults(program):
    """The rows of the field-type table in docs/integration.md, held against what the keyboard
    chooses for every type and format the program prints."""
    import subprocess
    text = (ROOT / "docs/integration.md").read_text()
    rows = []
    for line in text.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 3 or not re.match(r"^\d", cells[0]):
            continue
        pad = PADS.get(re.split(r"[ :]", cells[2])[0])
        if pad is None:
            continue
        types = {int(t) for t in re.findall(r"-?\d+", cells[0])}
        rows.append((types, "other" in cells[0], cells[1], pad))
    if not rows:
        return ["docs/integration.md: no table of field types, value formats and pads"]
    listed = set().union(*(types for types, _, _, _ in rows))

    def expected(field_type, value_format):
        for types, others, formats, pad in rows:
            if field_type not in types and not (others and field_type not in listed):
                continue
            named = {int(f) for f in re.findall(r"-?\d+", formats)}
            if formats.startswith("any other"):
                siblings = set().union(*(set(map(int, re.findall(r"-?\d+", f)))
                                         for t, _, f, _ in rows if t == types))
                if value_format in siblings:
                    continue
            elif formats != "any" and value_format not in named:
                continue
            return pad
        return None

    faults = []
    output = subprocess.run([program], capture_output=True, text=True, check=True).stdout
    for line in output.splitlines():
        field_type, value_format, pad = map(int, line.split())
        want = expected(field_type, value_format)
        if want != pad:
            faults.append(f"docs/integration.md: field type {field_type}, value format "
                          f"{value_format}: the table says pad {want}, the keyboard shows {pad}")
    return faults[:20]


def main():
    missing = []
    if len(sys.argv) == 3 and sys.argv[1] == "--pad-table":
        missing += pad_table_faults(sys.argv[2])
    for document in DOCUMENTS:
        text = (ROOT / document).read_text()
        text = re.sub(r"```.*?```", "", text, flags=re.S)  # examples, not claims
        for span in re.findall(r"`([^`\n]+)`", text):
            missing += [f"{document}: `{span}`: no {what}" for what, found in claims(span)
                        if not found]
    for line in missing:
        print(line)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
