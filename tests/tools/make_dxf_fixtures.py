#!/usr/bin/env python3
"""Writes the DXF import fixtures of tests/data/dxf with ezdxf, each with the
drawing its import must give (<name>.expected), as tab-separated rows:

  COUNTERS  door  double-door  window          tool counters of the header
  LAYER     name  colour  on                   in the drawing's order
  BLOCK     name  layer ... END                a block, its entities and ATTRIB rows
  ENTITIES                                     the drawing's entities follow
  LEFTOUT   label  count                       what the import reports as left out

Colours are 0xBBGGRR in hex; values marked "a:" are angles in degrees. The
rows of the files ezdxf makes are worked out here from what ezdxf reads back,
by the rules the import follows; quirks.dxf is written line by line and its
rows by hand. Run with the python3 that has ezdxf (Debian's python3-ezdxf)."""

import collections
import math
import os
import sys

import ezdxf
from ezdxf.enums import TextEntityAlignment as Align

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "dxf")
PURE = {1: "0000ff", 2: "00ffff", 3: "00ff00", 4: "ffff00", 5: "ff0000", 6: "ff00ff"}
LINE_TYPES = {"CONTINUOUS": 0, "DASHED": 1, "DASHDOT": 2, "CENTER": 3}
TEXT_HEIGHT = 0.38  # a new drawing's text height


def colour(aci):
    return PURE.get(abs(aci), "000000")


def num(v):
    return repr(float(v))


def normal_radians(a):
    a = math.fmod(a, 2 * math.pi)
    if a < 0:
        a += 2 * math.pi
    return 0.0 if a >= 2 * math.pi else a


def arc_from_bulge(p0, p1, b):
    """Centre, start, end and radius as the import makes them: the angles
    first, the radius from the chord and the sweep those angles make."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    half = 2 * math.atan(abs(b))
    middle = math.atan2(dy, dx) + (-math.pi / 2 if b > 0 else math.pi / 2)
    start, end = normal_radians(middle - half), normal_radians(middle + half)
    sweep = math.fmod(end - start, 2 * math.pi)
    if sweep <= 0:
        sweep += 2 * math.pi
    radius = math.hypot(dx, dy) / (2 * math.sin(sweep / 2))
    to_centre = -radius * math.cos(half)
    centre = (0.5 * (p0[0] + p1[0]) + to_centre * math.cos(middle), 0.5 * (p0[1] + p1[1]) + to_centre * math.sin(middle))
    return centre, start, end, radius


def counter(v):
    """A tool counter: one more than the file's value, when it has a usable one."""
    return v + 1 if isinstance(v, int) and 0 <= v < 0xFFFF else 0


def ang(v):
    return "a:" + repr(float(v) % 360.0)


# ---------------------------------------------------------------- the drawings


