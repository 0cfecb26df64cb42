#!/usr/bin/env python3
"""Times shell commands side by side. Every round runs each command once, the
order turning from round to round, so that on a machine whose load drifts
(other work on the same processors) every command meets the same load.
Writes JSON: {"results": [{"command": NAME, "median": SECONDS, "times": [...]}]}.

usage: time_commands.py --runs N [--warmup W] --export-json FILE
                        -n NAME [-p PREPARE] COMMAND [-n NAME [-p PREPARE] COMMAND]...
PREPARE runs before each run of its command, untimed. A command that fails
ends the benchmark with its output.
"""
import argparse
import json
import statistics
import subprocess
import sys
import tempfile
import time


def parse(argv):
    options = argparse.ArgumentParser(usage=__doc__)
    options.add_argument("--runs", type=int, default=5)
    options.add_argument("--warmup", type=int, default=0)
    options.add_argument("--export-json", required=True)
    known, rest = options.parse_known_args(argv)
    commands = []
    while rest:
        if rest[0] != "-n" or len(rest) < 3:
            options.error(f"expected -n NAME [-p PREPARE] COMMAND at {rest[:3]}")
        name, rest = rest[1], rest[2:]
        prepare = None
        if rest[0] == "-p":
            prepare, rest = rest[1], rest[2:]
        commands.append({"name": name, "prepare": prepare, "command": rest[0]})
        rest = rest[1:]
    return known, commands


def run(entry):
    if entry["prepare"]:
        subprocess.run(entry["prepare"], shell=True, check=True, stdout=subprocess.DEVNULL)
    # Output goes to a file, not a pipe: processes a command leaves running
    # (Wine's services) would keep a pipe open.
    with tempfile.TemporaryFile() as output:
        start = time.monotonic()
        done = subprocess.run(entry["command"], shell=True, stdout=output, stderr=subprocess.STDOUT)
        seconds = time.monotonic() - start
        if done.returncode != 0:
            output.seek(0)
            sys.exit(f"{entry['name']} failed ({done.returncode}): {entry['command']}\n"
                     + output.read().decode(errors="replace"))
    return seconds


def main():
    options, commands = parse(sys.argv[1:])
    for _ in range(options.warmup):
        for entry in commands:
            run(entry)
    times = {entry["name"]: [] for entry in commands}
    for round_number in range(options.runs):
        turn = round_number % len(commands)
        for entry in commands[turn:] + commands[:turn]:
            times[entry["name"]].append(run(entry))
    results = [{"command": entry["name"], "median": statistics.median(times[entry["name"]]),
                "times": times[entry["name"]]} for entry in commands]
    with open(options.export_json, "w") as out:
        json.dump({"results": results}, out, indent=1)


if __name__ == "__main__":
    main()
