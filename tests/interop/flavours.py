#!/usr/bin/env python3
"""The AC1015 drawing of a plot is its AC1009 drawing, entity for entity, as ezdxf reads both.

    flavours.py PENWRIGHT FOLDER...

Every plot is converted with --dxf=r12 and --dxf=r2000. In order: each LWPOLYLINE has the
vertices and flags of its POLYLINE; each POINT, ARC, CIRCLE and TEXT is the same; each HATCH
stands for the SOLIDs or LINEs of one fill: a solid one covers what its SOLIDs cover (the same
area, each SOLID inside its loops), a pattern's LINEs lie on its lines (at its angles, a whole
number of spacings from its base point) inside its loops. Layers, colours and line types agree
throughout. Exit status 77 (skipped) when ezdxf is missing or no plot is at hand.
"""
import math
import pathlib
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    print('SKIPPED: ezdxf is not installed')
    sys.exit(77)

EPS = 2e-6  # both documents write six decimals


def close(a, b, eps=EPS):
    return abs(a - b) <= eps * max(1.0, abs(a), abs(b))


def style(e):
    return (e.dxf.layer, e.dxf.get('color', 256), e.dxf.get('linetype', 'BYLAYER').upper())


def loops_of(hatch):
    return [[(v[0], v[1]) for v in path.vertices] for path in hatch.paths]


def inside(loops, x, y):
    """Even-odd, with the border inside."""
    crossings = 0
    for loop in loops:
        for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
            if (ay > y) != (by > y):
                t = (y - ay) / (by - ay)
                if ax + t * (bx - ax) > x:
                    crossings += 1
    return crossings % 2 == 1


def near_border(loops, x, y, eps=1e-5):
    for loop in loops:
        for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0 if length == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length))
            if math.hypot(ax + t * dx - x, ay + t * dy - y) <= eps:
                return True
    return False


def box_of(loops, eps=1e-5):
    xs = [p[0] for loop in loops for p in loop]
    ys = [p[1] for loop in loops for p in loop]
    return (min(xs) - eps, min(ys) - eps, max(xs) + eps, max(ys) + eps) if xs else (0, 0, -1, -1)


def in_region(loops, x, y, box=None):
    box = box or box_of(loops)
    if not (box[0] <= x <= box[2] and box[1] <= y <= box[3]):
        return False
    return inside(loops, x, y) or near_border(loops, x, y)


def area(loop):
    return abs(sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(loop, loop[1:] + loop[:1]))) / 2


def loops_area(loops):
    """Even-odd area by slabs between the rows of the loops' points (they do not cross)."""
    rows = sorted({p[1] for loop in loops for p in loop})
    edges = [(a, b) for loop in loops for a, b in zip(loop, loop[1:] + loop[:1])]
    total = 0.0
    for low, high in zip(rows, rows[1:]):
        y = (low + high) / 2
        xs = sorted(a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
                    for a, b in edges if (a[1] < y) != (b[1] < y))
        total += sum(xs[k + 1] - xs[k] for k in range(0, len(xs) - 1, 2)) * (high - low)
    return total


def solid_corners(s):
    return [(s.dxf.vtx0[0], s.dxf.vtx0[1]), (s.dxf.vtx1[0], s.dxf.vtx1[1]),
            (s.dxf.vtx3[0], s.dxf.vtx3[1]), (s.dxf.vtx2[0], s.dxf.vtx2[1])]


def take_solids(hatches, old, i):
    """The SOLIDs that stand for a run of solid HATCHes of one style: each inside one of them,
    all together of their area."""
    regions = [loops_of(h) for h in hatches]
    boxes = [box_of(r) for r in regions]
    want = sum(loops_area(r) for r in regions)
    got, slack = 0.0, 1e-9
    while i < len(old) and old[i].dxftype() == 'SOLID' and style(old[i]) == style(hatches[0]):
        corners = solid_corners(old[i])
        cx = sum(p[0] for p in corners) / 4
        cy = sum(p[1] for p in corners) / 4
        if not any(in_region(r, cx, cy, b) for r, b in zip(regions, boxes)):
            return i, 'a SOLID outside its HATCH'
        got += area(corners)
        # Corners written to six decimals move a piece's area by up to its perimeter times that.
        slack += 1e-6 * sum(math.dist(p, q) for p, q in zip(corners, corners[1:] + corners[:1]))
        i += 1
    if abs(got - want) > slack:
        return i, 'SOLIDs of area %g for HATCHes of area %g' % (got, want)
    return i, None


def on_pattern(hatch, line):
    """Whether a LINE lies on one of the hatch's lines."""
    for p in hatch.pattern.lines:
        a = math.radians(p.angle)
        ux, uy = math.cos(a), math.sin(a)
        dx, dy = line.dxf.end[0] - line.dxf.start[0], line.dxf.end[1] - line.dxf.start[1]
        if abs(dx * uy - dy * ux) > 1e-5 * math.hypot(dx, dy) + 2e-6:  # ends to six decimals
            continue
        spacing = math.hypot(p.offset[0], p.offset[1])
        offset = (line.dxf.start[0] - p.base_point[0]) * -uy + (line.dxf.start[1] - p.base_point[1]) * ux
        k = offset / spacing  # the six decimals of the spacing add up over many lines
        if abs(k - round(k)) <= 1e-4 + 2e-5 * abs(k):
            return True
    return False


