#!/usr/bin/env python3
"""Fails when a function, a lambda, or a class of a .cpp file that holds the code of its member functions
is longer than the limit (80 lines, from the line its head starts on to its closing brace). A class in
a header is the interface others read, and is not measured.

Crude on purpose: comments, strings, characters and preprocessor lines are blanked, then braces are
matched and each block is named by the text before it. Tests, benchmarks and fuzz targets are not
checked. Usage: function-length.py [--limit N] [FILE...] (default: every tracked source of the layers).
"""
import re
import subprocess
import sys

FOLDERS = ("engine", "platform", "sources", "vcs", "diff", "history", "outputs", "cli", "ui", "reports",
           "projects", "userlang", "installhelpers", "common")
LIMIT = 80

CONTROL = re.compile(r"^(?:else\s+)?(?:if|for|while|switch|catch|do|else|try)\b")
LAMBDA = re.compile(r"\]\s*(?:\([^()]*(?:\([^()]*\)[^()]*)*\))?\s*(?:mutable|constexpr|noexcept|->[^{};]*)*\s*$")
FUNCTION = re.compile(r"\)\s*(?:const|noexcept(?:\([^()]*\))?|override|final|mutable|&|&&|->[\w:<>,*&\s]+|\s)*$")
INIT_LIST = re.compile(r"\)\s*:\s*[\w:]+\s*[({].*[)}]\s*$")
CLASS = re.compile(r"\b(?:class|struct|union)\b[^(){};]*$")


def blank(text):
    """`text` with comments, string and character literals and preprocessor lines replaced by spaces
    (line feeds kept, so line numbers stay)."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            while i < n and (text[i] != "\n" or text[i - 1] == "\\"):
                out.append("\n" if text[i] == "\n" else " ")
                i += 1
            continue
        if c == "\n":
            line_start = True
            out.append(c)
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out.append(" ")
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == '"' and re.search(r"(?:^|[^\w])(?:u8|u|U|L)?R$", text[max(0, i - 3):i]):
            delim = text[i + 1:text.index("(", i)]
            end = text.index(")" + delim + '"', i) + len(delim) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(" " * (j + 1 - i))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def kind_of(head):
    head = " ".join(head.split())
    if LAMBDA.search(head):
        return "lambda"
    if head.count("(") > head.count(")"):
        return "init"  # braces inside an expression: a braced list passed or iterated over
    if CLASS.search(head) and not re.search(r"\benum\b", head):
        return "class"
    if re.search(r"\b(?:namespace|enum)\b[^;]*$", head) or re.search(r'extern\s*$', head):
        return "scope"
    if (FUNCTION.search(head) or INIT_LIST.search(head)) and not CONTROL.match(head):
        return "function"
    if head == "" or head.endswith(("else", "do", "try", ")", ":")):
        return "block"
    return "init"  # a braced initializer: part of the statement around it


def long_blocks(path, limit):
    text = blank(open(path, encoding="utf-8", errors="replace").read())
    found = []
    stack = []  # (kind, head's first line, name, holds code)
    head, head_line = "", None
    line = 1
    for c in text:
        if c == "\n":
            line += 1
        if c == "{":
            kind = kind_of(head)
            name = " ".join(head.split())[-70:]
            stack.append((kind, head_line or line, name, False, head if kind == "init" else ""))
            if kind in ("function", "lambda") and stack[:-1]:
                outer = stack[-2]
                stack[-2] = outer[:3] + (True,) + outer[4:]
            head, head_line = "", None
        elif c == "}":
            if not stack:
                continue
            kind, first, name, holds_code, outer_head = stack.pop()
            length = line - first + 1
            measured = kind in ("function", "lambda") or (kind == "class" and holds_code and path.endswith(".cpp"))
            if measured and length > limit:
                found.append((path, first, length, kind, name))
            if kind == "init":
                head, head_line = outer_head + "{}", first  # the statement goes on after the initializer
            else:
                head, head_line = "", None
        elif c == ";":
            head, head_line = "", None
        else:
            if head_line is None and not c.isspace():
                head_line = line
            head += c
    return found


def main(argv):
    limit = LIMIT
    if argv[:1] == ["--limit"]:
        limit, argv = int(argv[1]), argv[2:]
    files = argv
    if not files:
        files = subprocess.run(["git", "ls-files", "--", *[f + "/*.cpp" for f in FOLDERS],
                                 *[f + "/*.h" for f in FOLDERS], *[f + "/*.inc" for f in FOLDERS]],
                                check=True, capture_output=True, text=True).stdout.split()
    found = []
    for path in files:
        found += long_blocks(path, limit)
    for path, first, length, kind, name in found:
        print(f"{path}:{first}: {kind} of {length} lines (over {limit}): {name}")
    if found:
        print(f"function-length: {len(found)} block(s) over {limit} lines")
        return 1
    print(f"function-length: {len(files)} sources, no function over {limit} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
