#!/usr/bin/env python3
"""CPU time per byte of kordelc -j 1 on one language's files, warm cache: the table's Go counter on the
Go tree against the built-in C counter on the kernel, and, on the same bytes, the table's Go row on the
kernel's C files (--map). Prints the median of RUNS runs of each and the ratios, with the load average
at the start and the end. The first ratio also weighs the trees apart: the Go tree's files are smaller,
so the cost of finding, opening and reading each file is a larger part of it.

With KORDEL_READ_FLOOR naming bench/floor.cpp's build (read_floor), the reading floor (open, read, memchr,
close, nothing counted) of each tree's counted files is timed as well: the part of the first ratio that
no counter can remove, since it comes from the trees' file sizes alone.

Usage: bench/per_byte.py KORDELC [GO_TREE] [KERNEL_TREE] [RUNS]
(defaults: /usr/share/go-1.19, /tmp/kordel-bench-kernel/linux-source-6.1, 5). Run it under nice."""
import json, os, statistics, subprocess, sys, tempfile

kordelc = sys.argv[1]
go_tree = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/go-1.19"
kernel = sys.argv[3] if len(sys.argv) > 3 else "/tmp/kordel-bench-kernel/linux-source-6.1"
runs = int(sys.argv[4]) if len(sys.argv) > 4 else 5


floor = os.environ.get("KORDEL_READ_FLOOR")


def counted_files(tree, exts, extra):
    """The paths kordelc counts (it lists them by name in its JSON)."""
    out = subprocess.run([kordelc, "-q", "-f", "json", *extra, "--include-ext", exts, tree], check=True,
                         stdout=subprocess.PIPE).stdout
    return [f["path"] for f in json.loads(out)["files"]]


def cpu_seconds(argv):
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
        os.execv(argv[0], argv)
    _, status, usage = os.wait4(pid, 0)
    if status != 0:
        sys.exit(f"{' '.join(argv)} failed")
    return usage.ru_utime + usage.ru_stime


def report(label, files, size, times):
    ns = statistics.median(times) / size * 1e9
    print(f"{label}: {files} files, {size} bytes, CPU s {' '.join(f'{t:.3f}' for t in times)}: {ns:.2f} ns/byte")
    return ns


print("load average at start:", " ".join(f"{x:.2f}" for x in os.getloadavg()))
as_go = ["--map", ".c=.go", "--map", ".h=.go"]
sides = [("table counter, Go tree .go", go_tree, ".go", []), ("C counter, kernel .c .h", kernel, ".c,.h", []),
         ("table counter (Go row), kernel .c .h", kernel, ".c,.h", as_go)]
lists = [counted_files(tree, exts, extra) for _, tree, exts, extra in sides]  # also warms the cache
sizes = [(len(files), sum(os.path.getsize(f) for f in files)) for files in lists]
commands = [[kordelc, "-q", "-j", "1", *extra, "--include-ext", exts, tree] for _, tree, exts, extra in sides]
with tempfile.TemporaryDirectory() as scratch:
    if floor:  # the floor reads the same files as the first two sides
        for k in range(2):
            listed = os.path.join(scratch, f"list{k}")
            with open(listed, "w") as out:
                out.write("".join(f + "\n" for f in lists[k]))
            commands.append([floor, listed])
    times = [[] for _ in commands]
    for _ in range(runs):  # interleaved, so that every side sees the same load
        for k, argv in enumerate(commands):
            times[k].append(cpu_seconds(argv))
go, c, same = (report(sides[k][0], *sizes[k], times[k]) for k in range(len(sides)))
print(f"ratio, Go tree against kernel: {go / c:.2f}; on the same kernel files: {same / c:.2f}")
if floor:
    floor_go = report("reading floor, Go tree .go", *sizes[0], times[3])
    floor_c = report("reading floor, kernel .c .h", *sizes[1], times[4])
    print(f"reading floor, Go tree against kernel: {floor_go / floor_c:.2f}; "
          f"counter over floor, Go tree {go / floor_go:.2f}, kernel {c / floor_c:.2f}")
print("load average at end:", " ".join(f"{x:.2f}" for x in os.getloadavg()))
