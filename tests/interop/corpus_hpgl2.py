#!/usr/bin/env python3
"""Converts every plot in the given folders with penwright --hpgl2, each in a folder of its
own, and checks that every conversion reads its input to the end (status 0 or 1, a complete
document, the log's counts and summary) and that ezdxf reads and audits every DXF without an
error. Usage: corpus_hpgl2.py PENWRIGHT FOLDER...; exit status 77 when no folder holds a plot."""
import pathlib
import subprocess
import sys
import tempfile

import read_dxf


def convert(penwright, plot, out, number):
    name = f"{number:03d}_{plot.stem}"
    work = out / name
    work.mkdir()
    done = subprocess.run([penwright, "--hpgl2", "-i", str(plot.resolve()), "-o", "out.dxf"], cwd=work,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    dxf = (work / "out.dxf").read_bytes()
    log = (work / "penwright.log").read_text(encoding="latin-1")
    problems = []
    if done.returncode not in (0, 1):
        problems.append(f"status {done.returncode}")
    if not dxf.endswith(b"  0\nENDSEC\n  0\nEOF\n"):
        problems.append("the document is incomplete")
    if "\nDrawn: " not in log or "\nErrors: " not in log:
        problems.append("the log has no counts or no summary")
    (work / "out.dxf").rename(out / (name + ".dxf"))
    return problems


def main(penwright, folders):
    plots = sorted(p for f in folders for p in pathlib.Path(f).glob("*") if p.suffix.lower() in
                   (".plt", ".hpgl", ".hpg", ".pcl", ".spl"))
    if not plots:
        print("SKIPPED: no plots in", ", ".join(folders))
        return 77
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        out = pathlib.Path(tmp)
        for number, plot in enumerate(plots):
            for problem in convert(penwright, plot, out, number):
                print(f"{plot}: {problem}")
                failures += 1
        print(f"{len(plots)} plots converted with --hpgl2")
        failures += read_dxf.main([str(out)])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
