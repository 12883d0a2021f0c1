#!/usr/bin/env python3
"""Converts every plot of a folder with penwright, in classic mode and in HP-GL/2 mode, and writes
a Markdown table of both outcomes side by side. Classic mode: exit status, errors, warnings,
entities by type and the first syntax error with the text it stopped at. HP-GL/2 mode (with
--units=mm): exit status, errors, warnings, entities by type, layers and the extents in mm. A
second table lists what HP-GL/2 mode read and did not draw. A run that crashes or hangs is
reported.

    tools/corpus_report.py [--penwright build/penwright] [--corpus DIR] [--out docs/corpus.md]
"""
import argparse
import collections
import pathlib
import re
import subprocess
import tempfile

SYNTAX_ERROR = re.compile(r"\) line (\d+), pos (-?\d+) : (parse error[^\n]*)\(0x70\)")
SUMMARY = re.compile(r"Errors: (\d+), Warnings: (\d+)")
NOT_DRAWN = re.compile(r"^Not drawn: (.*)$", re.M)
CLASSIC_TYPES = ("LINE", "ARC", "CIRCLE", "TEXT")
HPGL2_TYPES = ("POLYLINE", "ARC", "CIRCLE", "TEXT", "POINT")


def text_at(plot, line, column):
    """A few bytes of the input from the given 1-based line and column, printable."""
    lines = plot.read_bytes().split(b"\n")
    if not 1 <= line <= len(lines):
        return "end of input"
    chunk = lines[line - 1][max(column - 1, 0):max(column - 1, 0) + 12]
    if not chunk:
        return "end of input"
    shown = "".join(chr(b) if 32 <= b < 127 and b != ord("|") else f"\\x{b:02x}" for b in chunk)
    return f"`{shown}`"


