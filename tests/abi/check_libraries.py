#!/usr/bin/env python3
"""ABI checks on the built libraries.

For each --lib PATH MAP:
  * the dynamic symbols the library defines are exactly the names of MAP;
  * no function returns with `ret $0x4` (a callee-popped hidden pointer);
  * no NEEDED entry names one of our libraries (cross-library symbols are
    bound when the program is loaded).
Exits non-zero and lists every difference on failure.
"""
import argparse
import re
import subprocess
import sys

OURS = ("libf90elem", "libf90intr", "libf90rt")


def map_names(path):
    text = open(path).read()
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    m = re.search(r"global:(.*?)local:", text, flags=re.S)
    if not m:
        raise SystemExit(f"{path}: no global: ... local: section")
    names = [n.strip() for n in m.group(1).split(";")]
    return {n for n in names if n}


def exported(lib):
    out = subprocess.run(["nm", "-D", "--defined-only", lib], check=True,
                         capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 3:
            names.add(parts[2].split("@")[0])
    return names


def callee_pops(lib):
    out = subprocess.run(["objdump", "-d", "--no-show-raw-insn", lib], check=True,
                         capture_output=True, text=True).stdout
    bad, func = [], "?"
    for line in out.splitlines():
        m = re.match(r"^[0-9a-f]+ <(.*)>:$", line)
        if m:
            func = m.group(1)
        elif re.search(r"\bret[lw]?\s+\$0x", line):
            bad.append(func)
    return bad


def needed(lib):
    out = subprocess.run(["readelf", "-d", lib], check=True,
                         capture_output=True, text=True).stdout
    return re.findall(r"\(NEEDED\).*\[(.*)\]", out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--lib", nargs=2, action="append", metavar=("PATH", "MAP"), required=True)
    args = ap.parse_args()
    failures = 0
    for lib, mapfile in args.lib:
        want, have = map_names(mapfile), exported(lib)
        for n in sorted(want - have):
            print(f"{lib}: listed in {mapfile} but not exported: {n}")
            failures += 1
        for n in sorted(have - want):
            print(f"{lib}: exported but not listed in {mapfile}: {n}")
            failures += 1
        for f in callee_pops(lib):
            print(f"{lib}: {f} pops its arguments (ret $imm)")
            failures += 1
        for n in needed(lib):
            if n.startswith(OURS):
                print(f"{lib}: NEEDED {n}")
                failures += 1
        print(f"{lib}: {len(have)} exports checked")
    if failures:
        print(f"{failures} ABI failures")
        return 1
    print("ABI checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
