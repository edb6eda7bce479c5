#!/usr/bin/env python3
"""Runs clang-tidy over the given sources, a few at a time, and remembers the
ones that passed: a source whose own text, every header it includes (as the
build's dependency records list them), compile command, .clang-tidy and
clang-tidy version are all unchanged since it last passed is not checked again.
Prints how many files it checked and how many it took from that record; fails
when a check fails or when it was given no file.

usage: tidy.py BUILD_DIR JOBS SOURCE...
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys


def dependencies(build, outputs):
    """The files each object was built from, from ninja's dependency log."""
    text = subprocess.run(["ninja", "-C", build, "-t", "deps", *outputs],
                          capture_output=True, text=True, check=True).stdout
    deps, current = {}, None
    for line in text.splitlines():
        if line and not line.startswith(" "):
            current = line.split(":", 1)[0]
            deps[current] = []
        elif line.strip() and current is not None:
            deps[current].append(line.strip())
    return deps


def object_of(entry):
    """The object file a compile command writes (CMake names it only with -o)."""
    if entry.get("output"):
        return entry["output"]
    words = entry.get("arguments") or shlex.split(entry.get("command", ""))
    return words[words.index("-o") + 1] if "-o" in words[:-1] else None


def digest_of(paths, extra, root):
    h = hashlib.sha256(extra.encode())
    for path in sorted(set(paths)):
        # Named as in the checkout, so that another clone of the same tree finds its record.
        name = os.path.relpath(path, root) if os.path.abspath(path).startswith(root + os.sep) else path
        h.update(name.encode())
        try:
            with open(path, "rb") as f:
                h.update(hashlib.sha256(f.read()).digest())
        except OSError:
            h.update(b"missing")
    return h.hexdigest()


def main():
    build, jobs, sources = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    if not sources:
        print("lint: no source to check", file=sys.stderr)
        return 1
    root = os.getcwd()
    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = {os.path.relpath(e["file"], root): e for e in json.load(f)}
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout
    with open(".clang-tidy") as f:
        config = f.read()
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache")), "routelle-tidy")
    os.makedirs(cache, exist_ok=True)

    outputs = {s: object_of(commands[s]) for s in sources}
    deps = dependencies(build, [o for o in outputs.values() if o]) if any(outputs.values()) else {}
    keys = {}
    for s in sources:
        built_from = [os.path.normpath(os.path.join(build, p)) for p in deps.get(outputs[s], [])]
        # Paths differ between checkouts; the command is hashed without them.
        command = commands[s].get("command", " ".join(commands[s].get("arguments", [])))
        command = command.replace(root, "").replace(os.path.abspath(build), "")
        keys[s] = digest_of([s] + built_from, version + config + command, root) if built_from else None

    todo = [s for s in sources if not (keys[s] and os.path.exists(os.path.join(cache, keys[s])))]
    print(f"-- clang-tidy: {len(sources)} files, {len(todo)} checked now, "
          f"{len(sources) - len(todo)} unchanged since they passed", flush=True)

    def check(source):
        run = subprocess.run(["clang-tidy", "-p", build, "--quiet", source], capture_output=True, text=True)
        return source, run.returncode, run.stdout + run.stderr

    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for source, status, output in pool.map(check, todo):
            lines = [l for l in output.splitlines() if l and not l.endswith("generated.")
                     and not l.startswith(("Suppressed ", "Use -header-filter"))]
            if status != 0:
                failed += 1
                print("\n".join(lines) or f"{source}: clang-tidy exited {status}")
            elif keys[source]:
                open(os.path.join(cache, keys[source]), "w").close()
    if failed:
        print(f"lint: clang-tidy failed on {failed} of {len(todo)} files", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