def run(penwright, plot, options):
    """Status, standard error, log and DXF of one conversion in a folder of its own."""
    with tempfile.TemporaryDirectory() as work:
        try:
            done = subprocess.run([penwright, *options, "-i", str(plot), "-o", "out.dxf"], cwd=work,
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
        except subprocess.TimeoutExpired:
            return "hang", "", "", ""
        status = done.returncode if done.returncode >= 0 else f"signal {-done.returncode}"
        log = (pathlib.Path(work) / "penwright.log").read_text("latin-1")
        dxf = (pathlib.Path(work) / "out.dxf").read_text("latin-1")
    return status, done.stderr.decode("latin-1"), log, dxf


def counted(log):
    summary = SUMMARY.search(log)
    return summary.groups() if summary else ("?", "?")


def classic(penwright, plot):
    status, err, log, dxf = run(penwright, plot, [])
    r = {"status": status, "complete": dxf.endswith("  0\nENDSEC\n  0\nEOF\n")}
    r["errors"], r["warnings"] = counted(log)
    r["entities"] = collections.Counter(re.findall(r"^0\n(LINE|ARC|CIRCLE|TEXT)\n", dxf, re.M))
    found = SYNTAX_ERROR.search(err)
    if found:
        line, column = int(found.group(1)), int(found.group(2))
        r["syntax"] = f"{line}:{column} at {text_at(plot, line, column)}"
    return r


def extents(dxf):
    """The header's extents in mm: "x1..x2 × y1..y2"."""
    def point(name):
        m = re.search(r"\$" + name + r"\n 10\n([^\n]*)\n 20\n([^\n]*)\n", dxf)
        return (float(m.group(1)), float(m.group(2))) if m else (0.0, 0.0)
    (x1, y1), (x2, y2) = point("EXTMIN"), point("EXTMAX")
    return f"{x1:.1f}..{x2:.1f} × {y1:.1f}..{y2:.1f}"


def hpgl2(penwright, plot):
    status, _, log, dxf = run(penwright, plot, ["--hpgl2", "--units=mm"])
    r = {"status": status, "complete": dxf.endswith("  0\nENDSEC\n  0\nEOF\n")}
    r["errors"], r["warnings"] = counted(log)
    r["entities"] = collections.Counter(re.findall(r"^  0\n(POLYLINE|ARC|CIRCLE|TEXT|POINT)\n", dxf, re.M))
    r["layers"] = len(re.findall(r"^  0\nLAYER\n", dxf, re.M)) - 1
    r["extents"] = extents(dxf)
    not_drawn = NOT_DRAWN.search(log)
    r["not drawn"] = not_drawn.group(1) if not_drawn else ""
    return r


def row(name, c, h):
    ce, he = c.get("entities", {}), h.get("entities", {})
    return (f"| {name} | {c['status']} | {c.get('errors', '')} | {c.get('warnings', '')} | "
            + " | ".join(str(ce.get(t, 0)) for t in CLASSIC_TYPES) + f" | {c.get('syntax', '')} | "
            f"{h['status']} | {h.get('errors', '')} | {h.get('warnings', '')} | "
            + " | ".join(str(he.get(t, 0)) for t in HPGL2_TYPES) + f" | {h.get('layers', '')} | {h.get('extents', '')} |")


def main():
    options = argparse.ArgumentParser()
    options.add_argument("--penwright", default="build/penwright")
    options.add_argument("--corpus", default="../shared/corpus/files")
    options.add_argument("--out", default="docs/corpus.md")
    args = options.parse_args()
    penwright = str(pathlib.Path(args.penwright).resolve())
    plots = sorted(p.resolve() for p in pathlib.Path(args.corpus).iterdir() if p.is_file())
    rows, skipped = [], []
    totals = collections.Counter()
    for plot in plots:
        c, h = classic(penwright, plot), hpgl2(penwright, plot)
        totals["files"] += 1
        totals["clean"] += c["status"] == 0
        totals["syntax"] += "syntax" in c
        totals["clean2"] += h["status"] == 0
        totals["broken"] += not (c["status"] in (0, 1) and c["complete"])
        totals["broken2"] += not (h["status"] in (0, 1) and h["complete"])
        rows.append(row(plot.name, c, h))
        skipped.append(f"| {plot.name} | {h['not drawn']} |")
    summary = (f"- files: {totals['files']}. Classic mode: converted without an error "
               f"{totals['clean']}, stopped by a syntax error {totals['syntax']}. HP-GL/2 mode: read to "
               f"the end {totals['files'] - totals['broken2']}, without an error {totals['clean2']}. "
               f"Crashed, hung or left an incomplete drawing: {totals['broken'] + totals['broken2']}.")
    out = [
        "# Real plots through penwright",
        "",
        f"Generated by `tools/corpus_report.py` from {totals['files']} plots of public repositories "
        "(kept outside this repository; their origins and licences are listed with them), converted "
        "in both modes. Status 0: converted without an error; status 1: errors were counted. In "
        "classic mode the first syntax error ends a conversion, and its column shows where and at "
        "which input text. HP-GL/2 mode (`--hpgl2 --units=mm`) reads every plot to its end; its "
        "extents are the drawing's in millimetres. Every DXF is complete (ENDSEC and EOF) whatever "
        "the status.",
        "",
        summary,
        "",
        "| file | classic: status | errors | warnings | LINE | ARC | CIRCLE | TEXT | first syntax error "
        "(line:column) | HP-GL/2: status | errors | warnings | POLYLINE | ARC | CIRCLE | TEXT | POINT "
        "| layers | extents (mm) |",
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|",
        *rows,
        "",
        "## Read and not drawn in HP-GL/2 mode",
        "",
        "The log's \"Not drawn\" line: fills and line attributes, fonts, the window, output and "
        "vendor commands, and unknown mnemonics, each with its count.",
        "",
        "| file | not drawn |",
        "|---|---|",
        *skipped,
        "",
    ]
    pathlib.Path(args.out).write_text("\n".join(out))
    print(summary)
    return 1 if totals["broken"] + totals["broken2"] else 0


if __name__ == "__main__":
    raise SystemExit(main())
