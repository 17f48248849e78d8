#!/usr/bin/env python3
"""Writes the sample figure of examples/figure/: one .mqo model per body part,
the head's texture figure_skin.png, and the project figure.anm that puts the
parts together and holds two motions, "walk" and "wave".

Run by a developer after changing the figure (python3 tools/make_figure.py);
the build does not run it, the generated files are committed.

Conventions of the .mqo files written here: the modeller's right-handed space
with +Y up; the figure looks towards +Z, so once a reader negates Z it faces
-Z, the camera of the editor's "Front" view. Polygons run clockwise seen from
outside. The figure's left is +X. Every part is modelled around its own joint
at the origin (an upper arm hangs from the shoulder along -Y), because the
project places each part by its position relative to its parent.
"""

import math
import os
import struct
import sys
import zlib

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "figure")
TEXTURE_NAME = "figure_skin.png"
TEXTURE_SIZE = 64
FACET = 50  # octagon sides meet at 45 degrees (smoothed), caps at 90 (kept sharp)
# The parts below are drawn in units of about a centimetre (the figure is 170
# tall); the files carry them this many times larger: 680 units are 136 pixels
# at the editor's default scale of 5 units per pixel, a good part of a view,
# over many cells of the default grid of 50, and the figure still fits the
# perspective view at its default distance.
FIGURE_SCALE = 4.0

# Colours of the materials (r, g, b).
SKIN = (0.93, 0.76, 0.62)
SHIRT = (0.25, 0.45, 0.78)
TROUSERS = (0.22, 0.24, 0.32)
SHOES = (0.36, 0.22, 0.12)

# Texture regions (pixel rectangles x0, y0, x1, y1, end exclusive).
REGION_SKIN = (0, 0, 32, 64)
REGION_FACE = (32, 0, 64, 32)
REGION_HAIR = (32, 32, 64, 64)


class Ring:
    """One cross-section of a loft: a chamfered rectangle (an octagon) with
    half-extents a (along the loft's first side axis) and b (second side
    axis), centred on the loft axis at distance t from the joint."""

    def __init__(self, t, a, b, offset_b=0.0):
        self.t = t
        self.a = a
        self.b = b
        self.offset_b = offset_b

    def corners(self):
        c = 0.35 * min(self.a, self.b)
        a, b = self.a, self.b
        # Counter-clockwise around the axis, starting on the +a side.
        return [(a, -(b - c)), (a, b - c), (a - c, b), (-(a - c), b),
                (-a, b - c), (-a, -(b - c)), (-(a - c), -b), (a - c, -b)]


class Mesh:
    def __init__(self):
        self.vertices = []
        self.faces = []  # (corner indices, material, uvs or None), outward counter-clockwise (right-handed)

    def add_vertex(self, p):
        self.vertices.append(tuple(float(x) for x in p))
        return len(self.vertices) - 1

    def add_face(self, corners, material, outward, uvs=None):
        """Adds a polygon, turning it so that its right-handed normal points along outward."""
        if dot(newell_normal([self.vertices[i] for i in corners]), outward) < 0:
            corners = list(reversed(corners))
            uvs = list(reversed(uvs)) if uvs else None
        self.faces.append((list(corners), material, uvs))


def sub(p, q):
    return (p[0] - q[0], p[1] - q[1], p[2] - q[2])


def dot(p, q):
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]


def newell_normal(points):
    n = [0.0, 0.0, 0.0]
    for i, p in enumerate(points):
        q = points[(i + 1) % len(points)]
        n[0] += (p[1] - q[1]) * (p[2] + q[2])
        n[1] += (p[2] - q[2]) * (p[0] + q[0])
        n[2] += (p[0] - q[0]) * (p[1] + q[1])
    return tuple(n)


def centre_of(points):
    k = float(len(points))
    return (sum(p[0] for p in points) / k, sum(p[1] for p in points) / k, sum(p[2] for p in points) / k)


