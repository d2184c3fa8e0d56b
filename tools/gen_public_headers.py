#!/usr/bin/env python3
"""Writes the declarations of libf90elem's and libf90intr's exports into the
public headers (include/f90/elemental.h, array.h, reductions.h).

    tools/gen_public_headers.py BUILD_DIR

The names and their groups come from the version scripts; each entry's C form
(parameter names and types, result) from the debug information of the built
library (RelWithDebInfo), read with gdb. Names without debug information of
their own (aliases, asm functions) take the form of the entry at the same
address or, failing that, a form from FORMS below. The output is committed;
rerun after an export changes form, and review the difference. Names that
another public header already declares are left to that header.
"""
import json
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Entries whose debug information gdb cannot place (asm bodies).
FORMS = {
    "_morvex_lmul": ("int64_t", [("a", "int64_t"), ("b", "int64_t")]),
    "_morvex_cvtdll": ("int64_t", [("x", "double")]),
    "_morvex_cvtfll": ("int64_t", [("x", "float")]),
    "_morvex_cvtllf": ("long double", [("a", "int64_t")]),
    # Folded with one another: gdb finds no block of their own.
    "_morvex_byte": ("int32_t", [("p", "const void *")]),
    "_morvex_word": ("int32_t", [("p", "const void *")]),
    "_morvex_I_byte": ("int32_t", [("p", "const void *")]),
    "_morvex_I_word": ("int32_t", [("p", "const void *")]),
    "_morvex_I_long": ("int32_t", [("p", "const void *")]),
    "_morvex_jzext2": ("int32_t", [("a", "int32_t")]),
    "_morvex_I_jzext2": ("int32_t", [("a1", "const int16_t *")]),
    "_morvex_I_log": ("long double", [("x", "const float *")]),
    "_morvex_I_log10": ("long double", [("x", "const float *")]),
    "MVBITS": ("void", [("from", "const int32_t *"), ("frompos", "const int32_t *"),
                        ("len", "const int32_t *"), ("to", "int32_t *"),
                        ("topos", "const int32_t *")]),
}
FORMS["MVBITS_"] = FORMS["mvbits_"] = FORMS["mvbits"] = FORMS["MVBITS"]
_A, _I = "ArrayDescriptor *", "const int32_t *"
FORMS.update({
    # libf90intr entries made by macros or aliases, whose debug information
    # gdb does not reach.
    "_SIZE_4": ("int32_t", [("array", _A), ("dim", _I)]),
    "_LBOUND0_4": ("int32_t", [("array", _A), ("dim", _I)]),
    "_UBOUND0_4": ("int32_t", [("array", _A), ("dim", _I)]),
    "_ALLOCATED": ("int32_t", [("array", _A)]),
    "_ALLOCATED_4": ("int32_t", [("array", _A)]),
    "_ASSOCIATED_4": ("int32_t", [("pointer", _A), ("target", _A)]),
    "_TRANSFER1_0_4": ("int32_t", [("source", _A), ("mold", _A), ("size", _I)]),
    "_EOSHIFT": ("void", [("result", _A), ("array", _A), ("shift", _A), ("boundary", _A),
                          ("dim", _I)]),
})
for p in ("_ALL", "_ANY", "_COUNT"):
    for s in ("", "_4", "_8"):
        FORMS[p + s] = ("void", [("r", _A), ("m", _A), ("d", _I)])
for p in ("_MAXVAL", "_MINVAL"):
    FORMS[p + "_I"] = ("void", [("r", _A), ("s", _A), ("d", _I), ("m", _A)])
    FORMS[p + "0_I"] = ("int64_t", [("s", _A), ("d", _I), ("m", _A)])  # INTEGER*8, as _J
for p in ("_MAXLOC", "_MINLOC"):
    FORMS[p + "_J"] = ("void", [("r", _A), ("s", _A), ("m", _A)])
    FORMS[p + "__J"] = ("void", [("r", _A), ("s", _A), ("d", _A), ("m", _A)])

TYPE_MAP = [
    (r"\bstruct morvex::(DoubleDouble|Complex8|Complex16|Complex32)\b", r"\1"),
    (r"\bstruct morvex::int8::Real8Arg\b", "double"),   # a double, read as two words
    (r"\bstruct morvex::int8::Real4Arg\b", "float"),
    (r"\blong long\b", "int64_t"),
    (r"\bunsigned int\b", "uint32_t"),
    (r"^int\b", "int32_t"),
    (r"^const int\b", "const int32_t"),
]


