#!/usr/bin/env python3
"""Reads the type-library description and writes, into OUTDIR:
  typelib_tables.inc  the tables that typelib_writer.cpp turns into a .tlb
  lumiokit_ids.h      CLSIDs, IIDs, dispatch identifiers and enumerations
  lumiokit_dual.h     the vtable side of every dual interface (see dual_tear_off.h)
Files are rewritten only when their content changes."""
import os
import re
import shlex
import sys

SCALARS = {"bool", "short", "long", "single", "string", "variant", "object",
           "color", "font", "picture", "lptr"}


class Error(Exception):
    pass


def parse_guid(tok, where):
    m = re.fullmatch(r"\{([0-9A-Fa-f]{8})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-"
                     r"([0-9A-Fa-f]{4})-([0-9A-Fa-f]{12})\}", tok)
    if not m:
        raise Error(f"{where}: bad GUID {tok}")
    return tok.upper()


def parse_int(tok, where):
    try:
        return int(tok, 0)
    except ValueError:
        raise Error(f"{where}: bad number {tok}")


def parse_type(tok, enums, where):
    byref = tok.startswith("*")
    base = tok[1:] if byref else tok
    if base not in SCALARS and base not in enums:
        raise Error(f"{where}: unknown type {base}")
    return {"type": base, "byref": byref}


def parse_param(tok, enums, where):
    name, sep, rest = tok.partition(":")
    if not sep or not name:
        raise Error(f"{where}: bad parameter {tok}")
    p = {"name": name, "opt": None, "default": None}
    if "=" in rest:
        rest, _, default = rest.partition("=")
        p["opt"] = "default"
        p["default"] = default
    elif rest.endswith("?"):
        rest = rest[:-1]
        p["opt"] = "optional"
    p.update(parse_type(rest, enums, where))
    return p


def parse(path):
    lib = None
    enums, enum_order, interfaces, coclasses, order = {}, [], {}, [], []
    cur = None
    with open(path, encoding="utf-8") as f:
        lines = f.readlines()
    for n, raw in enumerate(lines, 1):
        where = f"{path}:{n}"
        line = raw.split("#", 1)[0] if not raw.lstrip().startswith('"') else raw
        if raw.lstrip().startswith("#") or not line.strip():
            continue
        toks = shlex.split(line, comments=False)
        head = toks[0]
        indented = raw[0] in " \t"
        if not indented:
            if head == "library":
                major, minor = toks[2].split(".")
                lib = {"name": toks[1], "major": int(major), "minor": int(minor),
                       "guid": parse_guid(toks[3], where)}
                cur = None
            elif head == "enum":
                cur = {"kind": "enum", "name": toks[1], "guid": parse_guid(toks[2], where),
                       "members": []}
                enums[cur["name"]] = cur
                enum_order.append(cur)
            elif head in ("interface", "dispinterface"):
                cur = {"kind": head, "name": toks[1], "guid": parse_guid(toks[2], where),
                       "members": []}
                if head == "interface" and toks[3:] != ["dual"]:
                    raise Error(f"{where}: only dual interfaces are described")
                interfaces[cur["name"]] = cur
                order.append(cur)
            elif head == "coclass":
                cur = {"kind": "coclass", "name": toks[1], "guid": parse_guid(toks[2], where),
                       "control": False, "creatable": True, "misc": None, "bitmap": None,
                       "impl": []}
                for t in toks[3:]:
                    if t == "control":
                        cur["control"] = True
                    elif t == "noncreatable":
                        cur["creatable"] = False
                    elif t.startswith("misc="):
                        cur["misc"] = parse_int(t[5:], where)
                    elif t.startswith("bitmap="):
                        cur["bitmap"] = parse_int(t[7:], where)
                    else:
                        raise Error(f"{where}: unknown coclass flag {t}")
                coclasses.append(cur)
                order.append(cur)
            else:
                raise Error(f"{where}: unknown line {head}")
            continue
        if cur is None:
            raise Error(f"{where}: member outside a block")
        if cur["kind"] == "enum":
            if len(toks) != 2:
                raise Error(f"{where}: enum member needs NAME VALUE")
            cur["members"].append((toks[0], parse_int(toks[1], where)))
        elif cur["kind"] == "coclass":
            role, iface = toks
            if role not in ("default", "source", "implements"):
                raise Error(f"{where}: unknown role {role}")
            cur["impl"].append((role, iface))
        else:
            kind = head
            want = ("event",) if cur["kind"] == "dispinterface" else \
                ("prop", "propref", "get", "putref", "method")
            if kind not in want:
                raise Error(f"{where}: {kind} not allowed in {cur['kind']}")
            m = {"kind": kind, "name": toks[1], "dispid": parse_int(toks[2], where),
                 "value": None, "params": [], "ret": None, "hidden": False, "help": None}
            rest = toks[3:]
            if kind in ("prop", "propref", "get", "putref"):
                m["value"] = parse_type(rest[0], enums, where)
                rest = rest[1:]
            for t in rest:
                if t == "hidden":
                    m["hidden"] = True
                elif t.startswith("help="):
                    m["help"] = t[5:]
                elif t.startswith("ret:"):
                    m["ret"] = parse_type(t[4:], enums, where)
                else:
                    m["params"].append(parse_param(t, enums, where))
            cur["members"].append(m)
    if lib is None:
        raise Error(f"{path}: no library line")
    for c in coclasses:
        for role, iface in c["impl"]:
            if iface not in interfaces:
                raise Error(f"coclass {c['name']}: unknown interface {iface}")
    check(enum_order, interfaces, coclasses)
    return lib, enum_order, order, coclasses


