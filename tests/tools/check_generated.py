#!/usr/bin/env python3
"""The committed tables are what their generators under tools/ produce.

    check_generated.py ROOT NAME

NAME is one row of GENERATORS below. A generator that writes to stdout is
run and its output compared byte for byte with the committed file; one with
a --check mode is run in that mode. Exit 0 when they agree, 1 when they
differ, 77 (skipped) when the generator's Python modules are missing.
"""
import difflib
import importlib.util
import os
import subprocess
import sys

# name: (generator arguments, committed file or None when --check compares)
GENERATORS = {
    "real8_log": (["tools/gen_log_tables.py"], "libf90elem/elem/real8/log_table.inc"),
    "real4_log": (["tools/gen_real4_tables.py", "log"], "libf90elem/elem/real4/log_table.inc"),
    "real4_pow": (["tools/gen_real4_tables.py", "pow"], "libf90elem/elem/real4/pow_table.inc"),
    "real16_trig": (["tools/gen_real16_trig_table.py", "--check"], None),
    "real16_coefficients": (["tools/gen_real16_coefficients.py", "--check"], None),
}


def main(argv):
    if len(argv) != 2 or argv[1] not in GENERATORS:
        print(__doc__)
        return 2
    root, name = argv
    if importlib.util.find_spec("mpmath") is None:
        print("mpmath is not installed: skipped")
        return 77
    args, committed = GENERATORS[name]
    run = subprocess.run([sys.executable] + args, cwd=root, capture_output=True, text=True)
    if committed is None:
        sys.stdout.write(run.stderr)
        return 0 if run.returncode == 0 else 1
    if run.returncode != 0:
        sys.stdout.write(run.stderr)
        return 1
    with open(os.path.join(root, committed)) as f:
        want = f.read()
    if run.stdout == want:
        print(f"{committed}: up to date")
        return 0
    print(f"{committed} differs from the output of {' '.join(args)}:")
    sys.stdout.writelines(difflib.unified_diff(want.splitlines(True), run.stdout.splitlines(True),
                                               committed, "generated", n=1))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