OWN_HEADERS = ("elemental.h", "array.h", "reductions.h", "values.h")


def declared_elsewhere():
    """Names that public headers other than ours declare."""
    found = set()
    folder = os.path.join(ROOT, "include", "f90")
    for h in os.listdir(folder):
        if h.endswith(".h") and h not in OWN_HEADERS:
            text = re.sub(r"/\*.*?\*/", "", open(os.path.join(folder, h)).read(), flags=re.S)
            found.update(re.findall(r"\b(\w+)\s*(?:\(|\[|;)", text))
    return found


def c_type(t):
    for pat, rep in TYPE_MAP:
        t = re.sub(pat, rep, t)
    return t


def map_blocks(path):
    """[(heading, [names])] of a version script, in order."""
    text = open(path).read()
    body = text[text.index("global:") + len("global:"):text.index("local:")]
    blocks, heading, names = [], None, []
    for line in body.splitlines():
        line = line.strip()
        m = re.match(r"/\*\s*(.*?)\s*\*/$", line)
        if m:
            if m.group(1).startswith("end "):
                blocks.append((heading, names))
                heading, names = None, []
            else:
                heading = m.group(1)
        elif line.endswith(";"):
            names.append(line[:-1])
    if names:
        blocks.append((heading, names))
    return blocks


def addresses(lib):
    out = subprocess.run(["nm", "-D", "--defined-only", lib], check=True,
                         capture_output=True, text=True).stdout
    addr = {}
    for line in out.splitlines():
        p = line.split()
        if len(p) >= 3:
            addr[p[2].split("@")[0]] = int(p[0], 16)
    return addr


def forms(lib, names):
    """name -> (result, [(param, type)]) or ("data", type)."""
    with tempfile.TemporaryDirectory() as tmp:
        np, op = os.path.join(tmp, "names"), os.path.join(tmp, "out.json")
        open(np, "w").write("\n".join(names))
        subprocess.run(["gdb", "-batch", "-x", os.path.join(ROOT, "tools", "dump_exports_gdb.py"),
                        "-ex", f"python dump('{np}', '{op}')", lib],
                       check=True, capture_output=True, text=True)
        raw = json.load(open(op))
    addr = addresses(lib)
    result = {}
    for n in names:
        e = raw[n]
        if e["type"] == "function" and e.get("name_ok", True):
            result[n] = (c_type(e["result"]), [(p, c_type(t)) for p, t in e["params"]])
        elif e["type"] == "data":
            result[n] = ("data", c_type(e["data"]))
    result.update((n, FORMS[n]) for n in names if n in FORMS)
    # Aliases take their twin's form; a by-value entry whose own debug
    # information is folded into another function takes its by-reference
    # twin's form with the arguments passed by value.
    progress = True
    while progress:
        progress = False
        for n in names:
            if n in result:
                continue
            twins = [m for m in names if m in result and addr.get(m) == addr.get(n)]
            ref = n.replace("_morvex_", "_morvex_I_", 1)
            if twins:
                result[n] = result[twins[0]]
            elif n.startswith("_morvex_") and ref in result and result[ref][0] != "data":
                r, params = result[ref]
                result[n] = (r, [(p, by_value(t)) for p, t in params])
            else:
                continue
            progress = True
    missing = [n for n in names if n not in result]
    if missing:
        raise SystemExit(f"{lib}: no form for {' '.join(missing)}; add them to FORMS")
    return result


def by_value(t):
    """The type of an argument passed by value that the twin passes by address."""
    m = re.match(r"const (\w+) \*$", t)
    if not m:
        return t  # the hidden result pointer
    return "int32_t" if m.group(1) in ("int8_t", "int16_t") else m.group(1)


# ---- comments ---------------------------------------------------------------

KIND_OF_TYPE = {
    "int8_t": "INTEGER*1", "int16_t": "INTEGER*2", "int32_t": "INTEGER*4",
    "int64_t": "INTEGER*8", "float": "REAL*4", "double": "REAL*8",
    "DoubleDouble": "REAL*16", "Complex8": "COMPLEX*8", "Complex16": "COMPLEX*16",
    "Complex32": "COMPLEX*32",
}

