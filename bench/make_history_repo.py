#!/usr/bin/env python3
"""Builds a git repository with a long first-parent history for timing kordelc --history.

Usage: bench/make_history_repo.py DIR [--commits N] [--files N] [--seed N]
       bench/make_history_repo.py DIR --append N      (N more commits on top of DIR's main branch)

The history is written as one git fast-import stream: about FILES files of fourteen languages at the
start, then commits that edit one to four files, with added, deleted and renamed files (some renames
change the language), a merge-free first-parent chain, a tag every 1,000 commits (every fifth one
annotated), and four large rewrites: a third of the files rewritten, a folder renamed, a language
converted (.c to .cpp), and half the text files deleted. Deterministic for a seed.
"""
import argparse
import os
import random
import subprocess
import sys

LANGUAGES = [  # extension, weight, (line comment, block begin, block end) or None
    (".c", 14, ("//", "/*", "*/")), (".h", 10, ("//", "/*", "*/")), (".cpp", 10, ("//", "/*", "*/")),
    (".hpp", 4, ("//", "/*", "*/")), (".java", 10, ("//", "/*", "*/")), (".js", 8, ("//", "/*", "*/")),
    (".py", 10, ("#", None, None)), (".rb", 4, ("#", None, None)), (".php", 4, ("//", "/*", "*/")),
    (".pas", 3, ("//", "{", "}")), (".html", 4, (None, "<!--", "-->")), (".sql", 4, ("--", "/*", "*/")),
    (".tex", 2, ("%", None, None)), (".txt", 3, None),
]
FOLDERS = ["src", "lib", "core", "net", "ui", "tools", "tests", "docs", "web", "db", "util", "io"]
WORDS = "alpha beta gamma delta value count index buffer result total state node list item key data".split()


def make_line(rng, rules):
    kind = rng.random()
    w = rng.choice(WORDS)
    n = rng.randrange(1000)
    if rules is None:
        return "" if kind < 0.15 else f"{w} {rng.choice(WORDS)} {n} {rng.choice(WORDS)}"
    line, begin, end = rules
    if kind < 0.14:
        return ""
    if kind < 0.24 and line:
        return f"{line} {w} {n}"
    if kind < 0.28 and begin:
        return f"{begin} {w} {n} {end}"
    if kind < 0.33 and line:
        return f"    {w}_{n} = {n}; {line} {rng.choice(WORDS)}"
    return f"    {w}_{n} = {rng.choice(WORDS)}({n}, \"{rng.choice(WORDS)}\");"


def make_file(rng, ext, lines=None):
    rules = dict((e, r) for e, _, r in LANGUAGES)[ext]
    count = lines if lines is not None else int(rng.lognormvariate(4.3, 0.7)) + 3
    out = []
    while len(out) < count:
        if rules and rules[1] and rng.random() < 0.03:  # a block comment over several lines
            out.append(rules[1] + " " + rng.choice(WORDS))
            out.extend(" * " + rng.choice(WORDS) for _ in range(rng.randrange(1, 6)))
            out.append(" " + rules[2])
        else:
            out.append(make_line(rng, rules))
    return out


def edit(rng, ext, lines):
    rules = dict((e, r) for e, _, r in LANGUAGES)[ext]
    lines = list(lines)
    for _ in range(rng.randrange(1, 6)):
        at = rng.randrange(len(lines) + 1)
        op = rng.random()
        if op < 0.4 and lines:
            lines[min(at, len(lines) - 1)] = make_line(rng, rules)
        elif op < 0.8:
            lines[at:at] = [make_line(rng, rules) for _ in range(rng.randrange(1, 8))]
        elif lines:
            del lines[at:at + rng.randrange(1, 5)]
    return lines or [make_line(rng, rules)]


def pick_ext(rng):
    return rng.choices([e for e, _, _ in LANGUAGES], [w for _, w, _ in LANGUAGES])[0]


class Stream:
    def __init__(self, out):
        self.out = out

    def data(self, text):
        raw = text.encode()
        self.out.write(b"data %d\n" % len(raw) + raw + b"\n")

    def commit(self, mark, when, message, changes, parent=None):
        self.out.write(b"commit refs/heads/main\nmark :%d\n" % mark)
        self.out.write(b"committer Bench <bench@example.invalid> %d +0000\n" % when)
        self.data(message)
        if parent:
            self.out.write(b"from %s\n" % parent.encode())
        for change in changes:
            if change[0] == "M":
                self.out.write(b"M 100644 inline %s\n" % change[1].encode())
                self.data("\n".join(change[2]) + "\n")
            elif change[0] == "D":
                self.out.write(b"D %s\n" % change[1].encode())
            else:
                self.out.write(b"R %s %s\n" % (change[1].encode(), change[2].encode()))

    def tag(self, name, mark, when, annotated):
        if annotated:
            self.out.write(b"tag %s\nfrom :%d\ntagger Bench <bench@example.invalid> %d +0000\n" % (name.encode(), mark, when))
            self.data("release " + name)
        else:
            self.out.write(b"reset refs/tags/%s\nfrom :%d\n\n" % (name.encode(), mark))