def loft(mesh, rings, axis, side_a, side_b, origin=(0.0, 0.0, 0.0), materials=None, uv_of=None):
    """Builds a closed octagonal prism through rings along axis.

    materials: material of each band between ring k and k + 1 (and the caps
    take the material of their band); uv_of(kind, band, side, corner
    positions) returns the UVs of a face or None."""
    def point(ring, corner):
        a, b = corner
        b += ring.offset_b
        return tuple(origin[i] + axis[i] * ring.t + side_a[i] * a + side_b[i] * b for i in range(3))

    index_rows = []
    for ring in rings:
        index_rows.append([mesh.add_vertex(point(ring, c)) for c in ring.corners()])
    materials = materials or [0] * (len(rings) - 1)

    for k in range(len(rings) - 1):
        axis_centre = centre_of([mesh.vertices[i] for i in index_rows[k] + index_rows[k + 1]])
        for j in range(8):
            jn = (j + 1) % 8
            corners = [index_rows[k][j], index_rows[k][jn], index_rows[k + 1][jn], index_rows[k + 1][j]]
            positions = [mesh.vertices[i] for i in corners]
            outward = sub(centre_of(positions), axis_centre)
            uvs = uv_of("side", k, j, positions) if uv_of else None
            mesh.add_face(corners, materials[k], outward, uvs)

    # Each cap is an octagon cut into three convex quads.
    for row, sign, band in ((index_rows[0], -1.0, 0), (index_rows[-1], 1.0, len(rings) - 2)):
        outward = tuple(axis[i] * sign for i in range(3))
        for quad in ((0, 1, 2, 3), (0, 3, 4, 7), (4, 5, 6, 7)):
            corners = [row[q] for q in quad]
            positions = [mesh.vertices[i] for i in corners]
            uvs = uv_of("cap", band, sign, positions) if uv_of else None
            mesh.add_face(corners, materials[band], outward, uvs)


DOWN = (0.0, -1.0, 0.0)
UP = (0.0, 1.0, 0.0)
X = (1.0, 0.0, 0.0)
Z = (0.0, 0.0, 1.0)


def limb(rings, material):
    mesh = Mesh()
    loft(mesh, [Ring(*r) for r in rings], DOWN, X, Z, materials=[0] * (len(rings) - 1))
    return mesh, [material]


def region_uv(region, fx, fy):
    x0, y0, x1, y1 = region
    return ((x0 + (x1 - x0) * fx) / TEXTURE_SIZE, (y0 + (y1 - y0) * fy) / TEXTURE_SIZE)


def head():
    rings = [Ring(-1, 4.5, 4.5), Ring(5, 4.8, 4.8), Ring(7, 8.0, 9.0, 0.5), Ring(13, 9.5, 10.5, 0.5),
             Ring(20, 9.5, 10.5, 0.5), Ring(25, 7.0, 8.0, 0.3), Ring(27, 3.0, 3.5)]
    face_bottom, face_top = rings[2].t, rings[4].t

    def uv_of(kind, band, side, positions):
        # Side 2 of the octagon faces +Z: the face. The hair covers the crown
        # and the back of the upper head; everything else is plain skin.
        if kind == "cap":
            region = REGION_HAIR if side > 0 else REGION_SKIN
            return [region_uv(region, 0.5, 0.5)] * len(positions)
        if side == 2 and band in (2, 3):
            uvs = []
            for p in positions:
                ring = min(rings, key=lambda r: abs(r.t - p[1]))
                half = ring.a - 0.35 * min(ring.a, ring.b)
                fx = 0.5 + 0.5 * p[0] / half
                fy = (face_top - p[1]) / (face_top - face_bottom)
                uvs.append(region_uv(REGION_FACE, fx, fy))
            return uvs
        if band >= 4 or (band == 3 and side in (5, 6, 7)):
            return [region_uv(REGION_HAIR, 0.5, 0.5)] * len(positions)
        return [region_uv(REGION_SKIN, 0.5, 0.5)] * len(positions)

    mesh = Mesh()
    loft(mesh, rings, UP, X, Z, uv_of=uv_of)
    return mesh, [("skin", (1.0, 1.0, 1.0), TEXTURE_NAME)]


