#!/usr/bin/env python3
"""Prints "<source> <key>" for each source named on standard input: a hash of everything
clang-tidy reads for it (its compile command, the source and every header the last build of it
included, as Ninja recorded them), the checks and clang-tidy's version. Equal keys, equal
findings, so tools/tidy.sh checks again only what changed. A source not yet built gets the key
"-", which is never taken as checked.

    tools/tidy_keys.py <build folder> <clang-tidy> < sources
"""
import hashlib
import json
import os
import shlex
import subprocess
import sys


def main():
    build, tidy = sys.argv[1], sys.argv[2]
    root = os.getcwd()
    common = hashlib.sha256()
    common.update(subprocess.run([tidy, "--version"], capture_output=True).stdout)
    with open(".clang-tidy", "rb") as config:
        common.update(config.read())

    commands = {}
    with open(os.path.join(build, "compile_commands.json")) as database:
        for entry in json.load(database):
            source = os.path.relpath(entry["file"], root)
            words = shlex.split(entry["command"])
            output = words[words.index("-o") + 1] if "-o" in words else ""
            commands[source] = (output, entry["command"])

    deps = {}
    listing = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True)
    target = None
    for line in listing.stdout.splitlines():
        if line and not line.startswith(" "):
            target = line.split(":", 1)[0]
            deps[target] = [] if "(VALID)" in line else None
        elif line.strip() and target is not None and deps[target] is not None:
            deps[target].append(os.path.normpath(os.path.join(build, line.strip())))

    digests = {}

    def digest(path):
        if path not in digests:
            try:
                with open(path, "rb") as file:
                    digests[path] = hashlib.sha256(file.read()).digest()
            except OSError:
                digests[path] = b"missing"
        return digests[path]

    for source in sys.stdin.read().split():
        output, command = commands.get(source, ("", ""))
        headers = deps.get(output)
        if not headers:
            print(source, "-")
            continue
        key = common.copy()
        key.update(command.encode())
        key.update(digest(source))
        for header in headers:
            key.update(header.encode())
            key.update(digest(header))
        print(source, key.hexdigest())


if __name__ == "__main__":
    main()