def check(enums, interfaces, coclasses):
    seen = set()
    for item in list(enums) + list(interfaces.values()) + coclasses:
        if item["guid"] in seen:
            raise Error(f"{item['name']}: GUID used twice")
        seen.add(item["guid"])
    for i in interfaces.values():
        ids = {}
        for m in i["members"]:
            other = ids.setdefault(m["dispid"], m["name"])
            if other != m["name"]:
                raise Error(f"{i['name']}: {m['name']} and {other} share {m['dispid']:#x}")


# ------------------------------------------------------------------ C++ output
TYPE_CODES = {"bool": "T_BOOL", "short": "T_SHORT", "long": "T_LONG", "single": "T_SINGLE",
              "string": "T_STRING", "variant": "T_VARIANT", "object": "T_OBJECT",
              "color": "T_COLOR", "font": "T_FONT", "picture": "T_PICTURE", "lptr": "T_LPTR"}


def wstr(s):
    if s is None:
        return "nullptr"
    return 'L"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def cxx_type(t):
    if t is None:
        return "T_VOID, nullptr, false"
    code = TYPE_CODES.get(t["type"], "T_ENUM")
    name = wstr(t["type"]) if code == "T_ENUM" else "nullptr"
    return f"{code}, {name}, {'true' if t['byref'] else 'false'}"


def guid_init(g):
    h = g.strip("{}").replace("-", "")
    d4 = ", ".join("0x" + h[16 + 2 * i:18 + 2 * i] for i in range(8))
    return f"{{0x{h[0:8]}, 0x{h[8:12]}, 0x{h[12:16]}, {{{d4}}}}}"


def param_default(p):
    if p["opt"] != "default":
        return "D_NONE, 0, nullptr" if p["opt"] is None else "D_OPTIONAL, 0, nullptr"
    d = p["default"]
    t = p["type"]
    if t in ("string", "variant") and not re.fullmatch(r"-?\d+", d or "x"):
        return f"D_STRING, 0, {wstr(d)}"
    if d in ("true", "false"):
        return f"D_INT, {-1 if d == 'true' else 0}, nullptr"
    return f"D_INT, {int(d, 0)}, nullptr"


