"""Groups callgrind_annotate's per-function counts by layer of the program.

Reads the annotate output on standard input; arguments: label, input bytes, drawn entities.
"""
import re
import sys

# First match wins; the names are those of the program's own functions.
LAYERS = [
    ("scanner", r"hpgl_scan|scanner|input_fill|quick_token|match_general|text_copy"),
    ("parser engine", r"hpgl_parse|parse<|\(anonymous namespace\)::reduce|enter_state|look_ahead"),
    ("rule actions", r"run_action"),
    ("HP-GL/2 reader", r"hpgl2_read|reader|read_|begin_command|source_|skip_stray|wrapper"),
    ("numbers", r"put_real|put_int|put_plotter_units|put_digits|put_units|put_scaled|put_mill"),
    ("record writers", r"emit<|dxf_|output_|format_detail|document_|write_|kept_|keep_"),
    ("handlers", r"plot_to|cmd_|pe_|bezier|hpgl2|device|polyline|draw|label|write_run|layout|"
     r"use_pen|numbers_between|direction|plot_points|move_pen|to_page|writable|mark_symbol|"
     r"arc|circle|outline|polygon|wedge|rectangle"),
    ("C library and start-up", r"."),
]


def main():
    label, size, entities = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    totals = {name: 0 for name, _ in LAYERS}
    total = 0
    for line in sys.stdin:
        m = re.match(r"\s*([\d,]+) \([^)]*\)\s+(.*)", line)
        if not m:
            continue
        count, where = int(m.group(1).replace(",", "")), m.group(2)
        if "PROGRAM TOTALS" in where:
            total = count
            continue
        for name, pattern in LAYERS:
            if re.search(pattern, where):
                totals[name] += count
                break
    print(f"{label}: {total:,} instructions, {total / size:.1f} per input byte, "
          f"{total / max(entities, 1):.0f} per drawn entity ({entities:,} entities)")
    for name, _ in LAYERS:
        if totals[name]:
            print(f"    {name:24s} {100.0 * totals[name] / total:5.1f} %")


main()
