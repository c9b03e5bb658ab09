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


def keep(name, out):
    if out.startswith("{\n"):
        outputs.append((name, json.loads(out)))
    else:
        outputs.extend((name, json.loads(line)) for line in out.splitlines() if line.startswith("{"))


for path in sorted((source / "tests/cli/golden").iterdir()):
    text = path.read_text(encoding="utf-8")
    keep(path.name, text[text.index("--- out\n") + 8:text.index("--- err\n")])

shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
inventory = str(work / "offcuts.sqlite")
subprocess.run([cli, "inventory", "add", "IPE 200", "2500", "2", "--inventory", inventory], check=True,
               capture_output=True)
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
for args in optimal:
    run = subprocess.run([cli, *args, "--algorithm", "optimal", "--time-limit", "2", "--format", "json"],
                         capture_output=True, text=True, check=True)
    keep("optimal " + args[0], run.stdout)

failures = [f"{name}: {error.json_path}: {error.message}"
            for name, output in outputs for error in validator.iter_errors(output)]
print("\n".join(failures) or f"{len(outputs)} outputs match the schema")
sys.exit(1 if failures or len(outputs) < 50 else 0)