def add_content(doc, r2000):
    """What both versions hold."""
    doc.header["$USERI3"] = 4
    doc.header["$USERI5"] = 9
    doc.layers.add("Walls A", color=1)
    doc.layers.add("Off layer", color=5).off()
    doc.layers.add("Frozen layer", color=3).freeze()
    doc.layers.add("Name with blanks", color=6)
    doc.layers.add("Referenced", color=4).dxf.flags = 64
    msp = doc.modelspace()

    msp.add_line((0, 0), (10, 0.5))
    msp.add_line((0, 1, 2.5), (10, 1.25, -0.75), dxfattribs={"layer": "Walls A", "linetype": "DASHED"})
    msp.add_line((0, 2), (10, 2), dxfattribs={"layer": "walls a", "color": 2, "linetype": "CENTER"})
    msp.add_line((0, 3), (10, 3), dxfattribs={"layer": "Off layer", "color": 0})
    msp.add_line((0, 4), (10, 4), dxfattribs={"layer": "Frozen layer", "color": 256, "thickness": 2})
    msp.add_line((0, 5), (10, 5), dxfattribs={"layer": "Undeclared", "color": 6})
    msp.add_line((0, 6), (10, 6), dxfattribs={"layer": "Undeclared", "color": 3})
    msp.add_line((0, 7), (10, 7), dxfattribs={"layer": "Name with blanks", "color": 9})
    msp.add_circle((5, 5, 1), 1.5, dxfattribs={"layer": "Walls A"})
    msp.add_arc((7, 5), 2, 300, 45.5)
    msp.add_arc((7, 5), 2, -30, 400.25)
    msp.add_point((1.5, -2.25, 3))

    for k, align in enumerate(Align):
        text = msp.add_text("Align %s %%%%d 20%%%%d \u00f1" % align.name, dxfattribs={"height": 0.5, "rotation": 30})
        if align in (Align.ALIGNED, Align.FIT):
            text.set_placement((20, k), (24, k + 1), align=align)
        else:
            text.set_placement((20, k), align=align)
    msp.add_text("Turned back", dxfattribs={"height": 0.25, "rotation": -45}).set_placement((30, 0))

    msp.add_polyline2d([(0, 0, 0.4142), (1, 0, -0.4142), (2, 0, 1), (3, 0, -1), (4, 0, 1e-9), (5, 0, 3), (6, 0, 0)],
                       format="xyb")
    msp.add_polyline2d([(0, 10), (4, 10), (4, 12), (0, 12)], close=True, dxfattribs={"layer": "Walls A"})
    closed129 = msp.add_polyline2d([(10, 10, 0.5), (14, 10), (14, 12), (10, 12)], format="xyb", close=True)
    closed129.dxf.flags = closed129.dxf.flags | 128
    msp.add_polyline3d([(0, 20, 0), (1, 21, 1), (2, 20, 2)], dxfattribs={"thickness": 0})
    mesh = msp.add_polymesh((2, 2))
    for m in range(2):
        for n in range(2):
            mesh.set_mesh_vertex((m, n), (m, n, m * n))
    msp.add_polyface().append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0)])

    door = doc.blocks.new("Door A", base_point=(5, 2))
    door.add_line((5, 2), (6, 2))
    door.add_circle((5.8, 2.05), 0.03, dxfattribs={"layer": "Walls A"})
    door.add_attdef("WIDTH", (5.2, 2.5), text="0.90", dxfattribs={"height": 0.2, "prompt": "Width"})
    door.add_attdef("MAKER", (5.2, 2.9), text="Acme", dxfattribs={"height": 0.2, "prompt": "Who made it"})
    outer = doc.blocks.new("Outer block")
    outer.add_blockref("Door A", (1, 0), dxfattribs={"xscale": -1})
    outer.add_point((0, 0))
    same = msp.add_blockref("Door A", (30, 0), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30})
    same.add_attrib("WIDTH", "0.90", (31, 1))
    same.add_attrib("MAKER", "Acme", (31, 2))
    own = msp.add_blockref("Door A", (40, 0), dxfattribs={"rotation": -90})
    own.add_attrib("WIDTH", "1.20", (41, 1))
    msp.add_blockref("Outer block", (30, 10, 1), dxfattribs={"layer": "Walls A", "rotation": 450})

    dim = msp.add_linear_dim(base=(3, 2), p1=(0, 0), p2=(6, 0), dxfattribs={"layer": "Walls A"})
    dim.render()

    msp.add_3dface([(0, 0, 0), (1, 0, 0.5), (1, 1, 1), (0, 1, 0.5)], dxfattribs={"invisible": 5})
    msp.add_3dface([(2, 0, 0), (3, 0, 0), (3, 1, 0)])
    msp.add_solid([(0, 30), (1, 30), (0, 31), (1, 31)], dxfattribs={"color": 1})
    msp.add_solid([(2, 30), (3, 30), (2, 31)])

    doc.layout("Layout1").add_line((0, 0), (1, 1))

    if r2000:
        msp.add_lwpolyline([(0, 40), (1, 40), (1, 41)])
        msp.add_mtext("Several\\Plines")
        msp.add_ellipse((0, 50), major_axis=(2, 0), ratio=0.5)
        msp.add_spline([(0, 60), (1, 61), (2, 60), (3, 61)])
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(0, 70), (1, 70), (1, 71)], is_closed=True)


