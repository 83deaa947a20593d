#!/usr/bin/env python3
"""Runs the sample exporter, then reads each DXF file it wrote with ezdxf:
the audit must find nothing to report or fix, and the file must hold the
entities its .expect listing names, kind by kind, with coordinates within
1e-9. Exits 77 (skipped) when ezdxf is not installed."""

import math
import os
import subprocess
import sys

try:
    import ezdxf
    from ezdxf.math import bulge_to_arc
except ImportError:
    print("ezdxf is not installed: the check is skipped")
    sys.exit(77)

TOLERANCE = 1e-9
ANGLE_KINDS = {"ARC": (6, 7), "TEXT": (6,), "INSERT": (8,)}


class Mismatch(Exception):
    pass


def near(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(a), abs(b))


def near_angle(a, b):
    d = (a - b) % 360.0
    return min(d, 360.0 - d) <= TOLERANCE * 360.0


def plain(text):
    """A TEXT value as drawn: the %% codes the exporter may write, decoded."""
    out, i = [], 0
    while i < len(text):
        if text.startswith("%%%", i):
            out.append("%")
            i += 3
        elif text[i:i + 3].lower() == "%%d":
            out.append("\u00b0")
            i += 3
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def xyz(v):
    return [v[0], v[1], v[2]]


def row_of(e):
    """The row the listing has for an entity read by ezdxf."""
    kind, layer = e.dxftype(), e.dxf.layer
    if kind == "LINE":
        return [kind, layer] + xyz(e.dxf.start) + xyz(e.dxf.end)
    if kind == "CIRCLE":
        return [kind, layer] + xyz(e.dxf.center) + [e.dxf.radius]
    if kind == "ARC":
        return [kind, layer] + xyz(e.dxf.center) + [e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle]
    if kind == "POINT":
        return [kind, layer] + xyz(e.dxf.location)
    if kind in ("TEXT", "ATTDEF"):
        halign = e.dxf.get("halign", 0)
        at = e.dxf.align_point if halign else e.dxf.insert
        if kind == "ATTDEF":
            return [kind, layer, e.dxf.tag, plain(e.dxf.text)] + xyz(at)
        return [kind, layer] + xyz(at) + [e.dxf.height, e.dxf.rotation, str(halign), plain(e.dxf.text)]
    if kind == "POLYLINE":
        points = [(v.dxf.location, v.dxf.get("bulge", 0.0)) for v in e.vertices]
        pairs = list(zip(points, points[1:]))
        if e.is_closed:
            pairs.append((points[-1], points[0]))
        row = [kind, layer]
        for (p0, bulge), (p1, _) in pairs:
            if bulge == 0.0:
                row += ["L", p0[0], p0[1], p1[0], p1[1]]
            else:
                centre, start, end, radius = bulge_to_arc(p0, p1, bulge)
                row += ["A", centre[0], centre[1], radius, math.degrees(start), math.degrees(end)]
        return row
    if kind == "INSERT":
        row = [kind, layer, e.dxf.name] + xyz(e.dxf.insert)
        row += [e.dxf.get("xscale", 1.0), e.dxf.get("yscale", 1.0), e.dxf.get("rotation", 0.0)]
        return row + ["%s=%s" % (a.dxf.tag, plain(a.dxf.text)) for a in e.attribs]
    if kind == "DIMENSION":
        return [kind, layer, e.dxf.geometry, e.dxf.defpoint2[0], e.dxf.defpoint2[1],
                e.dxf.defpoint3[0], e.dxf.defpoint3[1]]
    if kind == "3DFACE":
        row = [kind, layer]
        for name in ("vtx0", "vtx1", "vtx2", "vtx3"):
            row += xyz(e.dxf.get(name))
        return row + [str(e.dxf.get("invisible", 0))]
    raise Mismatch("unexpected entity " + kind)


def compare(where, expected, got):
    if len(expected) != len(got):
        raise Mismatch("%s: %d values expected, %d read: %s / %s" % (where, len(expected), len(got), expected, got))
    angles = ANGLE_KINDS.get(expected[0], ())
    # Arc segments of polylines carry their angles in their last two values.
    arc_angles = set()
    for i, value in enumerate(expected):
        if expected[0] == "POLYLINE" and value == "A":
            arc_angles.update((i + 4, i + 5))
    for i, (e, g) in enumerate(zip(expected, got)):
        if isinstance(g, str):
            if e != g:
                raise Mismatch("%s: value %d is %r, %r expected" % (where, i, g, e))
            continue
        e = float(e)
        ok = near_angle(e, g) if (i in angles or i in arc_angles) else near(e, g)
        if not ok:
            raise Mismatch("%s: value %d is %.17g, %.17g expected" % (where, i, g, e))


def check(dxf_path, expect_path):
    doc = ezdxf.readfile(dxf_path)
    auditor = doc.audit()
    if auditor.errors or auditor.fixes:
        raise Mismatch("audit: %d errors, %d fixes: %s" % (
            len(auditor.errors), len(auditor.fixes),
            "; ".join(m.message for m in list(auditor.errors) + list(auditor.fixes))))
    with open(expect_path, encoding="cp1252") as f:
        lines = [line.rstrip("\n").split("\t") for line in f]
    listed = {}
    current = None
    for row in lines:
        if row[0] == "BLOCK":
            current = listed.setdefault(row[1], [])
        elif row[0] == "END":
            current = None
        elif row[0] == "ENTITIES":
            current = listed.setdefault("*ENTITIES", [])
        else:
            current.append(row)
    spaces = {"*ENTITIES": list(doc.modelspace())}
    for block in doc.blocks:
        if not block.name.upper().startswith(("*MODEL_SPACE", "*PAPER_SPACE")):
            spaces[block.name] = list(block)
    for name in set(listed) | set(spaces):
        expected, got = listed.get(name, []), spaces.get(name, [])
        if sorted(r[0] for r in expected) != sorted(e.dxftype() for e in got):
            raise Mismatch("%s: kinds %s expected, %s read" % (
                name, sorted(r[0] for r in expected), sorted(e.dxftype() for e in got)))
        for k, (row, entity) in enumerate(zip(expected, got)):
            compare("%s entity %d" % (name, k), row, row_of(entity))


def main():
    exporter, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    subprocess.run([exporter, out_dir], check=True)
    failures = 0
    names = sorted(n[:-len(".expect")] for n in os.listdir(out_dir) if n.endswith(".expect"))
    for name in names:
        try:
            check(os.path.join(out_dir, name + ".dxf"), os.path.join(out_dir, name + ".expect"))
            print("%s.dxf: read back whole" % name)
        except Mismatch as e:
            failures += 1
            print("%s.dxf: %s" % (name, e))
    if not names:
        print("no sample files were written")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
