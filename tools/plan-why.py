#!/usr/bin/env python3
"""Print where a word of a planned command came from.

    vrk++ -plan=json -O2 a.c | tools/plan-why.py COMMAND WORD
    tools/plan-why.py --plan plan.json COMMAND WORD
    tools/plan-why.py --plan plan.json -- COMMAND -WORD   (a word that starts with "-")

COMMAND is the command's number in the plan (from 0); WORD is the
argument's index (0 is the program) or its text (the first argument equal
to it).
"""
import argparse
import json
import sys


def describe_file(where):
    if where.get("argument_file"):
        return " (argument file %s, word %d)" % (where["argument_file"], where["word_number"])
    return ""


def describe(origin):
    parts = []
    spec = origin["spec"]
    if spec:
        text = spec["kind"].replace("_", " ")
        if spec["name"]:
            text += " " + spec["name"]
        if spec["file"]:
            text += " (%s:%d)" % (spec["file"], spec["line"])
        if origin["offset"] is not None:
            text += ", offset %d" % origin["offset"]
        parts.append(text)
    switch = origin["switch"]
    if switch:
        text = "switch %s" % switch["text"]
        if switch["argv_index"] is not None:
            text += " at argv[%d]" % switch["argv_index"] + describe_file(switch)
        parts.append(text)
    argument = origin["argument"]
    if argument:
        parts.append("command-line word %s at argv[%d]%s" %
                     (argument["text"], argument["argv_index"], describe_file(argument)))
    if origin["environment"]:
        parts.append("environment variable %s" % origin["environment"])
    if origin["configured"]:
        parts.append("configured value %s" % origin["configured"])
    return "; ".join(parts) if parts else "unknown"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--plan", help="the plan file (default: standard input)")
    ap.add_argument("command", type=int)
    ap.add_argument("word")
    args = ap.parse_args()
    plan = json.load(open(args.plan) if args.plan else sys.stdin)
    commands = plan["commands"]
    if not 0 <= args.command < len(commands):
        print("plan-why: no command %d (the plan has %d)" % (args.command, len(commands)),
              file=sys.stderr)
        return 1
    command = commands[args.command]
    words = command["arguments"]
    if args.word.isdigit() and int(args.word) < len(words):
        index = int(args.word)
    elif args.word in words:
        index = words.index(args.word)
    else:
        print("plan-why: command %d has no word %s" % (args.command, args.word), file=sys.stderr)
        return 1
    print("%s: %s" % (words[index], describe(command["provenance"][index])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
