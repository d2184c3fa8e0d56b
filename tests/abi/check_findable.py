#!/usr/bin/env python3
"""Every exported name can be found where it is defined.

For each symbol of each version script given, a whole-word search of the
library's sources (comments removed) must find it at its definition or in the
one table row that defines it: in a .cpp or .inc file, or as the asm label
F90_SYMBOL(name) that binds it to its function in a header. A prototype in a
header does not count, and a name built only by token pasting
(`_morvex_I_##name`) is not found at all: both fail.

    check_findable.py MAP SOURCE_DIR [MAP SOURCE_DIR ...]
"""
import os
import re
import sys


def exported(map_path):
    text = re.sub(r"/\*.*?\*/", " ", open(map_path).read(), flags=re.S)
    m = re.search(r"global:(.*?)local:", text, flags=re.S)
    body = m.group(1) if m else text
    return re.findall(r"([A-Za-z_][A-Za-z0-9_]*)\s*;", body)


def strip_comments(src):
    src = re.sub(r"/\*.*?\*/", " ", src, flags=re.S)
    return re.sub(r"//[^\n]*", " ", src)


def words_of(source_dir):
    words = set()
    for dirpath, _, files in os.walk(source_dir):
        for fn in files:
            if not fn.endswith((".cpp", ".inc", ".h")):
                continue
            text = strip_comments(open(os.path.join(dirpath, fn), errors="replace").read())
            if fn.endswith(".h"):
                words.update(re.findall(r"F90_SYMBOL\(\s*([A-Za-z_][A-Za-z0-9_]*)\s*\)", text))
            else:
                words.update(re.findall(r"[A-Za-z_][A-Za-z0-9_]*", text))
    return words


def main(argv):
    if len(argv) < 2 or len(argv) % 2:
        print(__doc__)
        return 2
    failed = 0
    for map_path, source_dir in zip(argv[0::2], argv[1::2]):
        names = exported(map_path)
        if not names:
            print(f"{map_path}: no exported names read")
            failed += 1
            continue
        words = words_of(source_dir)
        missing = [n for n in names if n not in words]
        for n in missing:
            print(f"{os.path.basename(map_path)}: {n} is not written whole in {source_dir}")
        print(f"{os.path.basename(map_path)}: {len(names) - len(missing)} of {len(names)} found")
        failed += len(missing)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