# ---------------------------------------------------------------- the import's rules


class Expected:
    def __init__(self, doc):
        self.doc = doc
        self.layers = collections.OrderedDict()  # upper-case name -> [name, colour, on]
        self.layers["ZP"] = ["ZP", "000000", 1]
        self.leftout = collections.Counter()
        self.defaults = {}  # block name upper -> {tag upper: value}

    def layer_of(self, e):
        """The layer an accepted entity goes on, created on first use."""
        name = e.dxf.get("layer", "0") or "0"
        key = name.upper()
        if key not in self.layers:
            c = e.dxf.get("color", 256)
            self.layers[key] = [name, "000000" if c == 256 else colour(c), 1]
        return self.layers[key][0]

    def pen(self, e):
        layer = self.layer_of(e)
        c = e.dxf.get("color", 256)
        return [layer, self.layers[layer.upper()][1] if c == 256 else colour(c)]

    def style(self, e):
        name = e.dxf.get("linetype", "")
        return str(next((s for t, s in LINE_TYPES.items() if name.startswith(t)), 0))

    def left(self, kind, reason=None):
        self.leftout[kind + (" (%s)" % reason if reason else "")] += 1

    def text_place(self, e, vcode_attr):
        """Justification, point, height and rotation of TEXT and ATTDEF."""
        h = e.dxf.get("height", 0) or TEXT_HEIGHT
        rot = e.dxf.get("rotation", 0.0) % 360.0
        hj = e.dxf.get("halign", 0)
        vj = e.dxf.get(vcode_attr, 0)
        at_start = (hj == 0 and vj == 0) or hj in (3, 5) or not e.dxf.hasattr("align_point")
        p = list(e.dxf.insert if at_start else e.dxf.align_point)
        if not at_start:
            drop = h / 2 if (hj == 4 or vj == 2) else h if vj == 3 else 0.0
            up = math.radians(rot + 90)
            p[0] -= drop * math.cos(up)
            p[1] -= drop * math.sin(up)
        justify = 1 if at_start else 2 if hj == 2 else 3 if hj in (1, 4) else 1
        tenths = round(rot * 10) % 3600
        return justify, p, round(h * 100) / 100, tenths / 10

    def entity(self, e, in_block, paper):
        kind = e.dxftype()
        if paper:
            self.left(kind, "paper space")
            return None
        if kind == "LINE":
            return ["LINE"] + self.pen(e) + [self.style(e)] + [num(v) for v in list(e.dxf.start) + list(e.dxf.end)] + [
                num(e.dxf.get("thickness", 0))]
        if kind == "CIRCLE":
            return ["CIRCLE"] + self.pen(e) + [self.style(e)] + [num(v) for v in e.dxf.center] + [
                num(e.dxf.radius), num(e.dxf.get("thickness", 0))]
        if kind == "ARC":
            return ["ARC"] + self.pen(e) + [self.style(e)] + [num(v) for v in e.dxf.center] + [
                num(e.dxf.radius), ang(e.dxf.start_angle), ang(e.dxf.end_angle), num(e.dxf.get("thickness", 0))]
        if kind == "POINT":
            return ["POINT"] + self.pen(e) + [num(v) for v in e.dxf.location]
        if kind == "TEXT":
            justify, p, h, rot = self.text_place(e, "valign")
            return ["TEXT"] + self.pen(e) + [str(justify)] + [num(v) for v in p] + [num(h), ang(rot),
                                                                                     decode(e.dxf.text)]
        if kind == "POLYLINE":
            return self.polyline(e)
        if kind == "INSERT":
            return self.insert(e)
        if kind == "DIMENSION":
            parts = 1 + self.dimension_parts(self.doc.blocks.get(e.dxf.geometry))
            p1, p2 = e.dxf.defpoint2, e.dxf.defpoint3
            return ["DIMENSION"] + self.pen(e) + [str(parts), num(p1[0]), num(p1[1]), num(p2[0]), num(p2[1])]
        if kind == "3DFACE":
            corners = [e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.get("vtx3", e.dxf.vtx2)]
            return ["3DFACE"] + self.pen(e) + [num(v) for c in corners for v in c] + [str(e.dxf.get("invisible", 0))]
        if kind == "SOLID":
            pen = self.pen(e)
            return [["LINE"] + pen + [self.style(e)] + [num(v) for v in list(a) + list(b)]
                    + [num(e.dxf.get("thickness", 0))] for a, b in solid_sides(e)]
        self.left(kind)
        return None

    def dimension_parts(self, block):
        """The parts a dimension copies of its block: lines, texts, the sides of solids and the
        segments of polylines without arcs; the other kinds read are left out."""
        parts = 0
        for x in block:
            kind = x.dxftype()
            if kind in ("LINE", "TEXT"):
                parts += 1
            elif kind == "SOLID":
                parts += len(solid_sides(x))
            elif kind == "POLYLINE" and (x.is_polygon_mesh or x.is_poly_face_mesh):
                continue  # left out with the block
            elif kind == "POLYLINE" and (x.is_3d_polyline or all(
                    v.dxf.get("bulge", 0.0) == 0.0 for v in x.vertices if not (v.dxf.get("flags", 0) & 16))):
                points = [v.dxf.location for v in x.vertices if not (v.dxf.get("flags", 0) & 16)]
                parts += max(len(points) - 1, 0)
                if x.is_closed and len(points) >= 2 and tuple(points[-1]) != tuple(points[0]):
                    parts += 1
            elif kind in ("CIRCLE", "ARC", "POINT", "POLYLINE", "INSERT", "DIMENSION", "3DFACE"):
                self.left(kind, "part of a dimension")
        return parts

    def polyline(self, e):
        if e.is_polygon_mesh:
            self.left("POLYLINE", "3D mesh")
            return None
        if e.is_poly_face_mesh:
            self.left("POLYLINE", "polyface mesh")
            return None
        vertices = [v for v in e.vertices if not (v.dxf.get("flags", 0) & 16)]
        is3d = e.is_3d_polyline
        base = getattr(e, "_base", (0, 0, 0))
        points = [(tuple(v.dxf.location[i] - base[i] for i in range(3)), 0.0 if is3d else v.dxf.get("bulge", 0.0))
                  for v in vertices]
        pairs = list(zip(points, points[1:]))
        if e.is_closed and len(points) >= 2 and points[-1][0] != points[0][0]:
            pairs.append((points[-1], points[0]))
        thickness = e.dxf.get("thickness", 0)
        row = ["POLYLINE"] + self.pen(e) + [self.style(e), num(thickness)]
        for (p0, bulge), (p1, _) in pairs:
            if bulge == 0.0 or (p0[0] == p1[0] and p0[1] == p1[1]):
                row += ["L"] + [num(v) for v in p0 + p1]
            else:
                centre, start, end, radius = arc_from_bulge(p0, p1, bulge)
                row += ["A", num(centre[0]), num(centre[1]), num(p0[2]), num(radius), ang(math.degrees(start)),
                        ang(math.degrees(end)), "1" if bulge > 0 else "0"]
        return row

    def insert(self, e):
        defaults = self.defaults.get(e.dxf.name.upper(), {})
        for a in e.attribs:
            if defaults.get(a.dxf.tag.upper()) != decode(a.dxf.text):
                self.left("ATTRIB", "value of its own")
        return ["INSERT"] + self.pen(e) + [e.dxf.name] + [num(v) for v in e.dxf.insert] + [
            num(e.dxf.get("xscale", 1)), num(e.dxf.get("yscale", 1)), ang(e.dxf.get("rotation", 0))]

    def attdef(self, e, base):
        justify, p, h, rot = self.text_place(e, "valign")
        self.layer_of(e)
        self.defaults.setdefault(self.block_name, {})[e.dxf.tag.upper()] = decode(e.dxf.text)
        return ["ATTRIB", e.dxf.tag, e.dxf.get("prompt", ""), decode(e.dxf.text)] + [
            num(p[i] - base[i]) for i in range(3)] + [num(h)]

    def rows(self):
        """What importing the file into a new drawing gives, read in the file's order."""
        for table_layer in self.doc.layers:
            name, c = table_layer.dxf.name, table_layer.dxf.get("color", 7)
            on = 0 if c < 0 or (table_layer.dxf.get("flags", 0) & 1) else 1
            self.layers.setdefault(name.upper(), [name, colour(c), on])
        blocks = []
        inserted = {i.dxf.name.upper() for i in self.doc.entitydb.values() if i.dxftype() == "INSERT"}
        for block in self.doc.blocks:
            name = block.name
            upper = name.upper()
            if upper[0] in "*$" and upper[1:].startswith(("MODEL_SPACE", "PAPER_SPACE")):
                continue
            self.block_name = upper
            base = block.block.dxf.base_point
            layer = block.block.dxf.get("layer", "0")
            self.layers.setdefault(layer.upper(), [layer, "000000", 1])
            rows, attribs = [], []
            for e in block:
                if e.dxftype() == "ATTDEF":
                    attribs.append(self.attdef(e, base))
                else:
                    rows += self.rows_of(self.entity(shifted(e, base), True, False))
            if not (upper.startswith("*D") and upper not in inserted):
                blocks.append((name, layer, rows + attribs))
        entities = []
        for e in self.doc.modelspace():
            entities += self.rows_of(self.entity(e, False, False))
        for layout in self.doc.layouts:
            if not layout.is_modelspace:
                for e in layout:
                    self.entity(e, False, True)
        out = [["COUNTERS"] + [str(counter(self.doc.header.get(v))) for v in ("$USERI3", "$USERI4", "$USERI5")]]
        out += [["LAYER"] + [str(v) for v in layer] for layer in self.layers.values()]
        for name, layer, rows in blocks:
            out += [["BLOCK", name, layer]] + rows + [["END"]]
        out += [["ENTITIES"]] + entities
        out += [["LEFTOUT", label, str(self.leftout[label])] for label in sorted(self.leftout)]
        return out

    @staticmethod
    def rows_of(row):
        return row if row and isinstance(row[0], list) else [row] if row else []