def take_lines(hatches, old, i):
    """The LINEs that stand for a run of pattern HATCHes of one style: each on the pattern of
    one of them, inside its loops."""
    regions = [loops_of(h) for h in hatches]
    boxes = [box_of(r) for r in regions]
    n = 0
    while i < len(old) and old[i].dxftype() == 'LINE' and style(old[i])[:2] == style(hatches[0])[:2]:
        line = old[i]
        mid = ((line.dxf.start[0] + line.dxf.end[0]) / 2, (line.dxf.start[1] + line.dxf.end[1]) / 2)
        if not any(in_region(r, *mid, b) and on_pattern(h, line)
                   for h, r, b in zip(hatches, regions, boxes)):
            return i, 'a LINE off its HATCHes'
        i, n = i + 1, n + 1
    return i, None if n else 'HATCH patterns without LINEs'


def same_polyline(new, old):
    a = [(p[0], p[1]) for p in new.get_points('xy')]
    b = [(v.dxf.location[0], v.dxf.location[1]) for v in old.vertices]
    return (len(a) == len(b) and all(close(p[0], q[0]) and close(p[1], q[1]) for p, q in zip(a, b))
            and new.closed == old.is_closed and style(new) == style(old))


SAME = {
    'POINT': lambda n, o: n.dxf.location.isclose(o.dxf.location, abs_tol=EPS),
    'CIRCLE': lambda n, o: n.dxf.center.isclose(o.dxf.center, abs_tol=EPS) and close(n.dxf.radius, o.dxf.radius),
    'ARC': lambda n, o: (n.dxf.center.isclose(o.dxf.center, abs_tol=EPS) and close(n.dxf.radius, o.dxf.radius)
                         and close(n.dxf.start_angle, o.dxf.start_angle) and close(n.dxf.end_angle, o.dxf.end_angle)),
    'TEXT': lambda n, o: (n.dxf.insert.isclose(o.dxf.insert, abs_tol=EPS) and close(n.dxf.height, o.dxf.height)
                          and close(n.dxf.get('rotation', 0), o.dxf.get('rotation', 0))),
}


def compare(new, old):
    """The first difference between the AC1015 and the AC1009 entities, or None."""
    i = k = 0
    while k < len(new):
        e, t = new[k], new[k].dxftype()
        if t == 'HATCH':  # a run of fills of one kind and style stands for a run of SOLIDs or LINEs
            run = [e]
            while k + len(run) < len(new) and new[k + len(run)].dxftype() == 'HATCH' and \
                    new[k + len(run)].dxf.solid_fill == e.dxf.solid_fill and style(new[k + len(run)]) == style(e):
                run.append(new[k + len(run)])
            i, problem = (take_solids if e.dxf.solid_fill else take_lines)(run, old, i)
            if problem:
                return 'entity %d: %s' % (k, problem)
            k += len(run)
            continue
        if i >= len(old):
            return 'entity %d: %s beyond the AC1009 entities' % (k, t)
        o = old[i]
        ok = same_polyline(e, o) if t == 'LWPOLYLINE' and o.dxftype() == 'POLYLINE' else (
            t == o.dxftype() and SAME[t](e, o) and style(e) == style(o))
        if not ok:
            return 'entity %d: %s against %s' % (k, t, o.dxftype())
        i, k = i + 1, k + 1
    return None if i == len(old) else '%d AC1009 entities left over' % (len(old) - i)


def main(penwright, folders):
    plots = sorted(p for f in folders for p in pathlib.Path(f).glob('*') if p.is_file() and
                   p.suffix.lower() in ('.plt', '.hpgl', '.hpg', '.pcl', '.spl'))
    if not plots:
        print('SKIPPED: no plots')
        return 77
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for plot in plots:
            docs = {}
            for flavour in ('r12', 'r2000'):
                subprocess.run([penwright, '--hpgl2', '--dxf=' + flavour, '-i', str(plot.resolve()),
                                '-o', flavour + '.dxf', '--log=' + flavour + '.log'], cwd=work,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                docs[flavour] = ezdxf.readfile(str(pathlib.Path(work) / (flavour + '.dxf')))
            problem = compare(list(docs['r2000'].modelspace()), list(docs['r12'].modelspace()))
            layers = [(l.dxf.name, l.dxf.color) for l in docs['r12'].layers]
            if [(l.dxf.name, l.dxf.color) for l in docs['r2000'].layers if l.dxf.name != 'Defpoints'] != \
                    [x for x in layers if x[0] != 'Defpoints']:
                problem = problem or 'the layers differ'
            if problem:
                failures += 1
                print('%s: %s' % (plot.name, problem))
    print('%d plots: %d with the flavours apart' % (len(plots), failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2:]))
