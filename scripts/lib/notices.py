"""Writes the third-party notices of the release package from what the linker actually put into
the executables: scripts/package runs it on the linker maps of both builds.

    python3 scripts/lib/notices.py <map>... > THIRD-PARTY-NOTICES.txt

Every library archive a map names must be known below; an unknown one stops the package, so that
no library enters the executables without its notice.
"""

import re
import subprocess
import sys
from pathlib import Path

# What each archive is, and where its notice comes from.
GCC = "GCC runtime"
MINGW = "mingw-w64 runtime"
GOOGLETEST = "GoogleTest"
ARCHIVES = {
    "libstdc++.a": GCC, "libgcc.a": GCC, "libgcc_eh.a": GCC,
    # winpthreads, part of the mingw-w64 project (MIT license).
    "libpthread.a": MINGW, "libwinpthread.a": MINGW,
    "libmingw32.a": MINGW, "libmingwex.a": MINGW, "libmsvcrt.a": MINGW, "libmoldname.a": MINGW,
    # Import libraries of Windows DLLs, from the same project.
    "libkernel32.a": MINGW, "libuser32.a": MINGW, "libgdi32.a": MINGW, "libadvapi32.a": MINGW,
    "libshell32.a": MINGW, "libole32.a": MINGW, "liboleaut32.a": MINGW, "libuuid.a": MINGW,
    "libversion.a": MINGW,
    # The panel check's test framework, built from Debian's sources with the project.
    "libgtest.a": GOOGLETEST,
}
# The project's own archives have relative paths; of them only GoogleTest is someone else's.
ARCHIVE_LINE = re.compile(r"^(/\S+?\.a|\S*/libgtest\.a)\(")


def linked_archives(maps):
    archives = {}
    for path in maps:
        in_members = False
        for line in Path(path).read_text(errors="replace").splitlines():
            if line.startswith("Archive member included"):
                in_members = True
            elif line.startswith(("Allocating common symbols", "Discarded input sections",
                                  "Memory Configuration")):
                break  # the next part of the map
            m = ARCHIVE_LINE.match(line) if in_members else None
            if m:
                archive = Path(m.group(1)).resolve()
                archives.setdefault(archive.name, archive)
    return archives


def package_of(archive):
    out = subprocess.run(["dpkg", "-S", str(archive)], capture_output=True, text=True).stdout
    return out.split(":", 1)[0].strip() if out else ""


def main():
    archives = linked_archives(sys.argv[1:])
    unknown = sorted(a for a in archives if a not in ARCHIVES)
    if unknown or not archives:
        sys.exit("notices: no notice is known for " + (", ".join(unknown) or "an empty map"))
    groups = {}
    for name, path in sorted(archives.items()):
        groups.setdefault(ARCHIVES[name], []).append((name, path))

    out = ["Third-party software in the executables of this package",
           "",
           "They link these libraries statically (as the linker's maps of the builds list them).",
           ""]
    if MINGW in groups:
        names = ", ".join(n for n, _ in groups[MINGW])
        package = package_of(groups[MINGW][0][1])
        copyright_file = Path("/usr/share/doc") / package / "copyright"
        out += ["=" * 78, f"The mingw-w64 runtime, its winpthreads and its import libraries ({names})",
                "License: ZPL-2.1 and the licenses below, as the Debian package " + package +
                " states them", "", copyright_file.read_text(errors="replace").strip(), ""]
    if GCC in groups:
        names = ", ".join(n for n, _ in groups[GCC])
        out += ["=" * 78, f"The GCC runtime libraries ({names})",
                "License: GPL-3.0-or-later WITH GCC-exception-3.1",
                "",
                "The GCC Runtime Library Exception lets programs compiled with GCC combine these",
                "libraries with their own code and distribute the result under terms of their own.",
                "The sources are those of GCC, https://gcc.gnu.org/.", ""]
    if GOOGLETEST in groups:
        copyright_file = Path("/usr/share/doc/googletest/copyright")
        out += ["=" * 78, "GoogleTest (libgtest.a), in PMXTouchKeyboardCheck.exe only",
                "License: BSD-3-Clause, as the Debian package googletest states it", "",
                copyright_file.read_text(errors="replace").split("\nFiles: debian/")[0].strip(),
                ""]
    sys.stdout.write("\n".join(out))


if __name__ == "__main__":
    main()
