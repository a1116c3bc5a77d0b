#!/usr/bin/env python3
"""Per-file counts of a kordelc build, recorded once and compared with another build.

  bench/compare_counts.py record  KORDELC FILE   counts with KORDELC and writes them to FILE (gzip)
  bench/compare_counts.py compare KORDELC FILE   counts with KORDELC and lists every file that differs
  --with OPTION (repeatable) passes OPTION to KORDELC, as in: compare build/cli/kordelc FILE --with=--builtin-only

Both count the same inputs in three modes (default, --mixed-as-both, --blank-in-block): every file of a
known extension in the Linux tree (bench/run unpacks it to /tmp/kordel-bench-kernel; --tree picks another)
and a generated corpus of files for every built-in extension and three user languages, whose lines are
made of comment markers, quotes, CR, Ctrl-Z, NUL bytes and overlong lines (same seed, same files).
Exit status 0 when every count agrees.
"""
import argparse
import gzip
import json
import os
import random
import re
import subprocess
import sys
import tempfile

MODES = [[], ["--mixed-as-both"], ["--blank-in-block"]]
# Every built-in extension, from the dispatch table's own list.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "engine", "builtin_languages.inc")) as table:
    BUILTIN = list(dict.fromkeys(re.findall(r'^KORDEL_EXTENSION\("([^"]+)"', table.read(), re.M)))
# Three user languages: Lua-like signals, a fixed-column one and equal begin and end signals.
USER_DB = ("Lua-like\n.zz1\n--\n0\n--[[\n0\n]]\nNo\n"
           "Columns\n.zz2\nC\n1\n*>\n3\n<*\nNo\n"
           "Same\n.zz3\n#\n0\n##\n0\n##\nYes\n")
TOKENS = ["//", "/*", "*/", "#", "--", ";", ";;", ";;;;", "%", "'", "'", '"', '"', '"""', "(*", "*)", "{", "}",
          "<!--", "-->", "#|", "|#", "rem", "REM", "Rem", "C", "c", "*", "\\", "!", "--[[", "]]", "*>", "<*", "##",
          " ", " ", "  ", "\t", "x", "y = 1", "=", "+", ",", "123", "(", ")", ".", ":", "\f", "\r"]


def generate(folder, seed=1):
    rnd = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    for ext in BUILTIN + [".zz1", ".zz2", ".zz3"]:
        for k in range(24):
            lines = []
            for _ in range(rnd.randint(0, 60)):
                kind = rnd.random()
                if kind < 0.12:
                    lines.append("")
                elif kind < 0.2:
                    lines.append(rnd.choice([" ", "\t", "  \t "]))
                elif kind < 0.21:
                    lines.append("x" * rnd.choice([4094, 4095, 4096, 5000, 9000]) + rnd.choice(TOKENS))
                else:
                    lines.append("".join(rnd.choice(TOKENS) for _ in range(rnd.randint(1, 12))))
            end = rnd.choice(["\n", "\n", "\n", "\r\n", "\r"])
            data = end.join(lines)
            if rnd.random() < 0.7:
                data += end
            raw = data.encode("latin-1")
            if rnd.random() < 0.05 and raw:
                at = rnd.randrange(len(raw))
                raw = raw[:at] + rnd.choice([b"\x1a", b"\x00"]) + raw[at:]
            with open(os.path.join(folder, f"f{k:02d}{ext}"), "wb") as f:
                f.write(raw)


def count(kordelc, inputs, db, jobs, extra):
    rows = {}
    for mode in MODES:
        cmd = [kordelc, "--quiet", "-f", "json", "-j", str(jobs), "--languages", db] + extra + mode + inputs
        out = subprocess.run(cmd, stdout=subprocess.PIPE, check=False).stdout
        name = " ".join(mode) or "default"
        for f in json.loads(out)["files"]:
            rows[(name, f["path"])] = (f["code"], f["comment"], f["mixed"], f["blank"], f["lines"])
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("action", choices=["record", "compare"])
    parser.add_argument("kordelc")
    parser.add_argument("file")
    parser.add_argument("--tree", default="/tmp/kordel-bench-kernel/linux-source-6.1")
    parser.add_argument("--corpus", default=os.path.join(tempfile.gettempdir(), "kordel-compare-corpus"))
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--with", dest="extra", action="append", default=[], metavar="OPTION")
    a = parser.parse_args()
    generate(a.corpus)
    with tempfile.NamedTemporaryFile("w", suffix=".ini", delete=False) as db:
        db.write(USER_DB)
    try:
        inputs = [p for p in (a.tree, a.corpus) if os.path.isdir(p)]
        rows = count(os.path.abspath(a.kordelc), inputs, db.name, a.jobs, a.extra)
    finally:
        os.unlink(db.name)
    if a.action == "record":
        with gzip.open(a.file, "wt", encoding="utf-8", errors="surrogateescape") as f:
            for (mode, path), c in sorted(rows.items()):
                f.write("\t".join([mode, path] + [str(v) for v in c]) + "\n")
        print(f"recorded {len(rows)} counts ({len(rows) // len(MODES)} files x {len(MODES)} modes) in {a.file}")
        return 0
    base = {}
    with gzip.open(a.file, "rt", encoding="utf-8", errors="surrogateescape") as f:
        for line in f:
            mode, path, *c = line.rstrip("\n").split("\t")
            base[(mode, path)] = tuple(int(v) for v in c)
    differ = [k for k in base if k in rows and rows[k] != base[k]]
    missing = [k for k in base if k not in rows]
    extra = [k for k in rows if k not in base]
    print(f"compared {len(base)} counts ({len(base) // len(MODES)} files x {len(MODES)} modes): "
          f"{len(differ)} differ, {len(missing)} missing, {len(extra)} new")
    print("fields: code comment mixed blank lines")
    for k in (differ + missing + extra)[:20]:
        print(f"  {k[0]}: {k[1]}: before {base.get(k)}, now {rows.get(k)}")
    return 0 if not (differ or missing or extra) else 1


if __name__ == "__main__":
    sys.exit(main())
