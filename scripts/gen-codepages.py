#!/usr/bin/env python3
"""Writes src/base/codepage_tables.cpp from the code page mappings Python ships.

Single-byte pages: the upper halves (bytes 80-FF). Bytes a code page leaves
undefined map to the C1 control or Latin-1 unit of the same value, so that every
byte survives a round trip; the script checks that each table stays one-to-one.

Double-byte pages (932, 936, 949, 950): the unit of each byte that stands alone,
which bytes lead a two-byte character and which may follow a lead byte, and one
row of units per lead byte that has any mapped pair. A byte that neither the page
nor a pair gives a character, and each byte of an undefined pair, maps to the
private-use unit F700 + byte (F780-F7FF), which the encoder turns back into that
byte, so any byte sequence survives decoding and encoding. A pair whose character
the page encodes as a different pair (duplicate mappings, as in the NEC and IBM
rows of 932) counts as undefined for the same reason. For 932 the pair Windows
writes wins: JIS X 0208, then NEC row 13, then the IBM extension rows (FA-FC),
then the NEC-selected IBM rows (ED-EE); Python's own encoder prefers the last."""
import sys

PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258]

# The lead and trail byte ranges Windows gives these pages.
DOUBLE_BYTE = {
    932: ([(0x81, 0x9F), (0xE0, 0xFC)], [(0x40, 0x7E), (0x80, 0xFC)]),
    936: ([(0x81, 0xFE)], [(0x40, 0x7E), (0x80, 0xFE)]),
    949: ([(0x81, 0xFE)], [(0x41, 0x5A), (0x61, 0x7A), (0x81, 0xFE)]),
    950: ([(0x81, 0xFE)], [(0x40, 0x7E), (0xA1, 0xFE)]),
}
PRIVATE_BASE = 0xF700


def in_ranges(b, ranges):
    return any(lo <= b <= hi for lo, hi in ranges)


def single_byte_page(cp):
    units = []
    for b in range(0x80, 0x100):
        try:
            u = bytes([b]).decode(f"cp{cp}")
            assert len(u) == 1
            units.append(ord(u))
        except UnicodeDecodeError:
            units.append(b)
    if len(set(units)) != 128 or any(u < 0x80 for u in units):
        sys.exit(f"code page {cp} is not one-to-one")
    return units


def decode_one(cp, raw):
    try:
        u = raw.decode(f"cp{cp}")
    except UnicodeDecodeError:
        return None
    return u if len(u) == 1 and ord(u) <= 0xFFFF else None


def rank_932(raw):
    lead = raw[0]
    if lead == 0x87:
        return 1
    if 0xFA <= lead <= 0xFC:
        return 2
    if 0xED <= lead <= 0xEE:
        return 3
    return 0


_sources = {}


def sources(cp):
    """Each unit a pair of the page decodes to, with all pairs that decode to it."""
    if cp not in _sources:
        found = {}
        for lead in range(0x80, 0x100):
            for t in range(0x40, 0x100):
                u = decode_one(cp, bytes([lead, t]))
                if u is not None:
                    found.setdefault(u, []).append(bytes([lead, t]))
        _sources[cp] = found
    return _sources[cp]


def decode_exact(cp, raw):
    """The one unit these bytes decode to, if the encoder writes the same bytes for it."""
    u = decode_one(cp, raw)
    if u is None:
        return None
    if cp == 932 and len(sources(cp).get(u, [])) > 1:
        return ord(u) if min(sources(cp)[u], key=rank_932) == raw else None
    try:
        if u.encode(f"cp{cp}") != raw:
            return None
    except UnicodeEncodeError:
        return None
    return ord(u)