# What an elemental computes, by its name without the kind letters.
WHAT = {
    "abs": "absolute value", "dim": "positive difference max(x - y, 0)",
    "sign": "|x| with the sign of y", "mod": "remainder x - int(x/y)*y",
    "sin": "sine (radians)", "cos": "cosine (radians)", "tan": "tangent (radians)",
    "cot": "cotangent (radians)", "sind": "sine (degrees)", "cosd": "cosine (degrees)",
    "tand": "tangent (degrees)", "asin": "arcsine (radians)", "acos": "arccosine (radians)",
    "atan": "arctangent (radians)", "atan2": "arctangent of y/x in (-pi, pi]",
    "asind": "arcsine (degrees)", "acosd": "arccosine (degrees)",
    "atand": "arctangent (degrees)", "atan2d": "arctangent of y/x (degrees)",
    "sinh": "hyperbolic sine", "cosh": "hyperbolic cosine", "tanh": "hyperbolic tangent",
    "exp": "e**x", "log": "natural logarithm", "log10": "common logarithm",
    "sqrt": "square root", "int": "truncation to a whole number",
    "nint": "nearest whole number, halves away from zero",
    "ceil": "smallest whole number >= x", "floor": "largest whole number <= x",
    "iand": "bitwise and", "ior": "bitwise or", "ieor": "bitwise exclusive or",
    "not": "bitwise complement", "ibset": "sets bit pos", "ibclr": "clears bit pos",
    "btest": "tests bit pos (1 or 0)", "ibits": "len bits from pos, right-adjusted",
    "ishft": "logical shift (left for positive counts)",
    "ishftc": "circular shift of the rightmost size bits", "zext": "zero extension",
    "prod": "product at twice the precision", "imag": "imaginary part",
    "conjg": "complex conjugate", "mul": "complex product", "div": "complex quotient",
    "toi": "power with an INTEGER*4 exponent", "tod": "power with a REAL*8 exponent",
    "tof": "power with a REAL*4 exponent", "toc": "complex power",
    "tocd": "complex power", "toki": "power with an INTEGER*8 exponent",
    "pow": "x**y",
}

# Kind letters that lead a specific name (none, then the longest first).
PREFIXES = ("", "cq", "cd", "ii", "ji", "ki", "f90", "c", "d", "a", "q", "i", "j", "k", "b")

WHAT.update({
    "and": WHAT["iand"], "or": WHAT["ior"], "eor": WHAT["ieor"], "bset": WHAT["ibset"],
    "bclr": WHAT["ibclr"], "bits": WHAT["ibits"], "shft": WHAT["ishft"],
    "shftc": WHAT["ishftc"], "test": WHAT["btest"], "itest": WHAT["btest"],
    "jtest": WHAT["btest"], "ktest": WHAT["btest"], "zext2": "zero extension of the low 16 bits",
    "zext4": "zero extension of the low 32 bits", "toi": WHAT["toi"],
    "shftc_k1": "ISHFTC of an INTEGER*1 value", "shftc_k2": "ISHFTC of an INTEGER*2 value",
})

