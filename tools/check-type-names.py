#!/usr/bin/env python3
"""Fails when two files define a type of the same name in namespace dialvault.

Two different definitions under one name break the one-definition rule: the
linker keeps one of each compiler-made function (a destructor, say) for both,
and which one it keeps depends on inlining. Types in anonymous namespaces, in
function bodies or nested in a class belong to their file or owner and are
not counted. Each program's own file (a test, benchmark, tool or fuzz target)
is linked into a program of its own, so two of them may share a name; a
shared file (a library's, a test helper's) may share one with no other file.

    python3 tools/check-type-names.py [ROOT]
"""
import pathlib
import re
import sys

FOLDERS = ("src", "tests", "bench", "tools", "fuzz")
TOKEN = re.compile(r"[A-Za-z_]\w*|::|\S")
# Comments, string and character literals and preprocessor lines.
NOISE = re.compile(
    r'//[^\n]*|/\*.*?\*/|R"([^(\s]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"'
    r"|'(?:\\.|[^'\\\n])*'|^[ \t]*#[^\n]*(?:\\\n[^\n]*)*",
    re.S | re.M,
)
IDENTIFIER = re.compile(r"[A-Za-z_]\w*$")


def defined_types(text):
    """The qualified names of the types defined directly in named namespaces."""
    toks = TOKEN.findall(NOISE.sub(" ", text))
    found = []
    # One entry per open brace: the scopes it opens, ("namespace", name),
    # ("anonymous",) or ("other",) for a class, function or initialiser.
    stack = []
    pending = None
    i = 0
    while i < len(toks):
        t = toks[i]
        if t == "namespace":
            j = i + 1
            names = []
            while j < len(toks) and toks[j] not in ("{", ";", "="):
                if toks[j] != "::":
                    names.append(toks[j])
                j += 1
            if j < len(toks) and toks[j] == "{":
                pending = [("namespace", n) for n in names] or [("anonymous",)]
            i = j
            continue
        if t == "extern" and i + 1 < len(toks) and toks[i + 1] == "{":
            pending = []  # extern "C" (its string already removed) opens no scope
        elif t in ("class", "struct", "union", "enum"):
            j = i + 1
            if t == "enum" and j < len(toks) and toks[j] in ("class", "struct"):
                j += 1
            while toks[j : j + 2] == ["[", "["]:
                j = toks.index("]", j) + 2
            if j + 1 < len(toks) and IDENTIFIER.match(toks[j]) and toks[j + 1] in ("{", ":", "final"):
                scopes = [s for group in stack for s in group]
                if scopes and scopes[0] == ("namespace", "dialvault") and all(
                    s[0] == "namespace" for s in scopes
                ):
                    found.append("::".join(s[1] for s in scopes) + "::" + toks[j])
                # The base list may hold template arguments; skip to the body.
                while j < len(toks) and toks[j] not in ("{", ";"):
                    j += 1
                i = j
                continue
        elif t == "{":
            stack.append(pending if pending is not None else [("other",)])
            pending = None
        elif t == "}" and stack:
            stack.pop()
        i += 1
    return found


def is_program_file(path):
    """A file that is the main file of a program of its own."""
    top = path.parts[0]
    if top == "tests":
        return path.name.startswith("tst_") and path.suffix == ".cpp"
    if top in ("bench", "fuzz"):
        return path.suffix == ".cpp" and "support" not in path.parts
    return top == "tools"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    definitions = {}
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".cpp", ".h"):
                relative = path.relative_to(root)
                for name in set(defined_types(path.read_text(encoding="utf-8"))):
                    definitions.setdefault(name, []).append(relative)
    clashes = 0
    for name, files in sorted(definitions.items()):
        shared = [f for f in files if not is_program_file(f)]
        if len(shared) >= 2 or (shared and len(files) > len(shared)):
            clashes += 1
            print(f"check-type-names: {name} is defined in " + ", ".join(map(str, files)), file=sys.stderr)
    return 1 if clashes else 0


if __name__ == "__main__":
    sys.exit(main())
