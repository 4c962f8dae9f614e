#!/usr/bin/env python3
"""Build the trouble-code description tables from their readable sources.

Reads dtc_en.src.txt and dtc_pl.src.txt (UTF-8, one code per line: five-character code, one space,
description; lines starting with '#' and empty lines are skipped) and writes dtc_en.txt and
dtc_pl.txt in the form the program loads: code page 1250, one "CODE description" per line, sorted
by code, every line (the last one too) ended by CR LF.

Usage:
    python3 build_dtc.py            rebuild both tables beside this script
    python3 build_dtc.py --check    only verify that both tables are up to date
    python3 build_dtc.py SRC OUT    explicit paths for one table

The source is checked before anything is written: every code is a letter P, C, B or U followed by
a digit 0-3 and three upper-case hexadecimal digits, codes are unique, every code has a description,
and descriptions hold only printable ASCII and the eighteen Polish letters (the program shows any
other byte above 0x7F as "/" and its decimal value, so such characters are refused here).
"""

import os
import re
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TABLES = (("dtc_en.src.txt", "dtc_en.txt"), ("dtc_pl.src.txt", "dtc_pl.txt"))

CODE_RE = re.compile(r"^[PCBU][0-3][0-9A-F]{3}$")
POLISH_LETTERS = set("ĄĆĘŁŃÓŚŹŻąćęłńóśźż")


class SourceError(Exception):
    pass


def read_entries(path):
    """Return the (code, description) pairs of a source, sorted by code."""
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    if text.startswith("\ufeff"):
        text = text[1:]
    entries = {}
    for number, line in enumerate(text.split("\n"), 1):
        if line.endswith("\r"):
            line = line[:-1]
        if not line.strip() or line.startswith("#"):
            continue
        where = "%s:%d" % (path, number)
        code, sep, description = line.partition(" ")
        if not CODE_RE.match(code):
            raise SourceError("%s: %r is not a trouble code (letter PCBU, digit 0-3, three hex digits)" % (where, code))
        if not sep or not description.strip():
            raise SourceError("%s: code %s has no description" % (where, code))
        if description != description.strip():
            raise SourceError("%s: code %s has spaces around its description" % (where, code))
        for ch in description:
            if ch in POLISH_LETTERS:
                continue
            if not (" " <= ch <= "~"):
                raise SourceError("%s: code %s holds %r, outside ASCII and the Polish letters" % (where, code, ch))
        if code in entries:
            raise SourceError("%s: code %s appears twice" % (where, code))
        entries[code] = description
    if not entries:
        raise SourceError("%s: no codes" % path)
    return sorted(entries.items())


def encode(entries):
    """The table's bytes: code page 1250, CR LF after every line."""
    return b"".join(("%s %s\r\n" % (code, text)).encode("cp1250") for code, text in entries)


def write_atomic(path, data):
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(prefix=".dtc-", dir=folder)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def build(src, out, check):
    data = encode(read_entries(src))
    if check:
        try:
            with open(out, "rb") as f:
                current = f.read()
        except OSError:
            current = None
        if current != data:
            print("%s is out of date; run build_dtc.py" % out, file=sys.stderr)
            return False
        return True
    write_atomic(out, data)
    print("%s: %d codes" % (out, data.count(b"\r\n")))
    return True


def main(argv):
    try:
        if len(argv) == 3:
            return 0 if build(argv[1], argv[2], False) else 1
        check = argv[1:] == ["--check"]
        if len(argv) > 1 and not check:
            print(__doc__, file=sys.stderr)
            return 2
        ok = True
        for src, out in TABLES:
            ok = build(os.path.join(HERE, src), os.path.join(HERE, out), check) and ok
        return 0 if ok else 1
    except (SourceError, OSError) as e:
        print("error: %s" % e, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