class shifted:
    """An entity of a block seen with the block's base point at the origin."""

    def __init__(self, e, base):
        self._e, self._base = e, base
        self.dxf = Shifted(e.dxf, base)

    def __getattr__(self, name):
        return getattr(self._e, name)


class Shifted:
    POINTS = {"start", "end", "center", "location", "insert", "align_point", "vtx0", "vtx1", "vtx2", "vtx3",
              "defpoint2", "defpoint3"}

    def __init__(self, dxf, base):
        self._dxf, self._base = dxf, base

    def _shift(self, name, v):
        if name in self.POINTS and v is not None:
            return tuple(v[i] - self._base[i] for i in range(3))
        return v

    def get(self, name, default=None):
        return self._shift(name, self._dxf.get(name, default))

    def hasattr(self, name):
        return self._dxf.hasattr(name)

    def __getattr__(self, name):
        return self._shift(name, getattr(self._dxf, name))


def solid_sides(e):
    """The outline lines of a SOLID: 1-2, 1-3, 2-4 and 4-3, those of length 0 left out."""
    c = [tuple(e.dxf.vtx0), tuple(e.dxf.vtx1), tuple(e.dxf.vtx2), tuple(e.dxf.get("vtx3", e.dxf.vtx2))]
    return [(c[a], c[b]) for a, b in ((0, 1), (0, 2), (1, 3), (3, 2)) if c[a] != c[b]]


