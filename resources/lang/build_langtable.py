#!/usr/bin/env python3
"""Build the language table resource from its readable source.

Reads langtable.src.tsv (UTF-8, one row per text: id TAB Polish TAB English TAB Russian TAB Spanish)
and writes langtable.txt in the form the program loads: UTF-16 little-endian with the byte-order
mark FF FE, every line (the last one too) ended by CR LF, one row per line.

Usage:
    python3 build_langtable.py            rebuild langtable.txt beside this script
    python3 build_langtable.py --check    only verify that langtable.txt is up to date
    python3 build_langtable.py SRC OUT    explicit paths

The source is checked before anything is written: ids of four digits, ascending and unique, exactly
four TABs per row, a Polish text in every row, no control characters inside a cell.
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SRC = os.path.join(HERE, "langtable.src.tsv")
DEFAULT_OUT = os.path.join(HERE, "langtable.txt")


class SourceError(Exception):
    pass


def read_rows(path):
    """Return the rows of the source as lists [id, pl, en, ru, es]."""
    rows = []
    last_id = -1
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    if text.startswith("\ufeff"):
        text = text[1:]
    for number, line in enumerate(text.split("\n"), 1):
        if line.endswith("\r"):
            line = line[:-1]
        if not line.strip() or line.startswith("#"):
            continue
        cells = line.split("\t")
        where = "%s:%d" % (path, number)
        if len(cells) != 5:
            raise SourceError("%s: %d TABs, every row needs exactly four" % (where, len(cells) - 1))
        ident = cells[0]
        if len(ident) != 4 or not ident.isdigit():
            raise SourceError("%s: id %r is not four decimal digits" % (where, ident))
        value = int(ident)
        if value <= last_id:
            raise SourceError("%s: id %s is not above the previous id %04d" % (where, ident, last_id))
        last_id = value
        if not cells[1].strip():
            raise SourceError("%s: id %s has no Polish text" % (where, ident))
        for cell in cells[1:]:
            if any(ord(ch) < 32 for ch in cell):
                raise SourceError("%s: id %s holds a control character" % (where, ident))
        rows.append(cells)
    if not rows:
        raise SourceError("%s: no rows" % path)
    return rows


def encode(rows):
    text = "".join("\t".join(cells) + "\r\n" for cells in rows)
    return b"\xff\xfe" + text.encode("utf-16-le")


def write_atomically(path, data):
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(prefix=".langtable-", dir=folder)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def main(argv):
    args = [a for a in argv[1:] if a != "--check"]
    check = len(args) != len(argv) - 1
    if len(args) not in (0, 2):
        print(__doc__, file=sys.stderr)
        return 2
    src, out = (args[0], args[1]) if args else (DEFAULT_SRC, DEFAULT_OUT)
    try:
        rows = read_rows(src)
    except (OSError, SourceError) as e:
        print("build_langtable: %s" % e, file=sys.stderr)
        return 1
    data = encode(rows)
    if check:
        try:
            with open(out, "rb") as f:
                current = f.read()
        except OSError as e:
            print("build_langtable: %s" % e, file=sys.stderr)
            return 1
        if current != data:
            print("build_langtable: %s is out of date, rerun build_langtable.py" % out, file=sys.stderr)
            return 1
        print("%s is up to date (%d rows)" % (out, len(rows)))
        return 0
    write_atomically(out, data)
    print("wrote %s (%d rows)" % (out, len(rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
