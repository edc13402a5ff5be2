#!/usr/bin/env python3
"""Checks a built installer image without running it (the 32-bit one cannot run here):
machine and PE format for its target, the GUI subsystem, the icon, manifest and version resources,
and a manifest that asks for administrator rights.

    check-image.py PROGRAM.exe TRIPLE
"""
import struct
import sys

EXPECTED = {  # triple -> (machine, optional-header magic)
    "i686-w64-mingw32": (0x14C, 0x10B),     # Intel 80386, PE32
    "x86_64-w64-mingw32": (0x8664, 0x20B),  # x86-64, PE32+
}
RT_VERSION, RT_GROUP_ICON, RT_MANIFEST = 16, 14, 24


def resources(data, sections, rva):
    """Yields (type, id, bytes) of every resource in the image."""
    def offset(r):
        for va, size, raw in sections:
            if va <= r < va + size:
                return r - va + raw
        raise ValueError("address outside every section")

    base = offset(rva)

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, at + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
            yield name, target

    for rtype, t in entries(base):
        for rid, n in entries(base + (t & 0x7FFFFFFF)):
            for _, leaf in entries(base + (n & 0x7FFFFFFF)):
                drva, size = struct.unpack_from("<II", data, base + leaf)
                yield rtype, rid, data[offset(drva):offset(drva) + size]


def check(path, triple):
    data = open(path, "rb").read()
    problems = []
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return ["not a PE image"]
    machine, nsections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    want_machine, want_magic = EXPECTED[triple]
    if machine != want_machine or magic != want_magic:
        problems.append(f"machine 0x{machine:X} format 0x{magic:X}, expected 0x{want_machine:X} 0x{want_magic:X}")
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    if subsystem != 2:
        problems.append(f"subsystem {subsystem}, expected 2 (Windows GUI)")
    dirs = opt + (96 if magic == 0x10B else 112)
    res_rva = struct.unpack_from("<I", data, dirs + 2 * 8)[0]
    sections = []
    for i in range(nsections):
        s = opt + opt_size + 40 * i
        vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, s + 8)
        sections.append((va, max(vsize, rawsize), raw))
    found = {(t, i): blob for t, i, blob in resources(data, sections, res_rva)} if res_rva else {}
    if (RT_GROUP_ICON, 145) not in found:
        problems.append("no icon resource 145")
    manifest = found.get((RT_MANIFEST, 1), b"")
    if b'level="requireAdministrator"' not in manifest:
        problems.append("no manifest asking for administrator rights")
    version = found.get((RT_VERSION, 1), b"")
    if "ProductVersion\0".encode("utf-16-le") not in version or "1.7.9".encode("utf-16-le") not in version:
        problems.append("no version resource with product version 1.7.9")
    return problems


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in EXPECTED:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for p in problems:
        print(f"{sys.argv[1]}: {p}")
    if not problems:
        print(f"{sys.argv[1]}: {sys.argv[2]} GUI image with icon, administrator manifest and version 1.7.9")
    sys.exit(1 if problems else 0)
