#!/usr/bin/env python3
"""Converts every plot in the given folders with penwright --hpgl2, in both DXF flavours, each
in a folder of its own, and checks that every conversion reads its input to the end (status 0
or 1, a complete document, the log's counts and summary), that ezdxf reads and audits every DXF
without anything to fix, GDAL reads it (gdal.sh), and the npm package dxf-parser too when --npm
names the folder it is installed into (see dxf_parser.sh). Usage: corpus_hpgl2.py PENWRIGHT
[--npm MODULES] FOLDER...; exit status 77 when no folder holds a plot."""
import pathlib
import subprocess
import sys
import tempfile

import read_dxf


def convert(penwright, plot, out, number, flavour):
    name = f"{number:03d}_{plot.stem}"
    work = out / (name + flavour)
    work.mkdir()
    done = subprocess.run([penwright, "--hpgl2", "--dxf=" + flavour, "-i", str(plot.resolve()),
                           "-o", "out.dxf"], cwd=work,
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


def read_with(script, *args):
    done = subprocess.run(["bash", str(pathlib.Path(__file__).with_name(script)), *args])
    return 0 if done.returncode in (0, 77) else 1


def main(penwright, folders, modules=None):
    plots = sorted(p for f in folders for p in pathlib.Path(f).glob("*") if p.suffix.lower() in
                   (".plt", ".hpgl", ".hpg", ".pcl", ".spl"))
    if not plots:
        print("SKIPPED: no plots in", ", ".join(folders))
        return 77
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        out = pathlib.Path(tmp)
        (out / "r12").mkdir()
        (out / "r2000").mkdir()
        for number, plot in enumerate(plots):
            for flavour in ("r12", "r2000"):
                for problem in convert(penwright, plot, out / flavour, number, flavour):
                    print(f"{plot} ({flavour}): {problem}")
                    failures += 1
        print(f"{len(plots)} plots converted with --hpgl2, as AC1009 and AC1015")
        folders = [str(out / "r12"), str(out / "r2000")]
        failures += read_dxf.main(folders)
        failures += read_with("gdal.sh", *folders)
        if modules:
            failures += read_with("dxf_parser.sh", modules, *folders)
    return 1 if failures else 0


if __name__ == "__main__":
    args = sys.argv[2:]
    npm = args[1] if args[:1] == ["--npm"] else None
    sys.exit(main(sys.argv[1], args[2:] if npm else args, npm))