def new_path(rng, files, ext=None):
    while True:
        ext = ext or pick_ext(rng)
        path = f"{rng.choice(FOLDERS)}/{rng.choice(WORDS)}{rng.randrange(100)}/{rng.choice(WORDS)}_{rng.randrange(100000)}{ext}"
        if path not in files:
            return path


def run(args):
    rng = random.Random(args.seed)
    files = {}  # path -> lines
    start = 0
    parent = None
    first_mark = 1
    when = 1388534400  # 2014-01-01
    if args.append:
        listing = subprocess.run(["git", "-C", args.dir, "ls-tree", "-r", "main"], check=True,
                                 capture_output=True, text=True).stdout.splitlines()
        paths = [line.split("\t", 1)[1] for line in listing]
        blobs = subprocess.run(["git", "-C", args.dir, "cat-file", "--batch"], check=True, capture_output=True,
                               input="".join("main:" + p + "\n" for p in paths).encode()).stdout
        at = 0
        for p in paths:
            header_end = blobs.index(b"\n", at)
            size = int(blobs[at:header_end].split()[2])
            files[p] = blobs[header_end + 1:header_end + 1 + size].decode().splitlines()
            at = header_end + 1 + size + 1
        when = int(subprocess.run(["git", "-C", args.dir, "log", "-1", "--format=%ct", "main"], check=True,
                                  capture_output=True, text=True).stdout) + 3600
        rng = random.Random(args.seed + when)
        parent = "refs/heads/main^0"
        start = int(subprocess.run(["git", "-C", args.dir, "rev-list", "--count", "main"], check=True,
                                   capture_output=True, text=True).stdout)
        total = args.append
    else:
        subprocess.run(["git", "init", "-q", "-b", "main", args.dir], check=True)
        total = args.commits
    # fast-import grows and trims its heap for every blob: with glibc's defaults that is a brk call per
    # blob and ten times the run time. A top pad and no trimming keep the heap.
    env = dict(os.environ, MALLOC_TOP_PAD_=str(512 << 20), MALLOC_TRIM_THRESHOLD_=str((1 << 32) - 1))
    proc = subprocess.Popen(["git", "-C", args.dir, "fast-import", "--quiet", "--done"], stdin=subprocess.PIPE, env=env)
    out = Stream(proc.stdin)
    for k in range(total):
        i = start + k
        mark = first_mark + k
        changes = []
        if i == 0:
            for _ in range(args.files * 2 // 3):
                path = new_path(rng, files)
                files[path] = make_file(rng, path[path.rindex("."):])
                changes.append(("M", path, files[path]))
        elif i in (args.commits // 4, args.commits // 2, 3 * args.commits // 4, args.commits - 500):
            changes += rewrite(rng, files, [args.commits // 4, args.commits // 2, 3 * args.commits // 4].index(i)
                               if i != args.commits - 500 else 3)
        else:
            r = rng.random()
            if r < 0.06 or len(files) < 10:
                path = new_path(rng, files)
                files[path] = make_file(rng, path[path.rindex("."):])
                changes.append(("M", path, files[path]))
            elif r < 0.08:
                path = rng.choice(sorted(files)) if k % 50 == 0 else rng.choice(list(files))
                del files[path]
                changes.append(("D", path))
            elif r < 0.10:
                path = rng.choice(list(files))
                # A third of the renames change the language too.
                ext = pick_ext(rng) if rng.random() < 0.33 else path[path.rindex("."):]
                target = new_path(rng, files, ext) if rng.random() < 0.5 else path[:path.rindex(".")] + ext
                if target not in files:
                    files[target] = files.pop(path)
                    changes.append(("R", path, target))
            for _ in range(rng.choice((1, 1, 1, 2, 2, 3, 4))):
                path = rng.choice(list(files))
                files[path] = edit(rng, path[path.rindex("."):], files[path])
                changes.append(("M", path, files[path]))
        when += rng.randrange(600, 16000)
        out.commit(mark, when, f"change {i}", changes, parent if k == 0 else None)
        if (i + 1) % 1000 == 0:
            out.tag(f"v{(i + 1) // 1000}", mark, when, (i + 1) % 5000 == 0)
    proc.stdin.write(b"done\n")
    proc.stdin.close()
    if proc.wait() != 0:
        sys.exit("git fast-import failed")
    print(f"{args.dir}: {start + total} commits, {len(files)} files at the end")


def rewrite(rng, files, which):
    changes = []
    if which == 0:  # a third of the files rewritten
        for path in list(files):
            if rng.random() < 0.33:
                files[path] = make_file(rng, path[path.rindex("."):])
                changes.append(("M", path, files[path]))
    elif which == 1:  # a folder renamed
        for path in [p for p in files if p.startswith("core/")]:
            files["kernel/" + path[5:]] = files.pop(path)
        changes.append(("R", "core", "kernel"))
    elif which == 2:  # C converted to C++
        for path in [p for p in files if p.endswith(".c")]:
            files[path + "pp"] = files.pop(path)
            changes.append(("R", path, path + "pp"))
    else:  # half the text files deleted
        for path in [p for p in files if p.endswith(".txt")][::2]:
            del files[path]
            changes.append(("D", path))
    return changes


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("dir")
    parser.add_argument("--commits", type=int, default=42000)
    parser.add_argument("--files", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--append", type=int, default=0)
    run(parser.parse_args())
