#!/usr/bin/env python3
"""Every JSON output of tallora-cli against docs/cli-json.schema.json: the recorded transcripts'
(the example and random jobs, refusals, several jobs, the inventory's lists and bookings) and
Optimal's, whose plans depend on the machine's speed and are not recorded.
Usage: check-json-schema.py TALLORA_CLI SOURCE_DIR WORK_DIR"""
import json
import pathlib
import shutil
import subprocess
import sys

import jsonschema

cli, source, work = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
schema = json.loads((source / "docs/cli-json.schema.json").read_text())
validator = jsonschema.Draft202012Validator(schema)
outputs = []


# One indented object (--format json), or one object a line (jsonl, several jobs).
def keep(name, out):
    texts = [out] if out.startswith("{\n") else [l for l in out.splitlines() if l.startswith("{")]
    outputs.extend((name, json.loads(text)) for text in texts)


def run(args):
    done = subprocess.run([cli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"tallora-cli {' '.join(args)}: exit {done.returncode}\n{done.stderr}")
    return done.stdout


for path in sorted((source / "tests/cli/golden").iterdir()):
    text = path.read_text(encoding="utf-8")
    keep(path.name, text[text.index("--- out\n") + 8:text.index("--- err\n")])

shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
inventory = str(work / "offcuts.sqlite")
run(["inventory", "add", "IPE 200", "2500", "2", "--inventory", inventory])
examples = source / "examples"
optimal = [
    [str(examples / "beam-job.tlf"), "--costing"],
    [str(examples / "costing-job.tlf"), "--costing"],
    [str(examples / "limited-stock.tlf"), "--costing"],
    ["--units", "imperial", "--stock", "ANY@20ft", "--cut", "12@6' 3-1/2\"", "--kerf", "1/8\"",
     "--trim", "1/2\"", "--costing", "--weight", "31", "--cost", "45", "--per", "cwt"],
    # Two pieces that the offcuts of 2500 mm can give.
    ["--stock", "*@6000", "--cut", "6@1500", "--cut", "1@5000", "--cut", "2@2400", "--offcut", "1000",
     "--section", "IPE 200", "--use-offcuts", "--inventory", inventory],
]
# Whatever plan the time allows, its output has the same shape.
for args in optimal:
    out = run([*args, "--algorithm", "optimal", "--time-limit", "2", "--format", "json"])
    keep("optimal " + args[0], out)

failures = [f"{name}: {error.json_path}: {error.message}"
            for name, output in outputs for error in validator.iter_errors(output)]
if len(outputs) < 50:
    failures.append(f"only {len(outputs)} outputs: are the recorded transcripts there?")
print("\n".join(failures) or f"{len(outputs)} outputs match the schema")
sys.exit(1 if failures else 0)
