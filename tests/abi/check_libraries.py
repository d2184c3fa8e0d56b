#!/usr/bin/env python3
"""ABI checks on the built libraries.

For each --lib PATH MAP:
  * the dynamic symbols the library defines are exactly the names of MAP,
    each carrying MAP's version node, and the SONAME is the library's name
    with the major number the node names;
  * no function returns with `ret $0x4` (a callee-popped hidden pointer);
  * NEEDED names only the C library, libm, libgcc_s and the dynamic loader
    (with --sanitized, the sanitizer runtimes and the C++ runtime they
    bring): no library needs another
    of ours (cross-library symbols are bound when the program is loaded), nor
    the C++ runtime.
Exits non-zero and lists every difference on failure.
"""
import argparse
import os
import re
import subprocess
import sys

SYSTEM = re.compile(r"^(libc\.so\.6|libm\.so\.6|libgcc_s\.so\.1|ld-linux\.so\.2)$")
# A sanitized build links the sanitizer runtimes, and with them the C++ runtime.
SANITIZER = re.compile(r"^lib(asan|ubsan|stdc\+\+)\.so\.[0-9]+$")


def map_names(path):
    """The version node and the set of names a version script exports."""
    text = open(path).read()
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    m = re.search(r"^\s*([A-Za-z0-9_.]+)\s*\{\s*global:(.*?)local:", text, flags=re.S)
    if not m:
        raise SystemExit(f"{path}: no NODE {{ global: ... local: section")
    names = [n.strip() for n in m.group(2).split(";")]
    return m.group(1), {n for n in names if n}


def exported(lib):
    """Each defined dynamic symbol with its version ('' when unversioned)."""
    out = subprocess.run(["nm", "-D", "--defined-only", lib], check=True,
                         capture_output=True, text=True).stdout
    names = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[1] != "A":  # "A": the version node itself
            name, _, version = parts[2].partition("@")
            names[name] = version.lstrip("@")
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


def dynamic(lib, tag):
    out = subprocess.run(["readelf", "-d", lib], check=True,
                         capture_output=True, text=True).stdout
    return re.findall(rf"\({tag}\).*\[(.*)\]", out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--lib", nargs=2, action="append", metavar=("PATH", "MAP"), required=True)
    ap.add_argument("--sanitized", action="store_true",
                    help="the libraries were built with the sanitizers")
    args = ap.parse_args()
    failures = 0
    for lib, mapfile in args.lib:
        (node, want), versions = map_names(mapfile), exported(lib)
        have = set(versions)
        for n in sorted(want - have):
            print(f"{lib}: listed in {mapfile} but not exported: {n}")
            failures += 1
        for n in sorted(have - want):
            print(f"{lib}: exported but not listed in {mapfile}: {n}")
            failures += 1
        for n in sorted(want & have):
            if versions[n] != node:
                print(f"{lib}: {n} has version '{versions[n]}', not {node}")
                failures += 1
        base = os.path.basename(lib).split(".so")[0]
        soname = f"{base}.so.{node.rsplit('_', 1)[1]}"
        if dynamic(lib, "SONAME") != [soname]:
            print(f"{lib}: SONAME {dynamic(lib, 'SONAME')}, expected {soname}")
            failures += 1
        for f in callee_pops(lib):
            print(f"{lib}: {f} pops its arguments (ret $imm)")
            failures += 1
        for n in dynamic(lib, "NEEDED"):
            if not (SYSTEM.match(n) or (args.sanitized and SANITIZER.match(n))):
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