EXTRA = {
    "_morvex_FLOAT_NAN": "REAL*4 quiet NaN", "_morvex_DOUBLE_NAN": "REAL*8 quiet NaN",
    "_morvex_FLOAT_INF": "REAL*4 +infinity", "_morvex_DOUBLE_INF": "REAL*8 +infinity",
    "_morvex_FLOAT_MAX": "largest finite REAL*4", "_morvex_DOUBLE_MAX": "largest finite REAL*8",
    "_morvex_lmul": "INTEGER*8 product (wrapping)", "_morvex_ldiv": "INTEGER*8 quotient",
    "_morvex_lmod": "INTEGER*8 remainder", "_morvex_uldiv": "unsigned 64-bit quotient",
    "_morvex_ulmod": "unsigned 64-bit remainder", "_morvex_llshift": "INTEGER*8 left shift",
    "_morvex_rlshift": "INTEGER*8 logical right shift",
    "_morvex_arlshift": "INTEGER*8 arithmetic right shift",
    "_morvex_cvtdll": "REAL*8 -> INTEGER*8, truncated", "_morvex_cvtfll": "REAL*4 -> INTEGER*8, truncated",
    "_morvex_cvtlld": "INTEGER*8 -> REAL*8", "_morvex_cvtllf": "INTEGER*8 -> REAL*4",
    "_morvex_cvtulld": "unsigned 64-bit -> REAL*8", "_morvex_cvtullf": "unsigned 64-bit -> REAL*4",
    "_morvex_qadd": "a + b", "_morvex_qaddd": "a + d", "_morvex_qsub": "a - b",
    "_morvex_qsubd": "a - d", "_morvex_dsubq": "d - b", "_morvex_qneg": "-a",
    "_morvex_qprod": "exact product of two REAL*8", "_morvex_qmul": "a * b",
    "_morvex_qmuld": "a * d", "_morvex_qmuli": "a * n", "_morvex_qdiv": "a / b",
    "_morvex_qdivd": "a / d", "_morvex_ddivq": "d / b",
    "_morvex_qcmp": "compares a with b: -1, 0 or 1", "_morvex_qcompare": "compares a with b",
    "_morvex_ll2q": "INTEGER*8 -> REAL*16", "_morvex_ull2q": "unsigned 64-bit -> REAL*16",
    "_morvex_q2ll": "REAL*16 -> INTEGER*8, truncated",
    "_morvex_q2ull": "REAL*16 -> unsigned 64-bit, truncated",
    "_morvex_qaddk": "a + INTEGER*8 k", "_morvex_qsubk": "a - INTEGER*8 k",
    "_morvex_ksubq": "INTEGER*8 k - b", "_morvex_qmulk": "a * INTEGER*8 k",
    "_morvex_qdivk": "a / INTEGER*8 k", "_morvex_kdivq": "INTEGER*8 k / b",
    "_morvex_fmodl": "remainder x - int(x/y)*y", "_morvex_fdiml": "positive difference",
    "_morvex_fabsl": "absolute value", "_morvex_copysignl": "|x| with the sign of y",
    "_morvex_frexpl": "fraction in [0.5, 1) and exponent", "_morvex_ldexpl": "x * 2**n",
    "_morvex_qmodr": "remainder of x by a period",
    "_morvex_polyN": "polynomial value", "_morvex_polyD": "polynomial value",
    "_morvex_sincos": "sine or cosine by selector", "_morvex_asinacos": "arcsine or arccosine",
    "_morvex_asinfacosf": "arcsine or arccosine", "_morvex_sinfcosf": "sine or cosine",
    "_morvex_casgn": "character assignment, blank-padded",
    "_morvex_strcasgn": "character assignment, blank-padded",
    "_morvex_con": "character concatenation", "_morvex_index": "INDEX",
    "_morvex_f90_index": "INDEX with BACK", "_morvex_f90_index_8": "INDEX with BACK, INTEGER*8",
    "_morvex_len": "LEN", "_morvex_repeat": "REPEAT", "_morvex_trim": "TRIM",
    "_morvex_len_trim": "LEN_TRIM", "_morvex_adjustl": "ADJUSTL", "_morvex_adjustr": "ADJUSTR",
    "_morvex_lge": "lexically >=", "_morvex_lgt": "lexically >", "_morvex_lle": "lexically <=",
    "_morvex_llt": "lexically <", "_morvex_cheq": "character ==", "_morvex_chne": "character /=",
    "_morvex_ichar": "ICHAR", "_morvex_char": "CHAR",
    "_morvex_byte": "loads a byte, sign-extended", "_morvex_word": "loads 16 bits, sign-extended",
    "_morvex_long": "loads 32 bits", "_morvex_wbyte": "stores a byte",
    "_morvex_wword": "stores 16 bits", "_morvex_wlong": "stores 32 bits",
    "_morvex_hibits": "high bits", "_morvex_hishft": "shift", "_morvex_shift": "shift",
    "_morvex_qint": "AINT", "_morvex_qnint": "ANINT", "_morvex_dint": "AINT", "_morvex_aint": "AINT",
    "_morvex_dnint": "ANINT", "_morvex_anint": "ANINT", "_morvex_dtod": "x**y",
    "_morvex_ftof": "x**y", "_morvex_powli": "x**n, INTEGER*4 n", "_morvex_powlk": "x**k, INTEGER*8 k",
    "_morvex_powl": "x**y", "_morvex_powld": "x**y, REAL*8 y", "_morvex_itoi": "i**j",
    "_morvex_kitoki": "i**j", "_morvex_cdtoi": "z**n", "_morvex_ctoi": "z**n",
    "_morvex_cqtoi": "z**n", "_morvex_cdtocd": "z**w", "_morvex_ctoc": "z**w",
    "_morvex_cpowl": "z**w", "_morvex_dprod": "REAL*4 product to REAL*8",
    "_morvex_ftoi": "x**n, INTEGER*4 n", "_morvex_cabsl": "|z|", "_morvex_cdabs": "|z|", "_morvex_cabs": "|z|",
}

