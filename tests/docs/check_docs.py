"""The documents name only what exists: every file, script option, switch, message, section,
environment variable and keystroke name that README.md, docs/settings.md and docs/integration.md
write in a code span is held against the tree. A cheap guard against stale documents, run with the
unit tests; it prints each claim it cannot find and fails.
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DOCUMENTS = ["README.md", "docs/settings.md", "docs/integration.md"]
FOLDERS = ("scripts/", "src/", "docs/", "examples/", "tools/", "bench/", "fuzz/", "soak/", "tests/")
OUTPUTS = ("build/", "dist/")  # made by the scripts, not in the tree


def text_of(*globs):
    return "\n".join(p.read_text(errors="replace") for g in globs for p in ROOT.glob(g)
                     if p.is_file())


SOURCES = text_of("src/**/*.h", "src/**/*.cpp", "tools/panel_check/*.cpp", "src/CMakeLists.txt",
                  "CMakeLists.txt")
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


def main():
    missing = []
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