def double_byte_page(cp):
    leads, trails = DOUBLE_BYTE[cp]
    is_lead = [in_ranges(b, leads) for b in range(256)]
    is_trail = [in_ranges(b, trails) for b in range(256)]
    single = []
    for b in range(256):
        u = None if is_lead[b] else decode_exact(cp, bytes([b]))
        if b < 0x80 and u != b:
            sys.exit(f"code page {cp} does not keep ASCII byte {b:02X}")
        single.append(PRIVATE_BASE + b if u is None else u)
    trail_first = min(b for b in range(256) if is_trail[b])
    trail_last = max(b for b in range(256) if is_trail[b])
    rows = []  # (lead, units)
    for lead in range(0x80, 0x100):
        units = []
        for t in range(trail_first, trail_last + 1):
            u = decode_exact(cp, bytes([lead, t])) if is_trail[t] else None
            if u is not None and not is_lead[lead]:
                sys.exit(f"code page {cp}: {lead:02X}{t:02X} decodes, but {lead:02X} is no lead byte")
            units.append(0 if u is None else u)
        if is_lead[lead] and any(units):
            rows.append((lead, units))
    # Any pair outside the trail ranges must not decode on its own.
    for lead in range(0x80, 0x100):
        if not is_lead[lead]:
            continue
        for t in range(256):
            if not is_trail[t] and t >= 0x40 and decode_exact(cp, bytes([lead, t])) is not None:
                sys.exit(f"code page {cp}: {lead:02X}{t:02X} decodes with a trail byte outside the ranges")
    mapped = [u for u in single if not PRIVATE_BASE + 0x80 <= u <= PRIVATE_BASE + 0xFF]
    mapped += [u for _, units in rows for u in units if u]
    if len(set(mapped)) != len(mapped):
        sys.exit(f"code page {cp} maps two byte sequences to one unit")
    if any(PRIVATE_BASE + 0x80 <= u <= PRIVATE_BASE + 0xFF for _, units in rows for u in units):
        sys.exit(f"code page {cp} uses the private units for bytes")
    return is_lead, is_trail, single, trail_first, trail_last, rows


def units_lines(units, indent, per_line=12):
    return [indent + ", ".join(f"0x{u:04X}" for u in units[i:i + per_line]) + ","
            for i in range(0, len(units), per_line)]


out = ["// Generated by scripts/gen-codepages.py; do not edit.",
       '#include "codepage.h"', "", "namespace fw::detail {", "",
       "struct CodePageTable {", "    int Number;", "    std::array<char16_t, 128> Upper;", "};", "",
       "extern const CodePageTable CodePageTables[];",
       "extern const int CodePageTableCount;",
       "extern const DoubleByteTable DoubleByteTables[];",
       "extern const int DoubleByteTableCount;", "",
       "const CodePageTable CodePageTables[] = {"]
for cp in PAGES:
    units = single_byte_page(cp)
    out.append(f"    {{{cp}, {{{{")
    out.extend(units_lines(units, "        ", 8))
    out.append("    }}},")
out += ["};", "", f"const int CodePageTableCount = {len(PAGES)};", ""]

tables = []
for cp in sorted(DOUBLE_BYTE):
    is_lead, is_trail, single, first, last, rows = double_byte_page(cp)
    out.append(f"// Code page {cp}: {len(rows)} rows of trail bytes {first:02X}-{last:02X}.")
    out.append(f"const char16_t Rows{cp}[] = {{")
    for lead, units in rows:
        out.append(f"    // lead byte {lead:02X}")
        out.extend(units_lines(units, "    "))
    out.append("};")
    out.append("")
    row_of = [0xFF] * 256
    for index, (lead, _) in enumerate(rows):
        row_of[lead] = index
    kinds = [(1 if is_lead[b] else 0) | (2 if is_trail[b] else 0) for b in range(256)]
    tables.append((cp, single, kinds, row_of, first, last))

out.append("const DoubleByteTable DoubleByteTables[] = {")
for cp, single, kinds, row_of, first, last in tables:
    out.append(f"    {{{cp},")
    out.append("     {{")
    out.extend(units_lines(single, "         ", 8))
    out.append("     }},")
    out.append("     {{")
    out.extend("         " + ", ".join(str(k) for k in kinds[i:i + 32]) + "," for i in range(0, 256, 32))
    out.append("     }},")
    out.append("     {{")
    out.extend("         " + ", ".join(f"0x{r:02X}" for r in row_of[i:i + 16]) + "," for i in range(0, 256, 16))
    out.append("     }},")
    out.append(f"     0x{first:02X}, 0x{last:02X}, Rows{cp}}},")
out += ["};", "", f"const int DoubleByteTableCount = {len(tables)};", "", "}  // namespace fw::detail", ""]
sys.stdout.write("\n".join(out))
