#!/usr/bin/env python3
"""Writes src/settings/TextTables.cpp: the upper halves of the single-byte Windows code pages
the settings checker knows, the advance widths of Liberation Sans (metric-compatible with Arial,
the font of the pads' keys) for every character those code pages hold, and which byte sequences
the double-byte code pages define.

The double-byte tables come from Wine's code page files (c_<n>.nls, installed with Wine), so
that the checker calls exactly those sequences broken that the platform's MultiByteToWideChar
rejects with MB_ERR_INVALID_CHARS: Python's codecs leave out the user-defined areas, which
Windows maps to the private use area. Run once when a code page or the font changes:
    tools/check_settings/generate_tables.py /usr/share/fonts/truetype/liberation /usr/share/wine/nls > src/settings/TextTables.cpp
"""
import struct
import sys

CODE_PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258]
DOUBLE_BYTE_CODE_PAGES = [932, 936, 949, 950, 1361]


def upper_half(cp):
    table = []
    for b in range(0x80, 0x100):
        try:
            table.append(ord(bytes([b]).decode("cp%d" % cp)))
        except UnicodeDecodeError:
            table.append(0)
    return table


def double_byte(path):
    """Which single bytes are characters, and for each lead byte the trail bytes that make one,
    as Wine's check for invalid characters reads its code page file: a sequence is undefined
    where the table gives the default character (unless the sequence is that character's own);
    a single byte also where the table gives a character of the private use area."""
    data = open(path, "rb").read()
    words = struct.unpack("<%dH" % (len(data) // 2), data[:len(data) // 2 * 2])
    header, default, own = words[0], words[4], words[6]
    at = header + 1
    single = words[at:at + 256]
    at += 256
    at += 1 + (256 if words[at] else 0)  # the glyph table, when there is one
    at += 1
    offsets = words[at:at + 256]
    singles = [0] * 256
    trails = {}
    for b in range(256):
        if offsets[b]:
            trails[b] = [int(words[at + offsets[b] + t] != default or (b << 8 | t) == own)
                         for t in range(256)]
        elif (single[b] != default or b == own) and not 0xE000 <= single[b] <= 0xF8FF:
            singles[b] = 1
    return singles, trails


def constant_array(out, head, items, per_line):
    """A constant array: its head, then the items so many to a line."""
    out.append(head + " = {")
    for i in range(0, len(items), per_line):
        out.append("    " + " ".join(items[i:i + per_line]))
    out.append("};")


def words64(bits):
    return ["0x%016X" % sum(bits[64 * w + i] << i for i in range(64)) for w in range(4)]


class Font:
    def __init__(self, path):
        data = open(path, "rb").read()
        tables = {}
        count = struct.unpack(">H", data[4:6])[0]
        for i in range(count):
            tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
            tables[tag.decode()] = data[offset:offset + length]
        self.units = struct.unpack(">H", tables["head"][18:20])[0]
        metrics = struct.unpack(">H", tables["hhea"][34:36])[0]
        hmtx = tables["hmtx"]
        self.advances = [struct.unpack(">H", hmtx[4 * i:4 * i + 2])[0] for i in range(metrics)]
        self.cmap = self._cmap(tables["cmap"])

    def _cmap(self, cmap):
        count = struct.unpack(">H", cmap[2:4])[0]
        for i in range(count):
            platform, encoding, offset = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
            if platform == 3 and encoding == 1 and struct.unpack(">H", cmap[offset:offset + 2])[0] == 4:
                return self._format4(cmap[offset:])
        raise SystemExit("no Unicode cmap of format 4")

    @staticmethod
    def _format4(sub):
        segs = struct.unpack(">H", sub[6:8])[0] // 2
        ends = struct.unpack(">%dH" % segs, sub[14:14 + 2 * segs])
        starts = struct.unpack(">%dH" % segs, sub[16 + 2 * segs:16 + 4 * segs])
        deltas = struct.unpack(">%dh" % segs, sub[16 + 4 * segs:16 + 6 * segs])
        range_at = 16 + 6 * segs
        ranges = struct.unpack(">%dH" % segs, sub[range_at:range_at + 2 * segs])
        glyphs = {}
        for s in range(segs):
            for c in range(starts[s], ends[s] + 1):
                if c == 0xFFFF:
                    continue
                if ranges[s] == 0:
                    g = (c + deltas[s]) & 0xFFFF
                else:
                    at = range_at + 2 * s + ranges[s] + 2 * (c - starts[s])
                    g = struct.unpack(">H", sub[at:at + 2])[0]
                    if g:
                        g = (g + deltas[s]) & 0xFFFF
                if g:
                    glyphs[c] = g
        return glyphs

    def advance(self, c):
        g = self.cmap.get(c)
        if g is None:
            return None
        return self.advances[min(g, len(self.advances) - 1)]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/truetype/liberation"
    nls = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/wine/nls"
    double = {cp: double_byte("%s/c_%d.nls" % (nls, cp)) for cp in DOUBLE_BYTE_CODE_PAGES}
    patterns = []
    for cp in DOUBLE_BYTE_CODE_PAGES:
        for trail in double[cp][1].values():
            if trail not in patterns:
                patterns.append(trail)
    regular = Font(folder + "/LiberationSans-Regular.ttf")
    bold = Font(folder + "/LiberationSans-Bold.ttf")
    assert regular.units == bold.units == 2048
    pages = {cp: upper_half(cp) for cp in CODE_PAGES}
    chars = set(range(0x20, 0x7F))
    for table in pages.values():
        chars.update(c for c in table if c)
    rows = []
    for c in sorted(chars):
        r, b = regular.advance(c), bold.advance(c)
        if r is not None and b is not None:
            rows.append((c, r, b))

    out = []
    out.append("// Generated by tools/check_settings/generate_tables.py; do not edit by hand.")
    out.append("//")
    out.append("// The upper halves (0x80-0xFF) of the single-byte Windows code pages, as Unicode code")
    out.append("// points (0: the byte is undefined), and the advance widths of Liberation Sans Regular and")
    out.append("// Bold, metric-compatible with Arial, in font units of 1/2048 em. The double-byte code")
    out.append("// pages: the bytes that are characters alone, and for each lead byte the trail bytes that")
    out.append("// make a character with it (one of the trail patterns), as Wine's code page files define them.")
    out.append('#include "settings/TextTables.h"')
    out.append("")
    out.append("#include <iterator>")
    out.append("")
    out.append("namespace pmx {")
    out.append("namespace {")
    out.append("")
    for cp in CODE_PAGES:
        constant_array(out, "constexpr std::uint16_t kCp%d[128]" % cp, ["0x%04X," % v for v in pages[cp]], 8)
    out.append("")
    out.append("constexpr CodePageTable kCodePages[] = {")
    for cp in CODE_PAGES:
        out.append("    {%d, kCp%d}," % (cp, cp))
    out.append("};")
    out.append("static_assert(std::size(kCodePages) == %d, \"one table per code page\");" % len(CODE_PAGES))
    out.append("")
    out.append("constexpr TrailPattern kTrailPatterns[] = {")
    for trail in patterns:
        out.append("    {{" + ", ".join(words64(trail)) + "}},")
    out.append("};")
    out.append("static_assert(std::size(kTrailPatterns) == %d, \"one row per pattern\");" % len(patterns))
    out.append("")
    for cp in DOUBLE_BYTE_CODE_PAGES:
        leads = [patterns.index(double[cp][1][b]) + 1 if b in double[cp][1] else 0 for b in range(256)]
        constant_array(out, "constexpr std::uint8_t kLeads%d[256]" % cp, ["%d," % v for v in leads], 24)
    out.append("")
    out.append("constexpr DoubleByteTable kDoubleByteCodePages[] = {")
    for cp in DOUBLE_BYTE_CODE_PAGES:
        out.append("    {%d, {%s}," % (cp, ", ".join(words64(double[cp][0]))))
        out.append("     kLeads%d}," % cp)
    out.append("};")
    out.append("static_assert(std::size(kDoubleByteCodePages) == %d, \"one table per code page\");"
               % len(DOUBLE_BYTE_CODE_PAGES))
    out.append("")
    constant_array(out, "constexpr GlyphWidth kArialWidths[]", ["{0x%04X, %d, %d}," % row for row in rows], 4)
    out.append("static_assert(std::size(kArialWidths) == %d, \"one row per character\");" % len(rows))
    out.append("")
    out.append("}  // namespace")
    out.append("")
    for kind, function, array in [("CodePageTable", "codePageTables", "kCodePages"),
                                  ("DoubleByteTable", "doubleByteTables", "kDoubleByteCodePages"),
                                  ("TrailPattern", "trailPatterns", "kTrailPatterns"),
                                  ("GlyphWidth", "arialWidths", "kArialWidths")]:
        out.append("const %s* %s(std::size_t& count) {" % (kind, function))
        out.append("  count = std::size(%s);" % array)
        out.append("  return %s;" % array)
        out.append("}")
        out.append("")
    out.append("}  // namespace pmx")
    print("\n".join(out))


if __name__ == "__main__":
    main()