def write_tables(lib, enums, order):
    out = ["// Generated from lumiokit.tld by generate.py: do not edit.", ""]
    out.append(f"static const wchar_t kLibName[] = {wstr(lib['name'])};")
    out.append(f"static const GUID kLibGuid = {guid_init(lib['guid'])};")
    out.append(f"static const unsigned short kLibMajor = {lib['major']}, kLibMinor = {lib['minor']};")
    for e in enums:
        out.append(f"static const EnumMember kEnum_{e['name']}[] = {{")
        for name, value in e["members"]:
            out.append(f"    {{{wstr(name)}, {value}}},")
        out.append("};")
    out.append("static const EnumDesc kEnums[] = {")
    for e in enums:
        out.append(f"    {{{wstr(e['name'])}, {guid_init(e['guid'])}, kEnum_{e['name']}, "
                   f"{len(e['members'])}}},")
    out.append("};")
    for item in order:
        if item["kind"] == "coclass":
            continue
        base = re.sub(r"\W", "_", item["name"])
        for k, m in enumerate(item["members"]):
            if m["params"]:
                out.append(f"static const ParamDesc kP_{base}_{k}[] = {{")
                for p in m["params"]:
                    out.append(f"    {{{wstr(p['name'])}, {cxx_type(p)}, {param_default(p)}}},")
                out.append("};")
        out.append(f"static const MemberDesc kM_{base}[] = {{")
        for k, m in enumerate(item["members"]):
            params = f"kP_{base}_{k}, {len(m['params'])}" if m["params"] else "nullptr, 0"
            typ = m["value"] if m["value"] is not None else m["ret"]
            out.append(f"    {{K_{m['kind'].upper()}, {wstr(m['name'])}, {m['dispid']}, "
                       f"{cxx_type(typ)}, {params}, {'true' if m['hidden'] else 'false'}, "
                       f"{wstr(m['help'])}}},")
        if not item["members"]:
            out.append("    {K_METHOD, nullptr, 0, T_VOID, nullptr, false, nullptr, 0, false, nullptr},")
        out.append("};")
    out.append("static const TypeDesc kTypes[] = {")
    for item in order:
        base = re.sub(r"\W", "_", item["name"])
        if item["kind"] == "coclass":
            impl = ", ".join(f"{{{wstr(i)}, {'R_' + r.upper()}}}" for r, i in item["impl"])
            flags = ("true" if item["control"] else "false",
                     "true" if item["creatable"] else "false")
            out.append(f"    {{Y_COCLASS, {wstr(item['name'])}, {guid_init(item['guid'])}, "
                       f"nullptr, 0, {{{impl}}}, {len(item['impl'])}, {flags[0]}, {flags[1]}}},")
        else:
            kind = "Y_DUAL" if item["kind"] == "interface" else "Y_DISPATCH"
            out.append(f"    {{{kind}, {wstr(item['name'])}, {guid_init(item['guid'])}, "
                       f"kM_{base}, {len(item['members'])}, {{}}, 0, false, false}},")
    out.append("};")
    return "\n".join(out) + "\n"


def ident(name):
    s = re.sub(r"\W", "_", name)
    return "_" + s if s[0].isdigit() else s


def write_header(lib, enums, order, coclasses):
    out = ["// Generated from controls/resources/typelib/lumiokit.tld: do not edit.",
           "#pragma once", "#include <windows.h>", "", "namespace lumio::tlb {", ""]
    out.append(f"inline constexpr GUID LIBID_{lib['name']} = {guid_init(lib['guid'])};")
    out.append(f"inline constexpr WORD kLibMajor = {lib['major']}, kLibMinor = {lib['minor']};")
    out.append("")
    out.append("// Interfaces: IID_<dual interface without its underscore>, "
               "DIID_<class>Events for the event interfaces.")
    names = {}
    for item in order:
        if item["kind"] == "interface":
            names[item["name"]] = item["name"].lstrip("_")
            out.append(f"inline constexpr IID IID_{names[item['name']]} = {guid_init(item['guid'])};")
        elif item["kind"] == "dispinterface":
            names[item["name"]] = item["name"].lstrip("_") + "Events"
            out.append(f"inline constexpr IID DIID_{names[item['name']]} = {guid_init(item['guid'])};")
    out.append("")
    for c in coclasses:
        out.append(f"inline constexpr CLSID CLSID_{c['name']} = {guid_init(c['guid'])};")
        if c["misc"] is not None:
            out.append(f"inline constexpr DWORD {c['name']}_MiscStatus = {c['misc']:#x};")
        if c["bitmap"] is not None:
            out.append(f"inline constexpr int {c['name']}_ToolboxBitmap = {c['bitmap']};")
    out.append("")
    out.append("// Dispatch identifiers, one namespace per interface.")
    out.append("namespace dispid {")
    for item in order:
        if item["kind"] == "coclass":
            continue
        out.append(f"namespace {names[item['name']]} {{")
        done = set()
        for m in item["members"]:
            if m["name"] in done:
                continue
            done.add(m["name"])
            out.append(f"inline constexpr DISPID {ident(m['name'])} = {m['dispid']};")
        out.append("}")
    out.append("}  // namespace dispid")
    out.append("")
    for e in enums:
        out.append(f"enum class {e['name']} : LONG {{")
        for name, value in e["members"]:
            out.append(f"    {ident(name)} = {value},")
        out.append("};")
    out.append("")
    out.append("}  // namespace lumio::tlb")
    return "\n".join(out) + "\n"


