#!/usr/bin/env python3
"""Add the generic trouble codes written in families/*.py to the readable sources.

Many generic codes come in regular runs: one circuit with the usual five endings (circuit, range/
performance, low, high, intermittent), an actuator with its control-circuit endings, a shift
solenoid with its five states. Each file in families/ lists such runs (and single codes) for one
code family, in English and Polish together, through the helpers below. This script merges them
into dtc_en.src.txt and dtc_pl.src.txt: a code written in a family gets the family's text (so a
family is edited in families/ and merged again), every other line of a source stays as written by
hand, and both sources come out sorted. A code taken out of a family stays in the sources until it
is deleted there by hand. build_dtc.py then turns the sources into the tables.

Usage:
    python3 gen_dtc.py            merge every families/*.py into the sources
    python3 gen_dtc.py --check    only verify that the sources hold the families as written
"""

import glob
import os
import re
import runpy
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CODE_RE = re.compile(r"^[PCBU][0-3][0-9A-F]{3}$")

# Endings of a run, English and Polish. A Polish run names its subject in the genitive
# ("czujnika ciśnienia oleju"), so "Obwód czujnika ciśnienia oleju - usterka".
ENDINGS = {
    # a sensor or input circuit
    "sensor5": [("Circuit", "Obwód {p} - usterka"),
                ("Circuit Range/Performance", "Obwód {p} - nieprawidłowy zakres/działanie"),
                ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                ("Circuit High", "Obwód {p} - wysoki poziom sygnału"),
                ("Circuit Intermittent", "Obwód {p} - sygnał przerywany")],
    "sensor5e": [("Circuit", "Obwód {p} - usterka"),
                 ("Circuit Range/Performance", "Obwód {p} - nieprawidłowy zakres/działanie"),
                 ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                 ("Circuit High", "Obwód {p} - wysoki poziom sygnału"),
                 ("Circuit Intermittent/Erratic", "Obwód {p} - sygnał przerywany/niestabilny")],
    "sensor4": [("Circuit", "Obwód {p} - usterka"),
                ("Circuit Range/Performance", "Obwód {p} - nieprawidłowy zakres/działanie"),
                ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                ("Circuit High", "Obwód {p} - wysoki poziom sygnału")],
    "sensor3": [("Circuit", "Obwód {p} - usterka"),
                ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                ("Circuit High", "Obwód {p} - wysoki poziom sygnału")],
    "lowhigh": [("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                ("Circuit High", "Obwód {p} - wysoki poziom sygnału")],
    # an actuator driven by the controller
    "control4": [("Control Circuit/Open", "Obwód sterowania {p} - przerwa w obwodzie"),
                 ("Control Circuit Range/Performance", "Obwód sterowania {p} - nieprawidłowy zakres/działanie"),
                 ("Control Circuit Low", "Obwód sterowania {p} - niski poziom sygnału"),
                 ("Control Circuit High", "Obwód sterowania {p} - wysoki poziom sygnału")],
    "control3": [("Control Circuit/Open", "Obwód sterowania {p} - przerwa w obwodzie"),
                 ("Control Circuit Low", "Obwód sterowania {p} - niski poziom sygnału"),
                 ("Control Circuit High", "Obwód sterowania {p} - wysoki poziom sygnału")],
    "controlrlh": [("Control Circuit Range/Performance", "Obwód sterowania {p} - nieprawidłowy zakres/działanie"),
                   ("Control Circuit Low", "Obwód sterowania {p} - niski poziom sygnału"),
                   ("Control Circuit High", "Obwód sterowania {p} - wysoki poziom sygnału")],
    "circuit3": [("Circuit/Open", "Obwód {p} - przerwa w obwodzie"),
                 ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                 ("Circuit High", "Obwód {p} - wysoki poziom sygnału")],
    "circuit4": [("Circuit/Open", "Obwód {p} - przerwa w obwodzie"),
                 ("Circuit Range/Performance", "Obwód {p} - nieprawidłowy zakres/działanie"),
                 ("Circuit Low", "Obwód {p} - niski poziom sygnału"),
                 ("Circuit High", "Obwód {p} - wysoki poziom sygnału")],
    # a transmission solenoid (Polish subject in the nominative: "Elektrozawór zmiany biegów "A"")
    "solenoid5": [("", "{P} - usterka"),
                  ("Performance or Stuck Off", "{P} - nieprawidłowe działanie lub zablokowany w stanie wyłączonym"),
                  ("Stuck On", "{P} - zablokowany w stanie włączonym"),
                  ("Electrical", "{P} - usterka elektryczna"),
                  ("Intermittent", "{P} - działanie przerywane")],
    # a speed sensor
    "speed4": [("Circuit", "Obwód {p} - usterka"),
               ("Circuit Range/Performance", "Obwód {p} - nieprawidłowy zakres/działanie"),
               ("Circuit No Signal", "Obwód {p} - brak sygnału"),
               ("Circuit Intermittent", "Obwód {p} - sygnał przerywany")],
}


def step(first, i, hexa=False):
    """The code i places after first. Codes written with decimal digits only count in decimal
    (P0578, P0579, P0580); hexa=True counts in hexadecimal (P007A, P007B) as the lettered ranges do."""
    letter, digits = first[0], first[1:]
    if hexa or not digits.isdigit():
        return "%s%04X" % (letter, int(digits, 16) + i)
    value = int(digits) + i
    if value > 3999:
        raise SystemExit("run from %s runs past the code range" % first)
    return "%s%04d" % (letter, value)


class Families:
    def __init__(self):
        self.en = {}
        self.pl = {}
        self.where = ""

    def _put(self, code, en, pl):
        if not CODE_RE.match(code):
            raise SystemExit("%s: bad code %r" % (self.where, code))
        if code in self.en:
            raise SystemExit("%s: %s written twice" % (self.where, code))
        self.en[code] = en
        self.pl[code] = pl

    def one(self, code, en, pl):
        """A single code."""
        self._put(code, en, pl)

    def run(self, first, kind, en, pl, tail_en="", tail_pl="", P=None, hexa=False):
        """Consecutive codes from first: subject en/pl with the endings of kind; an optional tail
        such as "(Bank 1)" / "(rząd 1)" closes every text."""
        for i, (end_en, end_pl) in enumerate(ENDINGS[kind]):
            code = step(first, i, hexa)
            text_en = (en + " " + end_en).strip()
            text_pl = end_pl.format(p=pl, P=P or pl)
            if tail_en:
                text_en += " " + tail_en
            if tail_pl:
                text_pl += " " + tail_pl
            self._put(code, text_en, text_pl)

    def seq(self, first, pairs, hexa=False):
        """Consecutive codes from first, one (en, pl) pair each; None skips a code."""
        for i, pair in enumerate(pairs):
            if pair is not None:
                self._put(step(first, i, hexa), pair[0], pair[1])


def read_source(path):
    head, entries = [], {}
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if line.startswith("#") and not entries:
                head.append(line)
            elif line.strip() and not line.startswith("#"):
                entries[line[:5]] = line[6:]
    return head, entries


def source_text(head, entries):
    return "\n".join(head + ["%s %s" % kv for kv in sorted(entries.items())]) + "\n"


def write_source(path, head, entries):
    text = source_text(head, entries)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(tmp, path)


def main(argv):
    check = argv[1:] == ["--check"]
    if len(argv) > 1 and not check:
        print(__doc__, file=sys.stderr)
        return 2
    fam = Families()
    for path in sorted(glob.glob(os.path.join(HERE, "families", "*.py"))):
        fam.where = os.path.basename(path)
        runpy.run_path(path, init_globals={"F": fam})
    for lang, new in (("en", fam.en), ("pl", fam.pl)):
        src = os.path.join(HERE, "dtc_%s.src.txt" % lang)
        head, entries = read_source(src)
        added = sum(1 for code in new if code not in entries)
        changed = sum(1 for code, text in new.items() if code in entries and entries[code] != text)
        entries.update(new)
        if check:
            with open(src, encoding="utf-8") as f:
                if f.read() != source_text(head, entries):
                    print("%s does not hold families/ as written; run gen_dtc.py" % src, file=sys.stderr)
                    return 1
            continue
        write_source(src, head, entries)
        print("%s: %d codes, %d added, %d changed" % (os.path.basename(src), len(entries), added, changed))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
