#!/usr/bin/env python3
"""The area a plot fills, worked out from its own commands, against the SOLIDs of its DXF.

    filled_area.py PENWRIGHT PLOT...

For plot-driver output that sends its fills as encoded polygons (IN, PE, PM, FP with the solid
fill type): every FP fills the polygon buffer by the even-odd rule. The area of each fill is
computed here on its own, from the decoded polygon, by slabs between the rows of its vertices
and crossings; the sum must equal the sum of the SOLIDs' areas in the DXF penwright writes.
Exit status 77 (skipped) when no plot is at hand.
"""
import os
import subprocess
import sys
import tempfile


def decode_pe(data, pos, pen_down):
    """Yields (absolute, pen_up, dx, dy) pairs of an 8-bit or 7-bit PE text."""
    seven, fraction, absolute, up, pending = False, 1.0, False, False, None
    value, weight, number_kind = 0, 1, 'coordinate'
    for b in data:
        if b <= 32 or b == 127:
            continue
        if b in b':<>=7':
            value, weight = 0, 1
            if b == ord(':'):
                number_kind = 'pen'
            elif b == ord('>'):
                number_kind = 'fraction'
            elif b == ord('<'):
                up = True
            elif b == ord('='):
                absolute = True
            else:
                seven = True
            continue
        base = 32 if seven else 64
        low = 95 if seven else 191
        if 63 <= b < 63 + base:
            value += (b - 63) * weight
            weight *= base
            continue
        if not low <= b <= low + base - 1:
            continue
        value += (b - low) * weight
        n = -(value - 1) // 2 if value % 2 else value // 2
        value, weight = 0, 1
        if number_kind == 'pen':
            number_kind = 'coordinate'
        elif number_kind == 'fraction':
            fraction, number_kind = 2.0 ** -n, 'coordinate'
        elif pending is None:
            pending = n * fraction
        else:
            yield absolute, up, pending, n * fraction
            pending, absolute, up = None, False, False


def commands(data):
    """(mnemonic, text) for the commands of a plot, PE texts whole."""
    i = 0
    while i < len(data) - 1:
        a, b = data[i:i + 1], data[i + 1:i + 2]
        if a.isalpha() and b.isalpha():
            name = (a + b).upper().decode()
            end = data.find(b';', i + 2) if name == 'PE' else i + 2
            while name != 'PE' and end < len(data) and not data[end:end + 1].isalpha():
                end += 1
            yield name, data[i + 2:end]
            i = end + (1 if name == 'PE' else 0)
        else:
            i += 1


def crossings(rings):
    edges = [(r[k], r[(k + 1) % len(r)]) for r in rings for k in range(len(r))]
    rows = {p[1] for r in rings for p in r}
    for i, (a, b) in enumerate(edges):
        for c, d in edges[i + 1:]:
            den = (b[0] - a[0]) * (d[1] - c[1]) - (b[1] - a[1]) * (d[0] - c[0])
            if den == 0:
                continue
            t = ((c[0] - a[0]) * (d[1] - c[1]) - (c[1] - a[1]) * (d[0] - c[0])) / den
            u = ((c[0] - a[0]) * (b[1] - a[1]) - (c[1] - a[1]) * (b[0] - a[0])) / den
            if 0 < t < 1 and 0 < u < 1:
                rows.add(a[1] + t * (b[1] - a[1]))
    return edges, sorted(rows)


def even_odd_area(rings):
    """Exact for polygons: the inside length is linear between rows of vertices and crossings."""
    edges, rows = crossings([r for r in rings if len(r) > 2])
    area = 0.0
    for low, high in zip(rows, rows[1:]):
        y = (low + high) / 2
        xs = sorted(a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
                    for a, b in edges if (a[1] < y) != (b[1] < y))
        area += sum(xs[k + 1] - xs[k] for k in range(0, len(xs) - 1, 2)) * (high - low)
    return area


def plot_area(data):
    x = y = 0.0
    down, polygon, rings, total = False, False, [], 0.0
    for name, text in commands(data):
        if name in ('IN', 'BP'):
            x = y = 0.0
            down, polygon, rings = False, False, []
        elif name == 'PE':
            for absolute, up, dx, dy in decode_pe(text, 0, down):
                x, y = (dx, dy) if absolute else (x + dx, y + dy)
                down = not up
                if polygon:
                    rings[-1].append((x, y))
        elif name == 'PM':
            mode = text.strip(b';').strip() or b'0'
            if mode == b'0':
                polygon, rings = True, [[(x, y)]]
            elif mode == b'1':
                rings.append([(x, y)])
            else:
                polygon = False
        elif name == 'FP':
            total += even_odd_area(rings)
        elif name in ('PA', 'PD', 'PU', 'PR', 'RA', 'RR', 'WG', 'SC', 'IP', 'RO'):
            if text.strip(b'; \n'):
                raise SystemExit('%s: a plot with %s parameters is not read here' % (name, name))
    return total


def solid_area(dxf):
    lines = dxf.split('\n')
    pairs = [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]
    area, corners, in_solid = 0.0, {}, False
    for code, value in pairs + [('0', 'EOF')]:
        if code == '0':
            if in_solid:
                p = [(corners['1%d' % k], corners['2%d' % k]) for k in (0, 1, 3, 2)]
                area += sum(p[k][0] * p[(k + 1) % 4][1] - p[(k + 1) % 4][0] * p[k][1]
                            for k in range(4)) / 2
            in_solid, corners = value == 'SOLID', {}
        elif in_solid and code in ('10', '20', '11', '21', '12', '22', '13', '23'):
            corners[code] = float(value)
    return area * 1016 * 1016


def main():
    penwright, plots = sys.argv[1], [p for p in sys.argv[2:] if os.path.isfile(p)]
    if not plots:
        print('no plots at hand: skipped')
        return 77
    failed = 0
    for plot in plots:
        expected = plot_area(open(plot, 'rb').read())
        with tempfile.TemporaryDirectory() as work:
            subprocess.run([penwright, '--hpgl2', '-i', plot, '-o', 'out.dxf'], cwd=work,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
            got = solid_area(open(os.path.join(work, 'out.dxf')).read())
        ok = expected > 0 and abs(got - expected) <= 1e-6 * expected + 1
        failed += not ok
        print('%s %s: filled %.1f square plotter units, SOLIDs %.1f' %
              ('ok  ' if ok else 'FAIL', os.path.basename(plot), expected, got))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
