#!/usr/bin/env python3
"""Gathers the summary.json files of many kartrun --report folders into one CSV table.

Usage: gather_summaries.py FOLDER... > table.csv

Every summary.json found under the folders (at any depth) becomes one row. Its first column,
"run", is the folder the summary lies in; the other columns are its values, nested names joined
with dots ("karts.0.distance"), in the order first seen. A value a summary lacks stays empty.
Folders without any summary are an error, so that a sweep that wrote nothing is noticed.
"""
import csv
import json
import os
import sys


def flatten(value, prefix, out):
    if isinstance(value, dict):
        for key, item in value.items():
            flatten(item, f"{prefix}.{key}" if prefix else str(key), out)
    elif isinstance(value, list):
        for index, item in enumerate(value):
            flatten(item, f"{prefix}.{index}" if prefix else str(index), out)
    elif isinstance(value, bool):
        out[prefix] = "true" if value else "false"
    elif value is None:
        out[prefix] = ""
    else:
        out[prefix] = value if isinstance(value, str) else repr(value)


def summaries(folders):
    for folder in folders:
        if os.path.isfile(folder):
            yield folder
            continue
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            if "summary.json" in files:
                yield os.path.join(root, "summary.json")


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__.strip())
    rows, columns = [], ["run"]
    for path in summaries(argv[1:]):
        try:
            with open(path, encoding="utf-8") as f:
                data = json.load(f)
        except (OSError, ValueError) as error:
            sys.exit(f"gather_summaries: cannot read {path}: {error}")
        row = {"run": os.path.dirname(path) or "."}
        flatten(data, "", row)
        for key in row:
            if key not in columns:
                columns.append(key)
        rows.append(row)
    if not rows:
        sys.exit("gather_summaries: no summary.json under " + " ".join(argv[1:]))
    out = csv.DictWriter(sys.stdout, fieldnames=columns, restval="", lineterminator="\n")
    out.writeheader()
    out.writerows(rows)


if __name__ == "__main__":
    main(sys.argv)
