"""Holds the documents and samples of a staged release package against what the package holds:
every path they name in a code span or a link, and every program they name, must be in it, and
none may point into the source tree (scripts/, build/, tools/, ...), which integrators do not get.

    python3 scripts/lib/package_refs.py <stage folder>

Prints each reference it cannot find and exits 1.
"""

import re
import sys
from pathlib import Path

SOURCE_TREE = ("scripts/", "build/", "tools/", "src/", "tests/", "bench/", "fuzz/", "soak/",
               "cmake/", "dist/", "../examples/", "examples/unicode/", "examples/QD4")
SHIPPED = ("x64/", "x86/", "include/", "examples/", "docs/")
TEXTS = ("README.md", "docs/settings.md", "x64/QD4TouchKeyboard.ini.sample")


def faults(stage):
    out = []
    files = {p.relative_to(stage).as_posix() for p in stage.rglob("*") if p.is_file()}
    folders = {p.relative_to(stage).as_posix() + "/" for p in stage.rglob("*") if p.is_dir()}
    names = {f.rsplit("/", 1)[-1] for f in files}
    for text_name in TEXTS:
        path = stage / text_name
        text = path.read_text(errors="replace") if text_name.endswith(".md") else \
            path.read_bytes().decode("latin-1")
        text = re.sub(r"```.*?```", lambda m: m.group(0).replace("`", ""), text, flags=re.S)
        spans = re.findall(r"`([^`\n]+)`", text) + re.findall(r"\]\(([^)#\s]+)", text) + \
            re.findall(r"[\w.-]+\.(?:exe|sample)\b", text)
        base = Path(text_name).parent.as_posix()
        for span in spans:
            word = span.split()[0].replace("\\", "/") if span.split() else ""
            if word.startswith(("http:", "https:")) or "<" in word:
                continue
            # A link from docs/ to ../x64/... is x64/... from the top of the package.
            if word.startswith("../") and base == "docs":
                word = word[3:]
            elif base == "docs" and not word.startswith(SHIPPED + SOURCE_TREE) and "/" not in word \
                    and word.endswith(".md"):
                word = "docs/" + word
            if word.startswith(SOURCE_TREE):
                out.append(f"{text_name}: `{span}` points into the source tree")
            elif word.startswith(SHIPPED) or word.endswith(".md"):
                if word.rstrip("/") not in files and word not in folders:
                    out.append(f"{text_name}: `{span}` is not in the package")
            elif re.fullmatch(r"[\w-]+\.(exe|sample)", word) and word not in names:
                out.append(f"{text_name}: {word} is not in the package")
    return out


def main():
    found = faults(Path(sys.argv[1]))
    for line in found:
        print(f"package: {line}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
