"""Checks of the driver's -plan=json against its -### listing.

For the command lines of the lit driver tests that use -###, the plan must
parse, validate against doc/plan.schema.json, and list the same commands
with the same arguments as the listing.  Usage:

    plan_check.py TEST_ROOT SOURCE_DIR

TEST_ROOT is the installed test tree, SOURCE_DIR the repository.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    sys.exit("plan_check.py needs the jsonschema module (Debian: python3-jsonschema)")

# Temporary names differ between two runs.
TEMP = re.compile(r"cc[A-Za-z0-9]{6}")
SUFFIXES = (".c", ".cc", ".C", ".cpp", ".cxx", ".i", ".ii", ".s", ".S", ".o", ".h", ".hpp",
            ".a", ".f", ".m")


def listing_words(text):
    """The commands of a -### listing: lists of words, pipelines split."""
    commands = []
    for line in text.splitlines():
        if not line.startswith(" "):
            continue
        words, i, n = [], 1, len(line)
        while i < n:
            if line[i] == '"':
                i += 1
                word = []
                while line[i] != '"':
                    if line[i] == "\\":
                        i += 1
                    word.append(line[i])
                    i += 1
                words.append("".join(word))
                i += 2
            else:
                j = line.find(" ", i)
                j = n if j < 0 else j
                words.append(line[i:j])
                i = j + 1
        if words and words[-1] == "|":
            words.pop()
        commands.append(words)
    return commands


def normalise(commands):
    return [[TEMP.sub("ccTEMP", w) for w in c] for c in commands]


def load_validator(schema_path):
    with open(schema_path) as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    return jsonschema.Draft202012Validator(schema).validate


def command_lines(test_dir, root):
    """Driver command lines with -### from the RUN lines, as word lists."""
    programs = {"%vrkxx": os.path.join(root, "bin", "vrk++"),
                "%vrk": os.path.join(root, "bin", "vrk")}
    inputs = os.path.join(test_dir, "Inputs")
    for name in sorted(os.listdir(test_dir)):
        if not name.endswith(".test"):
            continue
        with open(os.path.join(test_dir, name)) as f:
            for line in f:
                m = re.search(r"RUN: (.*)$", line)
                if not m or "-###" not in m.group(1):
                    continue
                text = m.group(1).replace("%inputs", inputs)
                if re.search(r"%(?!vrk)", text.split("2>")[0].split("|")[0]):
                    continue  # needs lit's temporary names or other substitutions
                try:
                    words = shlex.split(text)
                except ValueError:
                    continue
                start = next((i for i, w in enumerate(words) if w in programs), None)
                if start is None:
                    continue
                cmd = [programs[words[start]]]
                for w in words[start + 1:]:
                    if w in ("|", "2>&1", ">", "<", "&&", "||", ";") or w.startswith(("2>", ">")):
                        break
                    cmd.append(w)
                yield name, cmd


def prepare_inputs(cmd, cwd):
    for w in cmd[1:]:
        if w.startswith("-") or os.path.isabs(w) or not w.endswith(SUFFIXES):
            continue
        path = os.path.join(cwd, w)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "a").close()
    for d in ("out", "d", "dir"):
        os.makedirs(os.path.join(cwd, d), exist_ok=True)


def check_line(cmd, cwd, validate):
    """None when the line cannot be planned (the driver fails), else a
    list of problems."""
    env = dict(os.environ, LC_ALL="C")
    env.pop("LIBRARY_PATH", None)
    dry = subprocess.run(cmd, cwd=cwd, env=env, capture_output=True, text=True)
    if dry.returncode != 0:
        return None
    plan_cmd = ["-plan=json" if w == "-###" else w for w in cmd]
    run = subprocess.run(plan_cmd, cwd=cwd, env=env, capture_output=True, text=True)
    if run.returncode != 0:
        return ["plan failed (%d): %s" % (run.returncode, run.stderr.strip())]
    try:
        doc = json.loads(run.stdout)
        validate(doc)
    except (ValueError, Exception) as e:  # noqa: B014 (schema errors too)
        return ["invalid plan: %s" % e]
    listed = normalise(listing_words(dry.stderr))
    planned = normalise([c["arguments"] for c in doc["commands"]])
    if listed != planned:
        return ["commands differ:\n  -###: %r\n  plan: %r" % (listed, planned)]
    for c in doc["commands"]:
        if len(c["provenance"]) != len(c["arguments"]):
            return ["provenance not one per argument"]
    return []


def main():
    root, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    validate = load_validator(os.path.join(source, "doc", "plan.schema.json"))
    checked = failed = 0
    for name, cmd in command_lines(os.path.join(source, "tests", "driver"), root):
        with tempfile.TemporaryDirectory() as cwd:
            prepare_inputs(cmd, cwd)
            problems = check_line(cmd, cwd, validate)
        if problems is None:
            continue
        checked += 1
        if problems:
            failed += 1
            print("FAIL %s: %s" % (name, " ".join(cmd[1:])))
            for p in problems:
                print("  " + p)
    print("%d passed, %d failed" % (checked - failed, failed))
    # A run that checks next to nothing hides a broken extraction.
    return 1 if failed or checked < 20 else 0


if __name__ == "__main__":
    sys.exit(main())
