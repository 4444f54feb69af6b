#!/usr/bin/python3
"""Writes small DXF seeds for the DXF fuzz entry with ezdxf (Debian python3-ezdxf):
one file per entity kind the importer reads, in an old and a new version, with
the sections the importer skips left out (small seeds mutate faster; the
whole files are among the fixtures in tests/app/data).

    /usr/bin/python3 tests/robustness/fuzz/dxf_seeds.py <folder>
"""
import math
import os
import sys

import ezdxf


def kinds(version):
    """(name, function adding the entity to a model space) pairs."""
    k = [
        ("line", lambda m: m.add_line((0, 0), (10, 5))),
        ("circle", lambda m: m.add_circle((5, 5), 3)),
        ("arc", lambda m: m.add_arc((0, 0), 4, 30, 300)),
        ("text", lambda m: m.add_text("零件 A1", dxfattribs={"insert": (0, 0), "height": 2.5, "rotation": 15})),
        ("polyline", lambda m: m.add_polyline2d([(0, 0, 0, 0, 0.5), (5, 0, 0, 0, 0), (5, 5, 0, 0, -1)],
                                                 format="xyseb", close=True)),
        ("insert", None),
        ("dim_linear", lambda m: m.add_linear_dim(base=(0, -5), p1=(0, 0), p2=(20, 0)).render()),
        ("dim_radius", lambda m: m.add_radius_dim(center=(0, 0), radius=5, angle=30).render()),
    ]
    if version != "R12":
        k += [
            ("lwpolyline", lambda m: m.add_lwpolyline([(0, 0, 1), (4, 0, 0), (4, 4, 0)], format="xyb", close=True)),
            ("spline", lambda m: m.add_spline(fit_points=None, degree=3).set_open_uniform(
                [(0, 0), (3, 5), (6, 0), (9, 5)])),
            ("ellipse", lambda m: m.add_ellipse((0, 0), major_axis=(6, 2), ratio=0.4,
                                                start_param=0.3, end_param=math.pi)),
            ("mtext", lambda m: m.add_mtext("上\\P下", dxfattribs={"insert": (0, 0), "char_height": 2})),
            ("dim_angular", lambda m: m.add_angular_dim_2l(
                base=(8, 4), line1=((0, 0), (10, 0)), line2=((0, 0), (8, 6))).render()),
        ]
    return k


SKIPPED = {"HEADER", "CLASSES", "TABLES", "OBJECTS", "ACDSDATA", "THUMBNAILIMAGE"}


def without_skipped_sections(text):
    """The group pairs of text without the sections in SKIPPED."""
    lines = text.splitlines()
    pairs = [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]
    out, skipping = [], False
    for i, (code, value) in enumerate(pairs):
        if code == "0" and value.strip() == "SECTION" and i + 1 < len(pairs):
            skipping = pairs[i + 1][1].strip() in SKIPPED
        if not skipping:
            out += [code, value]
        if code == "0" and value.strip() == "ENDSEC":
            skipping = False
    return "\n".join(out) + "\n"


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for version in ("R12", "R2018"):
        for name, add in kinds(version):
            doc = ezdxf.new(version, setup=True)
            msp = doc.modelspace()
            if add is None:
                block = doc.blocks.new("B1", base_point=(1, 1))
                block.add_line((1, 1), (3, 2))
                block.add_circle((1, 1), 1)
                msp.add_blockref("B1", (10, 10), dxfattribs={"xscale": 2, "rotation": 45})
            else:
                add(msp)
            path = os.path.join(folder, "ezdxf-%s-%s.dxf" % (version.lower(), name))
            doc.saveas(path)
            with open(path, encoding="utf-8", errors="surrogateescape") as f:
                text = f.read()
            with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write(without_skipped_sections(text))


if __name__ == "__main__":
    main()
