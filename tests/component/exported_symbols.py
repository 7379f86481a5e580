#!/usr/bin/env python3
"""Checks that every dynamic symbol a shared library exports is declared in its public headers.

    exported_symbols.py [--nm NM] LIBRARY HEADER...

A symbol passes when its qualified name lies in the library's own namespace and every part of it
(namespace, class, member) is a name the headers declare; the members Q_OBJECT declares pass where
the headers use Q_OBJECT. The linker's own markers, the version node and the standard library's
vague-linkage objects (type information, static locals of its inline functions, emitted by every
C++ library that uses them) are not the library's interface and are left out. Anything else is an
internal that leaked: the script names each one and fails.
"""
import argparse
import re
import subprocess
import sys

OWN_NAMESPACE = "tarvex"
LINKER_MARKERS = {"_edata", "_end", "__bss_start", "_init", "_fini"}
MOC_MEMBERS = {"staticMetaObject", "metaObject", "qt_metacast", "qt_metacall",
               "qt_static_metacall"}
PREFIXES = ("typeinfo name for ", "typeinfo for ", "vtable for ", "VTT for ",
            "non-virtual thunk to ", "virtual thunk to ", "guard variable for ")


def declared_names(headers):
    names = set()
    uses_q_object = False
    for header in headers:
        with open(header, encoding="utf-8") as f:
            text = f.read()
        text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
        text = re.sub(r"//[^\n]*", " ", text)
        uses_q_object |= "Q_OBJECT" in text
        names.update(re.findall(r"[A-Za-z_]\w*", text))
    if uses_q_object:
        names |= MOC_MEMBERS
    return names


def split_top_level(name):
    """The parts of a qualified name, '::' outside brackets; the parameter list dropped."""
    parts, depth, current, i = [], 0, "", 0
    while i < len(name):
        c = name[i]
        if c in "<(":
            if c == "(" and depth == 0:
                break
            depth += 1
        elif c in ">)":
            depth -= 1
        elif depth == 0 and name.startswith("::", i):
            parts.append(current)
            current, i = "", i + 2
            continue
        if depth == 0 and c not in "<>":
            current += c
        i += 1
    parts.append(current)
    return [p.strip() for p in parts]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", default="nm")
    parser.add_argument("library")
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args()

    names = declared_names(args.headers)
    out = subprocess.run([args.nm, "-D", "--defined-only", "--demangle", args.library],
                         check=True, capture_output=True, text=True).stdout
    leaked, checked = [], 0
    for line in out.splitlines():
        fields = line.split(None, 2)
        if len(fields) != 3:
            continue
        kind, symbol = fields[1], fields[2]
        symbol = re.sub(r"@@?[\w.]+$", "", symbol)
        if kind == "A" or symbol in LINKER_MARKERS:
            continue
        bare = symbol
        for prefix in PREFIXES:
            if bare.startswith(prefix):
                bare = bare[len(prefix):]
                break
        if bare.startswith("std::") and kind in "VWu":
            continue
        checked += 1
        parts = split_top_level(bare)
        if parts[0] != OWN_NAMESPACE or not all(p.lstrip("~") in names for p in parts):
            leaked.append(symbol)
    for symbol in leaked:
        print("exported but not declared in the public headers:", symbol)
    print(f"{checked} exported symbols checked, {len(leaked)} not in the public headers")
    return 1 if leaked or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