# ------------------------------------------------------------ dual vtables
# C++ type and the VARTYPE it travels as through Invoke.
DUAL_TYPES = {"bool": ("VARIANT_BOOL", "VT_BOOL"), "short": ("SHORT", "VT_I2"),
              "long": ("LONG", "VT_I4"), "single": ("FLOAT", "VT_R4"),
              "string": ("BSTR", "VT_BSTR"), "variant": ("VARIANT", "VT_VARIANT"),
              "object": ("IDispatch*", "VT_DISPATCH"), "color": ("OLE_COLOR", "VT_I4"),
              "font": ("IFontDisp*", "VT_DISPATCH"), "picture": ("IPictureDisp*", "VT_DISPATCH"),
              "lptr": ("LONG_PTR", "VT_LPTR")}
# The type library's description of each type: leaf VARTYPE and pointer depth.
TLB_LEAF = {"bool": ("VT_BOOL", 0), "short": ("VT_I2", 0), "long": ("VT_I4", 0),
            "single": ("VT_R4", 0), "string": ("VT_BSTR", 0), "variant": ("VT_VARIANT", 0),
            "object": ("VT_DISPATCH", 0), "color": ("VT_USERDEFINED", 0),
            "font": ("VT_USERDEFINED", 1), "picture": ("VT_USERDEFINED", 1),
            "lptr": ("VT_LPTR", 0)}


def dual_type(t):
    if t["type"] in DUAL_TYPES:
        return DUAL_TYPES[t["type"]]
    return f"::lumio::tlb::{t['type']}", "VT_I4"


def tlb_code(t, extra=0):
    leaf, depth = TLB_LEAF.get(t["type"], ("VT_USERDEFINED", 0))
    depth += extra + (1 if t["byref"] else 0)
    return f"{leaf} + {depth * 0x1000:#x}" if depth else leaf


def dual_arg(t, name):
    cxx, vt = dual_type(t)
    if t["byref"]:
        return f"{cxx}* {name}", f"Ref<{vt}>({name})"
    if t["type"] == "variant":
        return f"{cxx} {name}", f"In({name})"
    return f"{cxx} {name}", f"In<{vt}>({name})"


def dual_slots(item):
    """The vtable slots of a dual interface in the order the type library lays them out:
    (name, dispid, INVOKEKIND, C++ parameters, forwarding body, type-library codes)."""
    for m in item["members"]:
        params = [dual_arg(p, f"a{i}") for i, p in enumerate(m["params"])]
        decl = [d for d, _ in params]
        args = [a for _, a in params]
        codes = [tlb_code(p) for p in m["params"]]
        name = ident(m["name"])
        fwd = "".join(", " + a for a in args)

        def getter():
            cxx, vt = dual_type({"type": m["value"]["type"], "byref": False})
            return (f"get_{name}", m["dispid"], "INVOKE_PROPERTYGET", decl + [f"{cxx}* out"],
                    f"Get<{vt}>({hexid(m['dispid'])}, DISPATCH_PROPERTYGET, out{fwd})",
                    codes + [tlb_code({"type": m["value"]["type"], "byref": False}, 1)])

        def setter(prefix, kind, flag):
            d, a = dual_arg(m["value"], "v")
            return (f"{prefix}_{name}", m["dispid"], kind, decl + [d],
                    f"Call({hexid(m['dispid'])}, {flag}, nullptr{fwd}, {a})", codes + [tlb_code(m["value"])])

        if m["kind"] in ("prop", "propref", "get"):
            yield getter()
        if m["kind"] == "prop":
            yield setter("put", "INVOKE_PROPERTYPUT", "DISPATCH_PROPERTYPUT")
        if m["kind"] in ("propref", "putref"):
            yield setter("putref", "INVOKE_PROPERTYPUTREF", "DISPATCH_PROPERTYPUTREF")
        if m["kind"] == "method":
            if m["ret"]:
                cxx, vt = dual_type(m["ret"])
                yield (name, m["dispid"], "INVOKE_FUNC", decl + [f"{cxx}* out"],
                       f"Get<{vt}>({hexid(m['dispid'])}, DISPATCH_METHOD, out{fwd})",
                       codes + [tlb_code(m["ret"], 1)])
            else:
                yield (name, m["dispid"], "INVOKE_FUNC", decl,
                       f"Call({hexid(m['dispid'])}, DISPATCH_METHOD, nullptr{fwd})", codes)


