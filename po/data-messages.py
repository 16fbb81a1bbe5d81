#!/usr/bin/env python3
"""Messages that live in data rather than in calls, as a PO fragment.

    data-messages.py OUTPUT FILE...

xgettext finds the messages that the code passes to the reporter's entry
points; two kinds of message text are data that it cannot see:

- option descriptions (*.opt): the formats of Unknown(...) (an enumerated
  argument the table does not know), MissingArgError(...) and Warn(...),
  which the option machinery hands to the reporter as they stand;
- spec strings (any other file): the text after %e (an error) and %n (a
  note) up to the end of the spec group or line, which the interpreter
  translates when it reaches it.

FILE names are written as given (relative to the source tree), without line
numbers, like the rest of the template.
"""
import re
import sys

OPT_MESSAGE = re.compile(r"\b(Unknown|MissingArgError|Warn)\(")
STRING_LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
# What may stand between two string literals that the compiler joins.
BETWEEN_LITERALS = re.compile(r"(?:\s|//[^\n]*|/\*.*?\*/)*", re.S)
ESCAPES = {"n": "\n", "t": "\t", "\\": "\\", '"': '"', "'": "'", "?": "?",
           "a": "\a", "b": "\b", "f": "\f", "r": "\r", "v": "\v"}


def balanced_argument(text, start):
    """The text from START up to the ')' that closes the '(' before it."""
    depth = 1
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return text[start:i]
    raise ValueError("unbalanced parenthesis")


def opt_messages(text):
    for line in text.splitlines():
        if line.lstrip().startswith("#"):
            continue
        # The help text after "|" is not a message of the driver.
        for m in OPT_MESSAGE.finditer(line):
            yield balanced_argument(line, m.end())


def unescape(literal):
    out, i = [], 0
    while i < len(literal):
        c = literal[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        n = literal[i + 1]
        octal = re.match(r"[0-7]{1,3}", literal[i + 1:])
        hexa = re.match(r"x([0-9a-fA-F]+)", literal[i + 1:])
        if octal:
            out.append(chr(int(octal.group(0), 8)))
            i += 1 + len(octal.group(0))
        elif hexa:
            out.append(chr(int(hexa.group(1), 16)))
            i += 1 + len(hexa.group(0))
        else:
            out.append(ESCAPES[n])
            i += 2
    return "".join(out)


def joined_literals(text):
    """Every run of adjacent string literals, as the compiler joins it."""
    pos = 0
    while True:
        m = STRING_LITERAL.search(text, pos)
        if not m:
            return
        parts = [m.group(1)]
        pos = m.end()
        while True:
            gap = BETWEEN_LITERALS.match(text, pos)
            nxt = STRING_LITERAL.match(text, gap.end())
            if not nxt:
                break
            parts.append(nxt.group(1))
            pos = nxt.end()
        yield unescape("".join(parts))


def spec_messages(text):
    for spec in joined_literals(text):
        i = 0
        while i < len(spec) - 1:
            if spec[i] != "%":
                i += 1
                continue
            if spec[i + 1] in "en":
                end = i + 2
                while end < len(spec) and spec[end] not in "}\n":
                    end += 1
                yield spec[i + 2:end]
                i = end
            else:
                i += 2  # "%%" and every other escape


def po_string(text):
    body = text.replace("\\", "\\\\").replace('"', '\\"')
    body = body.replace("\n", "\\n").replace("\t", "\\t")
    return '"%s"' % body


def main(argv):
    output, files = argv[1], argv[2:]
    entries = {}  # message -> (files, format flag); in order of appearance
    for name in files:
        with open(name, encoding="utf-8") as f:
            text = f.read()
        if name.endswith(".opt"):
            found, flag = opt_messages(text), "no-c-format"
        else:
            # The interpreter hands the text over as an argument of "%s".
            found, flag = spec_messages(text), None
        for msg in found:
            if msg:
                places, _ = entries.setdefault(msg, ([], flag))
                if name not in places:
                    places.append(name)
    with open(output, "w", encoding="utf-8") as out:
        for msg, (places, flag) in entries.items():
            out.write("#: %s\n" % " ".join(places))
            if flag:
                out.write("#, %s\n" % flag)
            out.write("msgid %s\nmsgstr \"\"\n\n" % po_string(msg))


if __name__ == "__main__":
    main(sys.argv)