def torso():
    rings = [Ring(-12, 14, 8.5), Ring(-2, 16, 10), Ring(10, 13.5, 9), Ring(28, 17, 10.5),
             Ring(42, 18.5, 10.5), Ring(48, 13, 8), Ring(51, 5, 5)]
    mesh = Mesh()
    # The band below the waist is the trousers' waistband and seat.
    loft(mesh, rings, UP, X, Z, materials=[1, 1, 0, 0, 0, 0])
    return mesh, [("shirt", SHIRT, None), ("trousers", TROUSERS, None)]


def hand():
    # Flat, palm towards the body (thin along X); the thumb sits forward on the
    # body's side, which makes the left and right hands true mirror images.
    mesh = Mesh()
    loft(mesh, [Ring(*r) for r in ((0, 1.6, 2.8), (4, 2.0, 4.0), (12, 1.8, 3.6), (16, 1.2, 2.4))], DOWN, X, Z)
    loft(mesh, [Ring(0, 0.9, 1.0), Ring(7, 0.7, 0.8)], DOWN, X, Z, origin=(-1.6, -3.0, 3.2))
    return mesh, [("skin", SKIN, None)]


def foot():
    # The ankle is the joint; the foot reaches forward along +Z to the toes
    # and down to a flat sole 7 units below.
    mesh = Mesh()
    rings = [Ring(t, a, b, b - 3.5) for (t, a, b) in ((-4, 4.0, 3.5), (1, 4.3, 3.5), (9, 4.6, 3.0), (14, 4.0, 1.8))]
    loft(mesh, rings, Z, X, UP, origin=(0.0, -3.5, 0.0))
    return mesh, [("shoes", SHOES, None)]


LEFT_PARTS = {
    "upper_arm": lambda: limb([(-3, 5.5, 5.5), (3, 5.2, 5.5), (28, 4.0, 4.2), (31, 3.6, 3.8)], ("shirt", SHIRT, None)),
    "lower_arm": lambda: limb([(-1, 3.8, 4.0), (8, 4.0, 4.2), (25, 2.8, 3.0), (27, 2.6, 2.8)], ("skin", SKIN, None)),
    "hand": hand,
    "upper_leg": lambda: limb([(-2, 7.0, 7.5), (4, 7.5, 8.0), (40, 5.0, 5.5), (43, 4.5, 5.0)], ("trousers", TROUSERS, None)),
    "lower_leg": lambda: limb([(-1, 4.8, 5.2), (12, 5.0, 5.5), (37, 3.2, 3.5), (40, 3.0, 3.2)], ("trousers", TROUSERS, None)),
    "foot": foot,
}


def mirrored(mesh):
    """The mirror image across x = 0, still facing outward."""
    out = Mesh()
    out.vertices = [(-x, y, z) for (x, y, z) in mesh.vertices]
    out.faces = [(list(reversed(c)), m, list(reversed(uv)) if uv else None) for (c, m, uv) in mesh.faces]
    return out


def number(v):
    text = "%.4f" % v
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def mqo_text(object_name, mesh, materials):
    lines = ["Metasequoia Document", "Format Text Ver 1.1", ""]
    lines.append("Material %d {" % len(materials))
    for name, colour, texture in materials:
        line = '\t"%s" shader(3) col(%.3f %.3f %.3f 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.150) power(8.00)' % (
            name, colour[0], colour[1], colour[2])
        if texture:
            line += ' tex("%s")' % texture
        lines.append(line)
    lines.append("}")
    lines.append('Object "%s" {' % object_name)
    lines += ["\tdepth 0", "\tfolding 0", "\tscale 1 1 1", "\trotation 0 0 0", "\ttranslation 0 0 0",
              "\tvisible 15", "\tlocking 0", "\tshading 1", "\tfacet %d" % FACET,
              "\tcolor 0.898 0.498 0.698", "\tcolor_type 0"]
    lines.append("\tvertex %d {" % len(mesh.vertices))
    for v in mesh.vertices:
        lines.append("\t\t%s %s %s" % tuple(number(c * FIGURE_SCALE) for c in v))
    lines.append("\t}")
    lines.append("\tface %d {" % len(mesh.faces))
    for corners, material, uvs in mesh.faces:
        # Stored counter-clockwise in right-handed terms; the file wants clockwise.
        corners = list(reversed(corners))
        line = "\t\t%d V(%s) M(%d)" % (len(corners), " ".join(str(i) for i in corners), material)
        if uvs:
            uvs = list(reversed(uvs))
            line += " UV(%s)" % " ".join("%s %s" % (number(u), number(v)) for u, v in uvs)
        lines.append(line)
    lines.append("\t}")
    lines.append("}")
    lines.append("Eof")
    return "\r\n".join(lines) + "\r\n"


