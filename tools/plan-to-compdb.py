#!/usr/bin/env python3
"""Turn the plan of a compile (vrk++ -plan=json ...) into compilation
database entries (compile_commands.json): one entry per command that
compiles an input of the run, with the directory, the input file, the
command's arguments and its output.

    vrk++ -plan=json -c -O2 a.c b.c | tools/plan-to-compdb.py > compile_commands.json
    tools/plan-to-compdb.py plan.json [more plans...]
"""
import json
import os
import sys

# The compilers proper: the commands that translate a source file.
COMPILERS = ("kfront", "kfrontxx")


def inputs_of(plan):
    """The command-line words the run took as input files."""
    words = {w["word"] for w in plan["command_line"][1:]}
    return words


def final_output(commands, number, path):
    """Follow a temporary through the later commands that turn it into
    another file (the assembler's object from the compiler's text)."""
    for later in commands[number + 1:]:
        if any(f["path"] == path and f["temporary"] for f in later["reads"]) and later["writes"]:
            path = later["writes"][-1]["path"]
            if not later["writes"][-1]["temporary"]:
                break
    return path


def entries(plan):
    directory = plan["directory"]
    inputs = inputs_of(plan)
    commands = plan["commands"]
    for number, command in enumerate(commands):
        program = os.path.basename(command["program"])
        if program not in COMPILERS:
            continue
        source = next((f["path"] for f in command["reads"]
                       if not f["temporary"] and f["path"] in inputs), None)
        if source is None:
            continue
        written = [f["path"] for f in command["writes"]]
        entry = {"directory": directory,
                 "file": source,
                 "arguments": command["arguments"]}
        if written:
            entry["output"] = final_output(commands, number, written[-1])
        yield entry


def main(argv):
    plans = []
    if len(argv) > 1:
        for name in argv[1:]:
            with open(name) as f:
                plans.append(json.load(f))
    else:
        plans.append(json.load(sys.stdin))
    result = [e for plan in plans for e in entries(plan)]
    json.dump(result, sys.stdout, indent=2)
    sys.stdout.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
