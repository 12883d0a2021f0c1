#!/usr/bin/env python3
"""Reads every DXF file in the given folders with ezdxf, an independent DXF reader, and checks
that its entities, by type and by layer, are exactly the entity records the file holds, and that
ezdxf's audit finds nothing to fix. Exit status 77 (skipped) when ezdxf is not installed."""
import collections
import pathlib
import sys

try:
    import ezdxf
except ImportError:
    print("SKIPPED: the DXF reader ezdxf is not installed (Debian: apt-get install python3-ezdxf)")
    sys.exit(77)


ENTITY_TYPES = ("LINE", "ARC", "CIRCLE", "TEXT", "POLYLINE", "POINT", "SOLID", "LWPOLYLINE",
                "HATCH")


def records_written(path):
    """(type, layer) of each entity record, read from the group pairs of the ENTITIES section."""
    lines = path.read_text(encoding="ascii", errors="replace").split("\n")
    pairs = [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]
    counts = collections.Counter()
    in_entities = False
    for i, (code, value) in enumerate(pairs):
        if code == "2" and value == "ENTITIES":
            in_entities = True
        elif code == "0" and value == "ENDSEC":
            in_entities = False
        elif in_entities and code == "0" and value in ENTITY_TYPES:
            j = i + 1
            while j < len(pairs) and pairs[j][0] not in ("0", "8"):
                j += 1
            counts[(value, pairs[j][1] if pairs[j][0] == "8" else None)] += 1
    return counts


def records_read(path):
    """What ezdxf reads, and the errors its audit finds."""
    doc = ezdxf.readfile(str(path))
    audit = doc.audit()
    errors = [e.message for e in audit.errors + audit.fixes]
    return collections.Counter((e.dxftype(), e.dxf.layer) for e in doc.modelspace()), errors


def main(folders):
    files = sorted(p for folder in folders for p in pathlib.Path(folder).glob("*.dxf"))
    if not files:
        print("no DXF files found in", ", ".join(folders))
        return 1
    failures = 0
    entities = 0
    for path in files:
        try:
            read, errors = records_read(path)
        except Exception as problem:  # any complaint of the reader is a failure
            print(f"{path}: ezdxf cannot read it: {problem}")
            failures += 1
            continue
        if errors:
            print(f"{path}: ezdxf's audit finds {errors[:3]}")
            failures += 1
        written = records_written(path)
        if read != written:
            print(f"{path}: ezdxf read {dict(read)}, the file holds {dict(written)}")
            failures += 1
        entities += sum(written.values())
    print(f"{len(files)} DXF files, {entities} entities, read by ezdxf {ezdxf.__version__}: "
          f"{failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