def check_outward(name, mesh):
    """Signed volume test: faces wound for the file must enclose a negative
    right-handed volume (clockwise seen from outside)."""
    volume = 0.0
    for corners, _, _ in mesh.faces:
        corners = list(reversed(corners))
        p0 = mesh.vertices[corners[0]]
        for i in range(1, len(corners) - 1):
            p1, p2 = mesh.vertices[corners[i]], mesh.vertices[corners[i + 1]]
            volume += dot(p0, (p1[1] * p2[2] - p1[2] * p2[1], p1[2] * p2[0] - p1[0] * p2[2], p1[0] * p2[1] - p1[1] * p2[0]))
    if volume >= 0:
        sys.exit("%s: faces are wound inward" % name)


def png_bytes(width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


def texture_pixel(x, y):
    skin = (238, 194, 158)
    if x < 32:
        return skin
    if y >= 32:
        return (70, 45, 28) if (x + y) % 5 else (58, 36, 22)
    fx, fy = x - 32, y
    if fy in (7, 8) and (7 <= fx <= 12 or 19 <= fx <= 24):
        return (90, 60, 40)  # brows
    if 10 <= fy <= 13 and (8 <= fx <= 11 or 20 <= fx <= 23):
        return (255, 255, 255) if fx in (8, 23) else (40, 50, 80)  # eyes
    if 15 <= fy <= 19 and fx in (15, 16):
        return (215, 165, 130)  # nose shadow
    if 23 <= fy <= 24 and 11 <= fx <= 20:
        return (180, 70, 70)  # mouth
    return skin


# The project: parts in file order (a parent before its children), each with
# its parent, its left/right partner and its joint's position in the parent's
# frame. Positions are in the editor's space, where the model's Z is negated;
# every joint lies on z = 0, so they read the same in both.
PROJECT_PARTS = [
    ("torso", -1, None, (0, 94, 0)),
    ("head", "torso", None, (0, 50, 0)),
    ("upper_arm_l", "torso", "upper_arm_r", (20, 43, 0)),
    ("lower_arm_l", "upper_arm_l", "lower_arm_r", (0, -30, 0)),
    ("hand_l", "lower_arm_l", "hand_r", (0, -26, 0)),
    ("upper_arm_r", "torso", "upper_arm_l", (-20, 43, 0)),
    ("lower_arm_r", "upper_arm_r", "lower_arm_l", (0, -30, 0)),
    ("hand_r", "lower_arm_r", "hand_l", (0, -26, 0)),
    ("upper_leg_l", "torso", "upper_leg_r", (8.5, -5, 0)),
    ("lower_leg_l", "upper_leg_l", "lower_leg_r", (0, -42, 0)),
    ("foot_l", "lower_leg_l", "foot_r", (0, -40, 0)),
    ("upper_leg_r", "torso", "upper_leg_l", (-8.5, -5, 0)),
    ("lower_leg_r", "upper_leg_r", "lower_leg_l", (0, -42, 0)),
    ("foot_r", "lower_leg_r", "foot_l", (0, -40, 0)),
]


def rotation(axis, degrees):
    """Rotation matrix (3 x 3, row-vector convention, left-handed) as the
    editor's math builds it. A positive angle about X swings a limb that hangs
    down towards the front (-Z); about Z it swings it towards +X."""
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    if axis == "x":
        return [[1, 0, 0], [0, c, s], [0, -s, c]]
    if axis == "y":
        return [[c, 0, -s], [0, 1, 0], [s, 0, c]]
    return [[c, s, 0], [-s, c, 0], [0, 0, 1]]


def walk_pose(part, frame):
    """(axis, degrees, position offset) of a part in the walk cycle of 40 frames."""
    phase = 2 * math.pi * frame / 40.0
    side = 1 if part.endswith("_l") else -1
    swing = math.cos(phase) * side  # +1: the left leg is forward
    lift = max(0.0, -math.sin(phase) * side)  # the leg swinging forward bends its knee
    if part == "torso":
        # Lowest with the legs apart, highest as they pass each other.
        return "y", 4 * math.cos(phase), (0, -5 * abs(math.cos(phase)), 0)
    if part == "head":
        return "y", -3 * math.cos(phase), (0, 0, 0)
    if part.startswith("upper_leg"):
        return "x", 24 * swing, (0, 0, 0)
    if part.startswith("lower_leg"):
        return "x", -8 - 32 * lift, (0, 0, 0)
    if part.startswith("foot"):
        return "x", -0.5 * (24 * swing - 8 - 32 * lift), (0, 0, 0)
    if part.startswith("upper_arm"):
        return "x", -20 * swing, (0, 0, 0)
    if part.startswith("lower_arm"):
        return "x", 20 + 10 * max(0.0, -swing), (0, 0, 0)
    return "x", 0, (0, 0, 0)


def wave_pose(part, frame):
    """The right arm raised to the side, the forearm waving, the head tilting."""
    beat = 1 if (frame // 10) % 2 else -1
    if part == "upper_arm_r":
        return "z", -140, (0, 0, 0)
    if part == "lower_arm_r":
        return "z", 25 * beat - 5, (0, 0, 0)
    if part == "head":
        return "z", 4 * beat, (0, 0, 0)
    return "x", 0, (0, 0, 0)


MOTIONS = [("walk", 40, walk_pose), ("wave", 30, wave_pose)]
KEY_SPACING = 10


def project_bytes():
    index = {name: i for i, (name, _, _, _) in enumerate(PROJECT_PARTS)}
    out = bytearray(b"Marionettica3Dv1.00".ljust(32, b"\0"))
    out += struct.pack("<i", len(PROJECT_PARTS))
    for name, parent, partner, _ in PROJECT_PARTS:
        encoded = name.encode("ascii")
        padded = (len(encoded) + 3) // 4 * 4
        out += struct.pack("<i", padded) + encoded.ljust(padded, b"\0")
        out += struct.pack("<ii", -1 if parent == -1 else index[parent], -1 if partner is None else index[partner])
    out += struct.pack("<i", len(MOTIONS))
    for motion_name, length, pose in MOTIONS:
        out += motion_name.encode("ascii").ljust(20, b"\0") + struct.pack("<i", length)
        for name, _, _, position in PROJECT_PARTS:
            frames = list(range(0, length + 1, KEY_SPACING))
            keys = []
            for frame in frames:
                axis, degrees, offset = pose(name, frame)
                # A part that does not move keeps only its frame-0 key.
                if frame > 0 and degrees == 0 and offset == (0, 0, 0) and pose(name, 0)[1:] == (0, (0, 0, 0)):
                    continue
                m = rotation(axis, degrees)
                row4 = [(position[i] + offset[i]) * FIGURE_SCALE for i in range(3)]
                keys.append((frame, m[0] + [0] + m[1] + [0] + m[2] + [0] + row4 + [1]))
            out += struct.pack("<i", len(keys))
            for frame, values in keys:
                out += struct.pack("<i16f", frame, *values)
    return bytes(out)


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    parts = {"torso": torso(), "head": head()}
    for base, build in LEFT_PARTS.items():
        mesh, materials = build()
        parts[base + "_l"] = (mesh, materials)
        parts[base + "_r"] = (mirrored(mesh), materials)
    for name, (mesh, materials) in parts.items():
        check_outward(name, mesh)
        with open(os.path.join(OUT_DIR, name + ".mqo"), "wb") as f:
            f.write(mqo_text(name, mesh, materials).encode("ascii"))
    with open(os.path.join(OUT_DIR, TEXTURE_NAME), "wb") as f:
        f.write(png_bytes(TEXTURE_SIZE, TEXTURE_SIZE, texture_pixel))
    with open(os.path.join(OUT_DIR, "figure.anm"), "wb") as f:
        f.write(project_bytes())
    print("wrote %d models, %s and figure.anm to %s" % (len(parts), TEXTURE_NAME, os.path.normpath(OUT_DIR)))


if __name__ == "__main__":
    main()