def hexid(n):
    return f"{n:#x}" if n >= 0 else str(n)


def write_dual(order):
    out = ["// Generated from controls/resources/typelib/lumiokit.tld: do not edit.",
           "#pragma once", '#include "dual_tear_off.h"', '#include "lumiokit_ids.h"', "",
           "namespace lumio::tlb::dual {", ""]
    duals = [i for i in order if i["kind"] == "interface"]
    for item in duals:
        cls = item["name"].lstrip("_")
        slots = list(dual_slots(item))
        out.append(f"class {cls}Dual final : public DualTearOff<{cls}Dual> {{")
        out.append("public:")
        out.append("    using DualTearOff::DualTearOff;")
        out.append(f"    static const IID& Iid() {{ return IID_{cls}; }}")
        for name, _, _, decl, body, _ in slots:
            out.append(f"    virtual HRESULT STDMETHODCALLTYPE {name}({', '.join(decl)}) {{ return {body}; }}")
        out.append("};")
        for k, s in enumerate(slots):
            if s[5]:
                out.append(f"inline constexpr unsigned short kP_{cls}_{k}[] = {{{', '.join(s[5])}}};")
        out.append(f"inline constexpr Slot kSlots_{cls}[] = {{")
        for k, s in enumerate(slots):
            params = f"kP_{cls}_{k}, {len(s[5])}" if s[5] else "nullptr, 0"
            out.append(f"    {{{wstr(s[0])}, {hexid(s[1])}, {s[2]}, {params}}},")
        out.append("};")
        out.append("")
    out.append("// Every dual interface with its slots, in vtable order.")
    out.append("inline constexpr Interface kInterfaces[] = {")
    for item in duals:
        cls = item["name"].lstrip("_")
        out.append(f"    {{&IID_{cls}, {wstr(item['name'])}, kSlots_{cls}, "
                   f"static_cast<int>(std::size(kSlots_{cls}))}},")
    out.append("};")
    out.append("")
    out.append("// A new tear-off of the dual interface iid over control, or E_NOINTERFACE.")
    out.append("inline HRESULT CreateTearOff(REFIID iid, IDispatch* control, void** out) {")
    for item in duals:
        cls = item["name"].lstrip("_")
        out.append(f"    if (iid == IID_{cls}) return {cls}Dual::Create(control, out);")
    out.append("    *out = nullptr;")
    out.append("    return E_NOINTERFACE;")
    out.append("}")
    out.append("")
    out.append("}  // namespace lumio::tlb::dual")
    return "\n".join(out) + "\n"


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: generate.py DESCRIPTION OUTDIR")
    try:
        lib, enums, order, coclasses = parse(sys.argv[1])
    except Error as e:
        sys.exit(f"generate.py: {e}")
    os.makedirs(sys.argv[2], exist_ok=True)
    write_if_changed(os.path.join(sys.argv[2], "typelib_tables.inc"),
                     write_tables(lib, enums, order))
    write_if_changed(os.path.join(sys.argv[2], "lumiokit_ids.h"),
                     write_header(lib, enums, order, coclasses))
    write_if_changed(os.path.join(sys.argv[2], "lumiokit_dual.h"), write_dual(order))


if __name__ == "__main__":
    main()
