#!/usr/bin/env python3
"""Checks that translations keep the arguments of the message formatter.

    check-formats.py LANG.po...

The reporter's messages are marked no-c-format in the template: they are
formats of the driver's own message formatter (%qs, %<...%>, %m, %wu,
positions "%2$s"), which msgfmt --check does not know.  This check does
for them what msgfmt does for printf formats: every translation must
convert the same arguments, each with the same type, as its msgid (the
order may differ through positions), and use only directives the
formatter knows.  Quoting ("q") is the translator's choice.

Exit status 1, with one line per fault, when a translation breaks a format.
"""
import ast
import re
import sys

# %[N$][flags][.N|.*[N$]]conversion, or a directive without an argument.
DIRECTIVE = re.compile(
    r"%(?:(?P<plain>[%<>'Rm}])"
    r"|(?P<pos>[0-9]+\$)?(?P<flags>[qwl+#]*)"
    r"(?P<prec>\.\*(?:[0-9]+\$)?|\.[0-9]+)?(?P<conv>[cdiuoxfpsr{Z@]))")


class FormatError(Exception):
    pass


def arguments(fmt):
    """Argument slot -> type of what the format converts."""
    slots, sequential, positional = {}, 0, False
    i = 0
    while True:
        i = fmt.find("%", i)
        if i < 0:
            break
        m = DIRECTIVE.match(fmt, i)
        if not m:
            raise FormatError("unknown directive at %r" % fmt[i:i + 4])
        i = m.end()
        if m.group("plain"):
            continue
        kind = m.group("flags").replace("q", "") + m.group("conv")
        prec = m.group("prec") or ""
        if m.group("pos"):
            positional = True
            slot = int(m.group("pos")[:-1])
            if prec.startswith(".*"):
                slots[slot - 1] = "int (precision)"
        else:
            if prec.startswith(".*"):
                sequential += 1
                slots[sequential] = "int (precision)"
            sequential += 1
            slot = sequential
        if slot in slots and slots[slot] != kind:
            raise FormatError("argument %d converted twice" % slot)
        slots[slot] = kind
    if positional and sequential:
        raise FormatError("positional and sequential arguments mixed")
    return slots


def entries(path):
    """(flags, msgid, [msgstr...]) of each message of a PO file, whose
    entries are separated by blank lines."""
    with open(path, encoding="utf-8") as f:
        blocks = f.read().split("\n\n")
    for block in blocks:
        flags, strings, key = set(), {}, None
        for line in block.splitlines():
            if line.startswith("#,"):
                flags |= {w.strip() for w in line[2:].split(",")}
            elif line.startswith("msg"):
                key, _, rest = line.partition(" ")
                strings[key] = ast.literal_eval(rest)
            elif line.startswith('"') and key:
                strings[key] += ast.literal_eval(line)
        if strings.get("msgid"):
            yield flags, strings["msgid"], [
                value for name, value in sorted(strings.items())
                if name.startswith("msgstr")]


def main(paths):
    faults = 0
    for path in paths:
        for flags, msgid, msgstrs in entries(path):
            if "no-c-format" not in flags or "fuzzy" in flags:
                continue
            try:
                want = arguments(msgid)
            except FormatError as e:
                print("%s: msgid %r: %s" % (path, msgid, e))
                faults += 1
                continue
            for msgstr in msgstrs:
                if not msgstr:
                    continue
                try:
                    got = arguments(msgstr)
                    if got != want:
                        raise FormatError("arguments %s, msgid has %s" % (got, want))
                except FormatError as e:
                    print("%s: translation of %r: %s" % (path, msgid, e))
                    faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
