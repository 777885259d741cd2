#!/usr/bin/python3
"""Counts, per kind of what other programs put in .xls files, the records of each file and of its
copy through the workbook tool: how much of it a copy keeps.

usage: kept-records.py TOOL CORPUS [--verbose]   copies every Excel 97-2003 file of CORPUS (a
                                                  folder or a .tar.xz) with `TOOL copy` and prints
                                                  "kept by a copy: N of M" per kind
       kept-records.py --list FILE                prints the records of FILE, one a line
Needs python3-olefile."""
import os
import struct
import subprocess
import sys
import tarfile
import tempfile

import olefile

# Kind of feature -> the record ids that hold it.
KINDS = [
    ('array formulas (ARRAY)', {0x0221}),
    ('data tables (TABLE)', {0x0236}),
    ('conditional formats (CONDFMT, CF, CONDFMT12, CF12)', {0x01B0, 0x01B1, 0x0879, 0x087A}),
    ('data validation (DVAL, DV)', {0x01B2, 0x01BE}),
    ('notes (NOTE, TXO)', {0x001C, 0x01B6}),
    ('hyperlinks (HLINK, HLINKTOOLTIP)', {0x01B8, 0x0800}),
    ('named styles (STYLE, STYLEEXT)', {0x0293, 0x0892}),
    ('colour palette (PALETTE)', {0x0092}),
    ('panes and zoom (PANE, SCL, SELECTION)', {0x0041, 0x00A0, 0x001D}),
    ('page setup (SETUP, margins, HEADER, FOOTER, PRINTGRIDLINES, page breaks)',
     {0x00A1, 0x0026, 0x0027, 0x0028, 0x0029, 0x0014, 0x0015, 0x002B, 0x0083, 0x0084, 0x001A, 0x001B, 0x004D,
      0x089C}),
    ('drawings (MSODRAWINGGROUP, MSODRAWING, OBJ)', {0x00EB, 0x00EC, 0x005D}),
    ('protection (PROTECT, WINDOWPROTECT, PASSWORD, OBJPROTECT, SCENPROTECT, FEATHDR, FEAT)',
     {0x0012, 0x0019, 0x0013, 0x0063, 0x00DD, 0x0867, 0x0868}),
    ('sheet tab colour (SHEETEXT)', {0x0862}),
    ('external values (SUPBOOK, EXTERNNAME, XCT, CRN)', {0x01AE, 0x0023, 0x0059, 0x005A}),
]
FROZEN = 'frozen panes (WINDOW2 with panes frozen)'
NAMES = {0x0221: 'ARRAY', 0x0236: 'TABLE', 0x01B0: 'CONDFMT', 0x01B1: 'CF', 0x01B2: 'DVAL', 0x01BE: 'DV',
         0x001C: 'NOTE', 0x01B6: 'TXO', 0x01B8: 'HLINK', 0x0800: 'HLINKTOOLTIP', 0x0293: 'STYLE',
         0x0892: 'STYLEEXT', 0x0092: 'PALETTE', 0x0041: 'PANE', 0x00A0: 'SCL', 0x001D: 'SELECTION',
         0x00A1: 'SETUP', 0x0014: 'HEADER', 0x0015: 'FOOTER', 0x00EB: 'MSODRAWINGGROUP', 0x00EC: 'MSODRAWING',
         0x005D: 'OBJ', 0x0012: 'PROTECT', 0x0013: 'PASSWORD', 0x0019: 'WINDOWPROTECT', 0x0063: 'OBJPROTECT',
         0x0862: 'SHEETEXT', 0x01AE: 'SUPBOOK', 0x0023: 'EXTERNNAME', 0x0059: 'XCT', 0x005A: 'CRN',
         0x0809: 'BOF', 0x000A: 'EOF', 0x0006: 'FORMULA', 0x023E: 'WINDOW2', 0x003C: 'CONTINUE',
         0x0867: 'FEATHDR', 0x0868: 'FEAT', 0x001B: 'HORIZONTALPAGEBREAKS', 0x0026: 'LEFTMARGIN',
         0x0028: 'TOPMARGIN', 0x002B: 'PRINTGRIDLINES', 0x00E5: 'MERGEDCELLS', 0x0200: 'DIMENSIONS',
         0x00E0: 'XF', 0x0031: 'FONT', 0x041E: 'FORMAT', 0x0085: 'BOUNDSHEET', 0x0018: 'NAME', 0x0017: 'EXTERNSHEET'}


def stream(path):
    with olefile.OleFileIO(path) as ole:
        for name in ole.listdir():
            if len(name) == 1 and name[0].lower() == 'workbook':
                return ole.openstream(name).read()
    return b''


def records(data):
    pos = 0
    while pos + 4 <= len(data):
        rt, ln = struct.unpack('<HH', data[pos:pos + 4])
        yield rt, data[pos + 4:pos + 4 + ln]
        pos += 4 + ln


def is_biff8(path):
    try:
        data = stream(path)
    except Exception:
        return False
    if len(data) < 8 or struct.unpack('<HH', data[:4])[0] != 0x0809 or struct.unpack('<H', data[4:6])[0] != 0x0600:
        return False
    return not any(rt == 0x002F for rt, _ in records(data[:4096]))   # encrypted


def counts(path):
    out = dict.fromkeys([k for k, _ in KINDS] + [FROZEN], 0)
    for rt, data in records(stream(path)):
        for kind, ids in KINDS:
            if rt in ids:
                out[kind] += 1
        if rt == 0x023E and len(data) >= 2 and struct.unpack('<H', data[:2])[0] & 0x0008:
            out[FROZEN] += 1
    return out


def list_records(path):
    for rt, data in records(stream(path)):
        print('%04X %-20s %5d %s' % (rt, NAMES.get(rt, ''), len(data), data[:24].hex(' ')))


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == '--list':
        list_records(sys.argv[2])
        return
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    tool, corpus = os.path.abspath(sys.argv[1]), sys.argv[2]
    verbose = '--verbose' in sys.argv
    tmp = tempfile.TemporaryDirectory()
    if corpus.endswith('.tar.xz'):
        with tarfile.open(corpus) as tar:
            tar.extractall(tmp.name)
        corpus = tmp.name
    files = sorted(os.path.join(d, f) for d, _, fs in os.walk(corpus) for f in fs if f.lower().endswith('.xls'))
    total = {k: [0, 0, 0] for k in [k for k, _ in KINDS] + [FROZEN]}   # in originals, kept, files
    copied = failed = 0
    for path in files:
        if not is_biff8(path):
            continue
        out = os.path.join(tmp.name, 'copy.xls')
        p = subprocess.run(['timeout', '30', tool, 'copy', path, out], capture_output=True)
        if p.returncode != 0:
            failed += 1
            continue
        copied += 1
        before, after = counts(path), counts(out)
        for kind, n in before.items():
            if n == 0:
                continue
            total[kind][0] += n
            total[kind][1] += min(n, after[kind])
            total[kind][2] += 1
            if verbose and after[kind] != n:
                print('%s: %s %d -> %d' % (os.path.relpath(path, corpus), kind, n, after[kind]))
    print('files copied: %d (not copied: %d)' % (copied, failed))
    print('%-90s %s' % ('kind', 'kept by a copy (records), in files'))
    for kind, (n, kept, in_files) in total.items():
        print('%-90s %d of %d, %d files' % (kind, kept, n, in_files))


if __name__ == '__main__':
    main()
