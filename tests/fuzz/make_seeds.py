#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz entries (tests/fuzz/corpus/*).
Run from anywhere; existing seeds of the same name are replaced."""
import os, struct, shutil, glob

here = os.path.dirname(os.path.abspath(__file__))
D = "/root/Library/Printers/TARNVALE/Preferences/tarnvale.printers.rx8240"

def put(target, name, data):
    d = os.path.join(here, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())

walk = ("rx8240:ModelName:ENDroot:USErName:END" + "".join(
    a + ":arg:" for a in ["snmpwalk", "-Os", "-c", "ombrel", "-v", "1", "127.0.0.1:161",
                          "1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1"]))
args = {
    "swap-backup": f"2:ARG_iSwapType{D}/root-rx8240-profile.plist:ARG_cFooCurrentString{D}/root-rx8240-profile.prev.plist:ARG_cFooPrevString",
    "swap-null": "NULL:ARG_iSwapTypeNULL:ARG_cFooCurrentStringNULL:ARG_cFooPrevString",
    "piece": f"file://{D}/root-rx8240-profile.plist:AddURL:END<plist><dict></dict></plist>",
    "url-escaped": f"file://localhost{D}/root-rx8240-profile%2Eplist",
    "path-dotdot": f"{D}/../root-rx8240-profile.plist",
    "walk": walk,
    "walk-options": walk.replace("-Os:arg:", "-Os:arg:-Cci:arg:-r:arg:2:arg:-t:arg:1:arg:"),
    "walk-refused": walk.replace("-Os:arg:", "-Lf:arg:/tmp/x:arg:"),
}
for k, v in args.items():
    put("fuzz_argument_strings", k, v)

ops = ["qvPListIsAdminProfile_XPC", "qvPListSwapProfile_XPC", "qvPListExistProfile_XPC", "qvPListRemove_XPC",
       "writeDictionaryToPlistFile_XPC", "writeDataToPlistFile_XPC", "writeDataToPlistFileRename_XPC", "mibwalk_XPC"]
def rec(op, arg):
    a = arg.encode()
    return bytes([ops.index(op)]) + struct.pack(">H", len(a)) + a
def frame(b):
    return struct.pack(">I", len(b)) + b
cur = "@D/fuzz-rx8240-profile.plist"
url = "file://" + cur
put("fuzz_service_frames", "staged", b"\x01" + rec("qvPListRemove_XPC", cur + ".dummy") +
    rec("writeDataToPlistFile_XPC", url + ":AddURL:END<plist>") +
    rec("writeDataToPlistFile_XPC", url + ":AddURL:END</plist>") + rec("writeDataToPlistFileRename_XPC", url))
put("fuzz_service_frames", "swaps", b"\x01" + rec("writeDictionaryToPlistFile_XPC", url + ":AddURL:ENDold") +
    rec("qvPListSwapProfile_XPC", f"2:ARG_iSwapType{cur}:ARG_cFooCurrentString@D/fuzz-rx8240-profile.prev.plist:ARG_cFooPrevString") +
    rec("qvPListSwapProfile_XPC", f"0:ARG_iSwapType{cur}:ARG_cFooCurrentString@D/fuzz-rx8240-profile.prev.plist:ARG_cFooPrevString") +
    rec("qvPListExistProfile_XPC", cur) + rec("qvPListIsAdminProfile_XPC", cur) + rec("qvPListRemove_XPC", cur))
put("fuzz_service_frames", "walk", b"\x01" + rec("mibwalk_XPC", walk.replace("root:USErName", "fuzz:USErName")))
put("fuzz_service_frames", "raw-frames", b"\x00" + frame(b"qvPListExistProfile_XPC")[1:] + frame(b"/x"))
put("fuzz_service_frames", "raw-huge-length", b"\x00\x00\x00\x10" + b"\xff\xff\xff\xff")

# List files: small hand-made ones (full files are large).
def listfile(n, inmenu=4, version=True):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">',
           '<plist version="1.0">', '<dict>']
    for cls in ["RGB", "SIM", "DST"]:
        out.append(f"<key>{cls}</key><dict><key>iNum</key><integer>{n}</integer>")
        for field, kind in [("IndexOnDevice", "integer"), ("InMenu", "integer"), ("ProfileClass", "integer"),
                            ("Location", "integer"), ("FileName", "string"), ("ProfileName", "string")]:
            out.append(f"<key>{field}</key><dict>")
            for i in range(n):
                v = {"IndexOnDevice": i + 1, "InMenu": inmenu, "ProfileClass": 1, "Location": 4,
                     "FileName": f"P{i}.ICC", "ProfileName": f"Profil &amp; {i} \u00e9"}[field]
                out.append(f"<key>{field}{i:04d}</key><{kind}>{v}</{kind}>")
            out.append("</dict>")
        out.append("</dict>")
    if version:
        out.append("<key>PlistVersion</key><integer>1</integer>")
    out += ["</dict>", "</plist>", ""]
    return "\n".join(out)
put("fuzz_list_reader", "three", listfile(3))
put("fuzz_list_reader", "codes-2", listfile(2, inmenu=2))
put("fuzz_list_reader", "empty-lists", listfile(0, version=False))
put("fuzz_list_reader", "not-a-list", "<plist version=\"1.0\"><array><string>x</string></array></plist>")

for name, data in {"path": "Disk/PROFILE.ICC", "ascii": "0123456789:;<=>?", "odd": "12345",
                   "binary": b"\x00\xff\x80\x7f"}.items():
    put("fuzz_nibble_text", name, data)

def var(oid, typ, value):
    ent = [1, 3, 6, 1, 4, 1, 71362, 1, 1, 1, 1, 6, 13, 1, 1]
    rest = oid[len(ent):] if oid[:len(ent)] == ent else oid
    flags = 1 if oid[:len(ent)] == ent else 0
    b = bytes([flags, len(rest)]) + b"".join(struct.pack(">I", x) for x in rest)
    return b + bytes([typ]) + struct.pack(">H", len(value)) + value
E = [1, 3, 6, 1, 4, 1, 71362, 1, 1, 1, 1, 6, 13, 1, 1]
row = b"".join([var(E + [1, 1, 1], 2, struct.pack("<q", 7)), var(E + [2, 1, 1], 2, struct.pack("<q", 4)),
                var(E + [3, 1, 1], 4, b"Profile name"), var(E + [4, 1, 1], 4, b"P1.ICC"),
                var(E + [5, 1, 1], 2, struct.pack("<q", 1)), var(E + [7, 1, 1], 2, struct.pack("<q", 2))])
put("fuzz_walk_store", "row", row)
put("fuzz_walk_store", "row-500", var(E + [1, 1, 500], 2, struct.pack("<q", 5)) + var(E + [3, 1, 501], 4, b"x" * 40))
put("fuzz_walk_store", "long-name", var(E + [3, 1, 2], 4, "é".encode() * 40))
put("fuzz_walk_store", "other-oid", var([1, 3, 6, 1, 2, 1, 1, 1, 0], 4, b"sys"))

for ppd in glob.glob(os.path.join(here, "..", "fixtures", "ppd", "*.ppd")):
    with open(ppd, "rb") as f:
        put("fuzz_ppd_table", os.path.basename(ppd), b"\x06" + f.read())
