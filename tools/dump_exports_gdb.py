# Run inside gdb (gdb -batch -x this -ex 'python dump("names", "out")' LIB):
# writes, for every name listed in the names file, its C form as the debug
# information of LIB gives it: parameter names and types, result type, or the
# type of a data object. Names without debug information of their own (asm
# functions, aliases) are written with "type": null.
import json

import gdb


def c_type(t):
    """The type as C spells it; typedefs of the library (Slot) resolved."""
    text = str(t)
    if "Slot" in text:
        text = str(t.strip_typedefs())
    return text


def function_at(pc):
    symtab = gdb.find_pc_line(pc).symtab
    if symtab is None:
        return None
    for block in (symtab.global_block(), symtab.static_block()):
        for s in block:
            if s.is_function and int(s.value().address) == pc:
                return s
    return None


def dump(names_path, out_path):
    out = {}
    for name in open(names_path).read().split():
        entry = {"type": None}
        try:
            sym = gdb.lookup_global_symbol(name) or gdb.lookup_symbol(name)[0]
        except gdb.error:
            sym = None
        try:
            pc = int(gdb.parse_and_eval("(long)&'%s'" % name))
        except gdb.error:
            pc = None
        entry["address"] = pc
        block = gdb.block_for_pc(pc) if pc is not None else None
        if block is not None and block.function is not None and block.start == pc:
            ftype = block.function.type
            entry["type"] = "function"
            entry["result"] = c_type(ftype.target())
            entry["params"] = [[s.name, c_type(s.type)] for s in block if s.is_argument]
            # The block at that address may belong to another function
            # (identical code folded): then the name tells.
            fname = block.function.name.split("(")[0]
            entry["name_ok"] = fname == name or fname.split("::")[-1] == name
        elif pc is not None and function_at(pc) is not None:
            # Found in its file's symbol table, though no block starts at its
            # address: the type without the parameter names.
            ftype = function_at(pc).type
            entry["type"] = "function"
            entry["result"] = c_type(ftype.target())
            entry["params"] = [[None, c_type(f.type)] for f in ftype.fields()]
        elif sym is not None and not sym.is_function:
            entry["type"] = "data"
            entry["data"] = str(sym.type)
        out[name] = entry
    json.dump(out, open(out_path, "w"), indent=1)
