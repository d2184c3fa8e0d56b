#!/usr/bin/env python3
"""The public headers declare exactly what the libraries export.

    check_headers.py --include DIR --map MAP... [--cc CC]

Compiles a C99 program (warnings as errors) that includes <f90/f90.h> and
takes the address of every name the version scripts list: a name no header
declares fails to compile. The compiler's own list of the declarations it saw
(-aux-info) and the `extern` objects of every header under DIR/f90/ then
give what the headers declare; a declared function or object that no
version script lists fails too. Also checks that f90.h includes every header.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile


def map_names(path):
    text = re.sub(r"/\*.*?\*/", "", open(path).read(), flags=re.S)
    m = re.search(r"global:(.*?)local:", text, flags=re.S)
    return {n.strip() for n in m.group(1).split(";") if n.strip()}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--include", required=True)
    ap.add_argument("--map", action="append", required=True)
    ap.add_argument("--cc", default="gcc")
    args = ap.parse_args()
    exported = set().union(*(map_names(m) for m in args.map))
    folder = os.path.join(args.include, "f90")
    headers = sorted(h for h in os.listdir(folder) if h.endswith(".h"))
    failures = []

    umbrella = open(os.path.join(folder, "f90.h")).read()
    for h in headers:
        if h != "f90.h" and f'#include "f90/{h}"' not in umbrella:
            failures.append(f"f90.h does not include f90/{h}")

    with tempfile.TemporaryDirectory() as tmp:
        src, aux = os.path.join(tmp, "every_export.c"), os.path.join(tmp, "aux.txt")
        lines = ["#include <f90/f90.h>", "#include <stddef.h>",
                 "static const size_t every_export[] = {"]
        lines += [f"  sizeof(&{n})," for n in sorted(exported)]
        lines += ["};", "int main(void) { return every_export[0] == 0; }", ""]
        open(src, "w").write("\n".join(lines))
        run = subprocess.run([args.cc, "-m32", "-std=c99", "-pedantic-errors", "-Wall", "-Wextra",
                              "-Werror", "-I", args.include, "-aux-info", aux, "-c", src,
                              "-o", os.path.join(tmp, "every_export.o")],
                             capture_output=True, text=True)
        if run.returncode != 0:
            undeclared = sorted(set(re.findall(r"['\u2018](\w+)['\u2019] undeclared", run.stderr)))
            for n in undeclared:
                failures.append(f"exported but declared in no header: {n}")
            if not undeclared:
                failures.append("the program including every header does not compile:\n" +
                                run.stderr)
        declared = set()
        if os.path.exists(aux):
            for line in open(aux):
                m = re.match(r"/\* (\S+):\d+:(\w+) \*/ (.*);$", line.strip())
                if (not m or "/f90/" not in m.group(1) or m.group(3).startswith("static")
                        or "__Static_assert_function" in m.group(3)):  # C11 assertions
                    continue
                name = re.search(r"(\w+)\s*\(", m.group(3))
                if name:
                    declared.add(name.group(1))
    for h in headers:
        text = re.sub(r"/\*.*?\*/", "", open(os.path.join(folder, h)).read(), flags=re.S)
        declared.update(re.findall(r'^extern\s[^;({\n"]*?\b(\w+)\s*(?:\[[^\]]*\])?\s*;', text,
                                   flags=re.M))
    for n in sorted(declared - exported):
        failures.append(f"declared in a public header but exported by no library: {n}")

    for f in failures:
        print(f)
    print(f"{len(headers)} headers, {len(exported)} exports, {len(declared)} declarations")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