INTR = [
    (r"_SIZE(_4|_8)?$", "SIZE(array, dim), dim null when absent"),
    (r"_SHAPE$", "SHAPE into a result descriptor"),
    (r"_([LU])BOUND$", "{0}BOUND of every dimension into a result descriptor"),
    (r"_([LU])BOUND0(_4|_8)?$", "{0}BOUND(array, dim)"),
    (r"_ALLOCATED(_4|_8)?$", "ALLOCATED: 1 when the array has storage"),
    (r"_ASSOCIATED(_4|_8)?$", "ASSOCIATED(pointer, target), target null when absent"),
    (r"_NULL$", "NULL: disassociates a pointer descriptor"),
    (r"__transfer$", "TRANSFER worker"),
    (r"_TRANSFER$", "TRANSFER into a result descriptor"),
    (r"_TRANSFER(\d)_0(_4)?$", "TRANSFER to a scalar of {0} word(s)"),
    (r"_TRANS$", "TRANSPOSE"), (r"_CSHIFT$", "CSHIFT"), (r"_EOSHIFT$", "EOSHIFT"),
    (r"default([ilrc])(\d+)$", "EOSHIFT's default boundary, {0}*{1}"),
    (r"_(PACK|RESHAPE|SPREAD|UNPACK)$", "{0}"),
    (r"__(max|min)val$", "{0}VAL worker"),
    (r"_(MAX|MIN)VAL_(\w+)$", "{0}VAL with DIM into a result descriptor, {1}"),
    (r"_(MAX|MIN)VAL0_(\w+)$", "{0}VAL of the whole array, {1}"),
    (r"__(all|any|count)$", "{0} worker"),
    (r"_(ALL|ANY|COUNT)(_4|_8)?$", "{0} with DIM into a result descriptor"),
    (r"_(ALL|ANY|COUNT)0(_4|_8)?$", "{0} of the whole mask"),
    (r"_PRESUM$", "set-up shared by the SUM and PRODUCT entries"),
    (r"_SUM0_(\w+)$", "SUM of the whole array, {0}"),
    (r"_PROD0_(\w+)$", "PRODUCT of the whole array, {0}"),
    (r"_SUM_(\w+)$", "SUM along DIM into a result descriptor, {0}"),
    (r"_PROD_(\w+)$", "PRODUCT along DIM into a result descriptor, {0}"),
    (r"__(max|min)loc$", "{0}LOC worker"),
    (r"_(MAX|MIN)LOC_(\w+)$", "{0}LOC of the whole array, {1}"),
    (r"_(MAX|MIN)LOC__(\w+)$", "{0}LOC along DIM, {1}"),
    (r"huge_real16\w*$", "HUGE of REAL*16"),
]
KIND_LETTERS = {"I1": "INTEGER*1", "I2": "INTEGER*2", "I4": "INTEGER*4", "I": "INTEGER*8",
                "J": "INTEGER*8", "S4": "REAL*4", "S": "REAL*8", "D": "REAL*16",
                "C4": "COMPLEX*8", "C": "COMPLEX*16", "Z": "COMPLEX*32"}


def kind_of(params):
    for _, t in params:
        base = re.sub(r"^const |\s*\*$", "", t)
        if base in KIND_OF_TYPE and (t.endswith("*") or base not in ("int32_t",)):
            return KIND_OF_TYPE[base]
    return None


def elem_comment(name, form, all_forms):
    if name in EXTRA:
        return EXTRA[name]
    if name.startswith("_morvex_slow_"):
        fast = name.replace("_slow", "", 1)
        return f"{fast}, computed in integer operations only (no fast path)"
    if name.startswith("_morvex_I_"):
        twin = name.replace("_morvex_I_", "_morvex_", 1)
        if twin in all_forms:
            return f"{twin} with its arguments by address"
        return f"{name[10:]} with its arguments by address"
    if name.lower().startswith("mvbits"):
        return "MVBITS(from, frompos, len, to, topos), arguments by address"
    stem = name[len("_morvex_"):]
    ref = all_forms.get(name.replace("_morvex_", "_morvex_I_", 1))
    kind = kind_of(ref[1]) if ref and ref[0] != "data" else kind_of(form[1])
    if stem.endswith("nnt"):
        return WHAT["nint"] + f", {kind} argument"
    bases = [stem, re.sub(r"l$", "", stem), re.sub(r"f$", "", stem)]
    for base in bases:
        for prefix in PREFIXES:
            if base.startswith(prefix) and base[len(prefix):] in WHAT:
                return WHAT[base[len(prefix):]] + (f", {kind}" if kind else "")
    return stem.upper() + (f", {kind}" if kind else "")