def decode(text):
    """A text as the import keeps it: %% codes resolved."""
    out, i = [], 0
    while i < len(text):
        code = text[i + 2:i + 3].lower() if text.startswith("%%", i) else ""
        if code in ("d", "p", "c", "%"):
            out.append({"d": "\u00b0", "p": "\u00b1", "c": "\u00d8", "%": "%"}[code])
            i += 3
        elif code in ("u", "o", "k"):
            i += 3
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def write_rows(path, rows):
    with open(path, "w", encoding="cp1252", newline="\n") as f:
        for row in rows:
            f.write("\t".join(row) + "\n")


def made_with_ezdxf(name, version):
    doc = ezdxf.new(version)
    add_content(doc, version != "R12")
    path = os.path.join(OUT, name + ".dxf")
    doc.saveas(path)
    write_rows(os.path.join(OUT, name + ".expected"), Expected(ezdxf.readfile(path)).rows())


# ---------------------------------------------------------------- written by hand

# CR LF line ends, right-aligned codes, a comment, the entities before the
# blocks they insert, blocks that insert themselves, groups after ENDBLK,
# names that begin with other names, a long text, damaged and unknown entities.
QUIRKS = [
    "999", "made by hand",
    "  0", "SECTION", "  2", "HEADER",
    "  9", "$ACADVER", "  1", "AC1009",
    "  9", "$USERI3", " 70", "     5",
    "  9", "$USERI4", " 70", "70000",
    "  0", "ENDSEC",
    "  0", "SECTION  ", "  2", "TABLES",
    "  0", "TABLE", "  2", "LTYPE", " 70", "1",
    "  0", "LTYPE", "  2", "LAYER", " 70", "0",
    "  0", "ENDTAB",
    "  0", "TABLE", "  2", "LAYER", " 70", "4",
    "  0", "LAYER", "  2", "LINEAR", " 70", "0", " 62", "-3", "  6", "CONTINUOUS",
    "  0", "LAYER", "  2", "Kept on", " 70", "64", " 62", "1",
    "  0", "LAYER", "  2", "Frozen", " 70", "65", " 62", "2",
    "  0", "LAYER", "  2", "No colour", " 70", "0",
    "  0", "ENDTAB",
    "  0", "ENDSEC",
    "  0", "SECTION", "  2", "ENTITIES",
    "  0", "INSERT", "  8", "LINEAR", "  2", "Later", " 10", "1", " 20", "2", " 30", "0",
    "  0", "LINE  ", "  8", "Kept on", " 10", "0", " 20", "0", " 30", "0", " 11", "+1.5", " 21", "2E0", " 31", "0",
    "  0", "TEXT", "  8", "LINEAR", "  7", "TEXT", " 10", "0", " 20", "0", " 40", "0.5",
    "  1", "A text of more than eighty-nine characters, which an old reader would have split into pieces.",
    "  0", "TEXT", "  8", "LINEAR", " 10", "9", " 20", "9", " 40", "1", " 72", "1", " 11", "4", " 21", "3", "  1", "Mid",
    "  0", "LINEX", "  8", "LINEAR", " 10", "0", " 20", "0",
    "  0", "LINE", "  8", "LINEAR", " 10", "0", " 20", "0",
    "  0", "CIRCLE", "  8", "LINEAR", " 10", "0", " 20", "0",
    "  0", "CIRCLE", "  8", "LINEAR", " 10", "0", " 20", "0", " 40", "nan",
    "  0", "LINE", "  8", "LINEAR", " 10", "1e20", " 20", "0", " 11", "1", " 21", "1",
    "  0", "ARC", "  8", "Frozen", " 10", "2", " 20", "1", " 40", "1", " 50", "10", " 51", "100",
    "210", "0", "220", "0", "230", "-1",
    "  0", "CIRCLE", "  8", "Frozen", " 10", "2", " 20", "1", " 40", "1", "210", "1", "220", "0", "230", "0",
    "  0", "MTEXT", "  8", "LINEAR", "  1", "LINE",
    "  0", "LWPOLYLINE", " 90", "2", " 10", "0", " 20", "0", " 10", "1", " 20", "1",
    "  0", "INSERT", "  8", "Kept on", "  2", "Self", " 10", "0", " 20", "0",
    "  0", "ENDSEC",
    "  0", "SECTION", "  2", "BLOCKS",
    "  0", "BLOCK", "  8", "0", "  2", "Later", " 70", "0", " 10", "1", " 20", "1", " 30", "0", "  3", "Later",
    "  0", "LINE", "  8", "Kept on", " 10", "1", " 20", "1", " 11", "2", " 21", "1",
    "  0", "ENDBLK", "  8", "0", "  5", "1F", "100", "AcDbBlockEnd", "  2", "NOT A NAME",
    "  0", "BLOCK", "  2", "Self", "  8", "Kept on", " 10", "0", " 20", "0",
    "  0", "INSERT", "  2", "SELF", " 10", "1", " 20", "0", "  8", "Kept on",
    "  0", "INSERT", "  2", "Other", " 10", "0", " 20", "1", "  8", "Kept on",
    "  0", "ENDBLK",
    "  0", "BLOCK", "  2", "Other", "  8", "Kept on", " 10", "0", " 20", "0",
    "  0", "INSERT", "  2", "Self", " 10", "2", " 20", "0", "  8", "Kept on",
    "  0", "ENDBLK",
    "  0", "BLOCK", "  2", "self", "  8", "Kept on", " 10", "0", " 20", "0",
    "  0", "LINE", " 10", "0", " 20", "0", " 11", "1", " 21", "1",
    "  0", "ENDBLK",
    "  0", "ENDSEC",
    "  0", "EOF",
]

