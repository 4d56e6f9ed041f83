#!/usr/bin/env python3
"""Reference peer for list files, built on Python's plistlib.

  plist_peer.py dump FILE           print every value of a list file, one per line
  plist_peer.py write CASE FILE     write a list file of the named case
"""
import plistlib
import sys

CLASSES = ("RGB", "SIM", "DST")
INT_FIELDS = ("IndexOnDevice", "InMenu", "ProfileClass", "Location")
STRING_FIELDS = ("FileName", "ProfileName")


def dump(path):
    with open(path, "rb") as f:
        root = plistlib.load(f)
    lines = []
    if "PlistVersion" in root:
        lines.append("PlistVersion %d" % root["PlistVersion"])
    for cls in CLASSES:
        d = root[cls]
        if "iNum" in d:
            lines.append("%s iNum %d" % (cls, d["iNum"]))
        for field in INT_FIELDS + STRING_FIELDS:
            for key, value in d[field].items():
                if isinstance(value, bool):
                    raise SystemExit("boolean under %s/%s" % (cls, key))
                if isinstance(value, int):
                    lines.append("%s %s i %d" % (cls, key, value))
                elif isinstance(value, str):
                    lines.append("%s %s s %s" % (cls, key, value.encode("utf-8").hex()))
                else:
                    raise SystemExit("unexpected %r under %s/%s" % (type(value), cls, key))
        extra = set(d) - set(INT_FIELDS + STRING_FIELDS + ("iNum",))
        for key in sorted(extra):
            lines.append("%s extra %s" % (cls, key))
    for line in sorted(lines):
        print(line)


def empty_class():
    d = {"iNum": 0}
    for field in INT_FIELDS:
        d[field] = {"%s%04d" % (field, n): 0 for n in range(500)}
    for field in STRING_FIELDS:
        d[field] = {"%s%04d" % (field, n): "" for n in range(500)}
    return d


def reversed_dict(d):
    return {k: (reversed_dict(v) if isinstance(v, dict) else v) for k, v in reversed(list(d.items()))}


def case_variety():
    """Other key order, missing slot keys, missing iNum, extra keys, negative
    integers, escaped and non-ASCII strings, over-long strings."""
    root = {"PlistVersion": 1, "Comment": "written by the peer", "RGB": empty_class(),
            "SIM": empty_class(), "DST": empty_class()}
    rgb = root["RGB"]
    rgb["iNum"] = 3
    rgb["InMenu"]["InMenu0000"] = 4
    rgb["InMenu"]["InMenu0001"] = 6
    rgb["InMenu"]["InMenu0002"] = 3
    rgb["IndexOnDevice"]["IndexOnDevice0000"] = -7
    rgb["IndexOnDevice"]["IndexOnDevice0001"] = 2147483647
    rgb["IndexOnDevice"]["IndexOnDevice0002"] = -2147483648
    rgb["FileName"]["FileName0000"] = "a&b<c>d\"e'f.icc"
    rgb["ProfileName"]["ProfileName0000"] = "Café ÄÖÜ 日本"
    rgb["FileName"]["FileName0001"] = "x" * 40
    # 30 ASCII bytes then a 3-byte character: bytes 31 and 32 would cut it.
    rgb["ProfileName"]["ProfileName0001"] = "y" * 30 + "日本"
    rgb["FileName"]["FileName0002"] = "\U0001F600" * 8
    rgb["ProfileName"]["ProfileName0002"] = "  spaced  "
    del rgb["Location"]["Location0001"]
    rgb["Location"]["Location0000"] = 5
    rgb["Location"]["Location0002"] = 4
    rgb["Extra"] = {"Whatever": [1, 2, 3]}
    rgb["Location"]["Location9999"] = 77
    rgb["InMenu"]["InMenu12"] = 9

    sim = root["SIM"]
    del sim["iNum"]
    sim["InMenu"]["InMenu0000"] = 2
    sim["InMenu"]["InMenu0001"] = 1
    sim["FileName"]["FileName0000"] = "S1.icc"
    sim["FileName"]["FileName0001"] = "S2.icc"
    del sim["ProfileClass"]["ProfileClass0000"]
    del sim["FileName"]["FileName0499"]
    root["SIM"] = reversed_dict(sim)

    dst = root["DST"]
    dst["iNum"] = 5  # only two used slots
    dst["InMenu"]["InMenu0000"] = 5
    dst["InMenu"]["InMenu0001"] = 6
    dst["FileName"]["FileName0000"] = "D1.icc"
    dst["FileName"]["FileName0001"] = "D2.icc"
    return reversed_dict(root)


def case_no_location():
    root = {"RGB": empty_class(), "SIM": empty_class(), "DST": empty_class(), "PlistVersion": 1}
    root["SIM"]["InMenu"]["InMenu0000"] = 3
    root["SIM"]["iNum"] = 1
    del root["DST"]["Location"]
    return root


CASES = {"variety": case_variety, "no-location": case_no_location}


def main(argv):
    if len(argv) == 3 and argv[1] == "dump":
        dump(argv[2])
    elif len(argv) == 4 and argv[1] == "write" and argv[2] in CASES:
        with open(argv[3], "wb") as f:
            plistlib.dump(CASES[argv[2]](), f, fmt=plistlib.FMT_XML, sort_keys=False)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