def intr_comment(name):
    for pat, text in INTR:
        m = re.match(pat, name)
        if m:
            groups = [KIND_LETTERS.get(g, g.upper()) if g else "" for g in m.groups()]
            groups = [g.replace("_4", "INTEGER*4 result").replace("_8", "INTEGER*8 result")
                      for g in groups]
            return text.format(*groups)
    return name


# ---- output -----------------------------------------------------------------

def declaration(name, form):
    if form[0] == "data":
        m = re.match(r"(.*?)\s*(\[\d+\])$", form[1])
        if m:
            return f"extern {m.group(1)} {name}{m.group(2)};"
        return f"extern {form[1]} {name};"
    result, params = form
    args = []
    for p, t in params:
        if p is None:
            args.append(t)
        elif t.endswith("*"):
            args.append(f"{t}{p}")
        else:
            args.append(f"{t} {p}")
    head = f"{result}{'' if result.endswith('*') else ' '}{name}("
    line = head + ", ".join(args or ["void"]) + ");"
    if len(line) <= 100:
        return line
    lines, cur = [], head
    for i, a in enumerate(args):
        piece = a + (", " if i + 1 < len(args) else ");")
        if len(cur) + len(piece.rstrip()) > 100:
            lines.append(cur.rstrip())
            cur = " " * len(head) + piece
        else:
            cur += piece
    lines.append(cur.rstrip())
    return "\n".join(lines)


def write_header(path, guard, preamble, sections):
    out = [preamble.rstrip(), f"#ifndef {guard}", f"#define {guard}", "",
           '#include <stdint.h>', "", '#include "f90/descriptor.h"', '#include "f90/values.h"', "",
           "#ifdef __cplusplus", 'extern "C" {', "#endif", ""]
    for heading, entries in sections:
        out.append(f"/* ---- {heading} " + "-" * max(4, 70 - len(heading)) + " */")
        out.append("")
        for comment, decl in entries:
            out.append(f"/* {comment} */")
            out.append(decl)
        out.append("")
    out += ["#ifdef __cplusplus", "}", "#endif", "#endif", ""]
    open(path, "w").write("\n".join(out))


PREAMBLE = {}


def generate(build):
    with open(os.path.join(ROOT, "tools", "public_header_preambles.txt")) as f:
        parts = f.read().split("\n@@ ")
    for part in parts:
        if part.strip():
            key, _, text = part.partition("\n")
            PREAMBLE[key.strip("@ ").strip()] = text
    targets = {"libf90elem": {"elemental.h": None},
               "libf90intr": {"array.h": ("REAL*16 model constants", "inquiry", "TRANSFER",
                                          "CSHIFT", "PACK"),
                              "reductions.h": ("MAXVAL", "whole-array SUM", "SUM and PRODUCT along",
                                               "MAXLOC")}}
    for lib, headers in targets.items():
        blocks = map_blocks(os.path.join(ROOT, lib, f"{lib}.map"))
        skip = declared_elsewhere()
        names = [n for _, ns in blocks for n in ns if n not in skip]
        f = forms(os.path.join(build, f"{lib}.so"), names)
        for header, prefixes in headers.items():
            sections = []
            for heading, ns in blocks:
                if prefixes is not None and not heading.startswith(prefixes):
                    continue
                entries = []
                for n in ns:
                    if n not in f:
                        continue
                    comment = elem_comment(n, f[n], f) if lib == "libf90elem" else intr_comment(n)
                    entries.append((comment, declaration(n, f[n])))
                if entries:
                    sections.append((heading, entries))
            guard = "F90_" + header.upper().replace(".", "_")
            write_header(os.path.join(ROOT, "include", "f90", header), guard,
                         PREAMBLE[header], sections)


if __name__ == "__main__":
    generate(sys.argv[1])