QUIRKS_EXPECTED = """\
COUNTERS\t6\t0\t0
LAYER\tZP\t000000\t1
LAYER\tLINEAR\t00ff00\t0
LAYER\tKept on\t0000ff\t1
LAYER\tFrozen\t00ffff\t0
LAYER\tNo colour\t000000\t1
LAYER\t0\t000000\t1
BLOCK\tLater\t0
LINE\tKept on\t0000ff\t0\t0.0\t0.0\t0.0\t1.0\t0.0\t0.0\t0.0
END
BLOCK\tSelf\tKept on
INSERT\tKept on\t0000ff\tSelf\t1.0\t0.0\t0.0\t1.0\t1.0\ta:0.0
INSERT\tKept on\t0000ff\tOther\t0.0\t1.0\t0.0\t1.0\t1.0\ta:0.0
END
BLOCK\tOther\tKept on
INSERT\tKept on\t0000ff\tSelf\t2.0\t0.0\t0.0\t1.0\t1.0\ta:0.0
END
ENTITIES
INSERT\tLINEAR\t00ff00\tLater\t1.0\t2.0\t0.0\t1.0\t1.0\ta:0.0
LINE\tKept on\t0000ff\t0\t0.0\t0.0\t0.0\t1.5\t2.0\t0.0\t0.0
TEXT\tLINEAR\t00ff00\t1\t0.0\t0.0\t0.0\t0.5\ta:0.0\tA text of more than eighty-nine characters, which an old reader would have split into pieces.
TEXT\tLINEAR\t00ff00\t3\t4.0\t3.0\t0.0\t1.0\ta:0.0\tMid
ARC\tFrozen\t00ffff\t0\t-2.0\t1.0\t0.0\t1.0\ta:80.0\ta:170.0\t0.0
INSERT\tKept on\t0000ff\tSelf\t0.0\t0.0\t0.0\t1.0\t1.0\ta:0.0
LEFTOUT\tBLOCK (defined twice)\t1
LEFTOUT\tCIRCLE (incomplete)\t1
LEFTOUT\tCIRCLE (invalid value)\t1
LEFTOUT\tCIRCLE (not in the plan)\t1
LEFTOUT\tLINE (incomplete)\t1
LEFTOUT\tLINE (invalid value)\t1
LEFTOUT\tLINEX\t1
LEFTOUT\tLWPOLYLINE\t1
LEFTOUT\tMTEXT\t1
"""


def main():
    os.makedirs(OUT, exist_ok=True)
    made_with_ezdxf("r12", "R12")
    made_with_ezdxf("r2000", "R2000")
    with open(os.path.join(OUT, "quirks.dxf"), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("\n".join(QUIRKS) + "\n")
    with open(os.path.join(OUT, "quirks.expected"), "w", encoding="cp1252", newline="\n") as f:
        f.write(QUIRKS_EXPECTED)
    return 0


if __name__ == "__main__":
    sys.exit(main())
