#!/usr/bin/env python3
"""Keeps the compatibility header honest: lists what it declares and fails when
GNUstep's own headers declare any of it (a class, function, type or constant of
the same name, or a method or property of the same class or its superclasses), so
that GNUstep's declaration is always the one the compile check uses.

Usage: compat-declarations.py COMPAT_HEADER -- CLANG_FLAGS...
Reads clang's AST dumps of GNUstep's AppKit alone and with the header."""
import os
import re
import subprocess
import sys
import tempfile

TOP_KINDS = {"FunctionDecl", "TypedefDecl", "EnumConstantDecl", "VarDecl", "ObjCInterfaceDecl",
             "ObjCProtocolDecl", "RecordDecl"}
NODE = re.compile(r"^(?P<indent>[ |`-]*)(?P<kind>\w+) 0x[0-9a-f]+ (?P<rest>.*)$")
SUPER = re.compile(r"^[ |`-]*super ObjCInterface 0x[0-9a-f]+ '(\w+)'")
FILE = re.compile(r"([^<>:, ]+\.(?:h|mm|m)):\d+:\d+")


def dump(source, flags):
    with tempfile.NamedTemporaryFile("w", suffix=".mm") as tu:
        tu.write(source)
        tu.flush()
        out = subprocess.run(["clang", "-x", "objective-c++", *flags, "-Xclang", "-ast-dump",
                              "-fno-color-diagnostics", tu.name],
                             capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit("clang failed:\n" + out.stderr)
    return out.stdout.splitlines()


def name_of(kind, rest):
    rest = re.sub(r"<[^>]*>", "", rest)  # source ranges
    rest = re.sub(r"'[^']*'(:'[^']*')?", "", rest)  # types
    rest = re.sub(r"\S+:\d+(:\d+)?", "", rest)  # locations
    words = [w for w in rest.split() if re.match(r"^[A-Za-z_]\w*:?[\w:]*$", w)
             and w not in ("prev", "col", "line", "implicit", "referenced", "used", "extern", "struct",
                           "definition", "readonly", "readwrite", "atomic", "nonatomic", "assign", "strong",
                           "copy", "retain", "weak", "unsafe_unretained", "class", "variadic", "cinit",
                           "getter", "setter", "invalid", "sloc")]
    return words[0] if words else None


def declarations(lines, only_file=None):
    """(top-level names, {class: super}, {class: set of selectors}) of the dump."""
    names, supers, members, defined = set(), {}, {}, set()
    current_file, container, container_depth, body_depth = None, None, -1, -1
    for line in lines:
        sup = SUPER.match(line)
        if sup and container and (not only_file or (current_file or "").endswith(only_file)):
            supers[container[1]] = sup.group(1)
            if container[0] == "ObjCInterfaceDecl":
                defined.add(container[1])
            continue
        m = NODE.match(line)
        if not m:
            continue
        # A range may start inside a macro of another header; where it ends is the file.
        range_ = re.search(r"<[^<>]*>", line)
        found = FILE.findall(range_.group(0)) if range_ else []
        if found:
            current_file = found[-1]
        depth = len(m.group("indent"))
        kind, rest = m.group("kind"), m.group("rest")
        if depth <= container_depth:
            container, container_depth = None, -1
        if only_file and not (current_file or "").endswith(only_file):
            continue
        if kind in ("ObjCInterfaceDecl", "ObjCCategoryDecl", "ObjCProtocolDecl"):
            container, container_depth = (kind, name_of(kind, rest)), depth
            if kind == "ObjCCategoryDecl":
                container = (kind, None)
        if container and container[0] == "ObjCCategoryDecl" and container[1] is None and kind == "ObjCInterface":
            container = (container[0], re.search(r"'(\w+)'", rest).group(1))
            continue
        if kind in ("ObjCMethodDecl", "ObjCPropertyDecl") and container and container[1]:
            selector = re.search(r"[-+] (\S+)", rest) if kind == "ObjCMethodDecl" else None
            member = selector.group(1) if selector else name_of(kind, rest)
            members.setdefault(container[1], set()).add(member)
            if container[0] == "ObjCInterfaceDecl":
                defined.add(container[1])
            continue
        # What is declared inside a function (its parameters and locals) is no name of the API.
        if body_depth >= 0 and depth > body_depth:
            continue
        body_depth = depth if kind in ("FunctionDecl", "ObjCMethodDecl") else -1
        if kind in TOP_KINDS - {"ObjCInterfaceDecl"}:
            name = name_of(kind, rest)
            if name:
                names.add((kind, name))
    # A class counts once it has an interface: a forward "@class" declares nothing of it.
    names |= {("ObjCInterfaceDecl", cls) for cls in defined}
    return names, supers, members


def chain(cls, supers):
    while cls:
        yield cls
        cls = supers.get(cls)


def main():
    header, flags = sys.argv[1], sys.argv[sys.argv.index("--") + 1:]
    base = "#import <AppKit/AppKit.h>\n"
    gnustep_names, supers, gnustep_members = declarations(dump(base, flags))
    ours_names, _, ours_members = declarations(dump(base + f'#import "{os.path.abspath(header)}"\n', flags), only_file=header)
    gnustep_top = {name for _, name in gnustep_names}
    clashes = sorted(f"{kind} {name}" for kind, name in ours_names if name in gnustep_top)
    count = len(ours_names)
    for cls, selectors in ours_members.items():
        count += len(selectors)
        theirs = set().union(*(gnustep_members.get(c, set()) for c in chain(cls, supers)))
        clashes += sorted(f"{cls} {s}" for s in selectors if s in theirs)
    if clashes:
        print("GNUstep declares these already; remove them from " + header + ":")
        print("\n".join("  " + c for c in clashes))
        return 1
    print(f"{header}: {count} declarations, none of them in GNUstep's headers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
