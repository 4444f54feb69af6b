#!/usr/bin/python3
"""Writes the DXF fixtures of the import tests with ezdxf (Debian python3-ezdxf).

    /usr/bin/python3 tests/app/data/make_dxf_fixtures.py tests/app/data

kinds_<version>.dxf   every kind the importer reads, once per DXF version
extrusion_r2000.dxf   entities whose extrusion points down (mirrored in x)
size_r2010.dxf        a line and a circle: 120.4 x 40.2 mm
gbk_r2000.dxf         a pre-2007 text written in GBK (its header still names 1252)
"""
import sys

import ezdxf

VERSIONS = ["R12", "R2000", "R2010", "R2018"]


def add_blocks(doc):
    bolt = doc.blocks.new("BOLT", base_point=(0, 0))
    bolt.add_circle((0, 0), 2, dxfattribs={"color": 0})      # colour by block
    bolt.add_line((-3, 0), (3, 0), dxfattribs={"color": 2})
    # Base point (10, 10): the member at (10, 10) lands on the insertion point.
    pin = doc.blocks.new("PIN", base_point=(10, 10))
    pin.add_line((10, 10), (14, 10))
    return bolt, pin


def add_kinds(doc, version):
    doc.layers.add("CUT", color=1)
    doc.layers.add("HID", color=3, linetype="HIDDEN")
    add_blocks(doc)
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"layer": "CUT"})
    msp.add_line((0, 5), (100, 5), dxfattribs={"layer": "HID", "color": 5})
    msp.add_circle((50, 50), 10)
    msp.add_arc((10, 20), 5, 0, 90)
    # A closed square whose first side bulges into a half circle.
    square = [(0, 0, 1.0), (10, 0, 0), (10, 10, 0), (0, 10, 0)]
    if version == "R12":
        msp.add_polyline2d([(x, y, 0, 0, b) for x, y, b in square], format="xyseb", close=True)
    else:
        msp.add_lwpolyline(square, format="xyb", close=True)
    msp.add_polyline2d([(0, 30), (20, 30), (20, 40)])
    msp.add_text("AB CD", dxfattribs={"insert": (0, 60), "height": 5})
    msp.add_blockref("BOLT", (200, 0), dxfattribs={"xscale": 2, "yscale": 2, "rotation": -30, "color": 1})
    msp.add_blockref("PIN", (300, 0))
    if version != "R12":
        msp.add_spline(fit_points=None, degree=3).set_open_uniform([(0, 80), (10, 90), (20, 80), (30, 90)])
        msp.add_ellipse((60, 80), major_axis=(10, 0), ratio=0.5)
        msp.add_ellipse((90, 80), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=3.141592653589793)
        msp.add_mtext("多行\\P文字", dxfattribs={"insert": (0, 70), "char_height": 3})
    add_dimensions(msp)


def add_dimensions(msp):
    msp.add_linear_dim(base=(0, -10), p1=(0, 0), p2=(100, 0)).render()
    msp.add_aligned_dim(p1=(0, 0), p2=(30, 40), distance=5).render()
    msp.add_radius_dim(center=(50, 50), radius=10, angle=45).render()
    msp.add_diameter_dim(center=(50, 50), radius=10, angle=135).render()
    msp.add_angular_dim_2l(base=(130, 30), line1=((100, 0), (140, 0)), line2=((100, 0), (130, 30))).render()
    msp.add_angular_dim_3p(base=(120, 60), center=(100, 40), p1=(130, 40), p2=(100, 70)).render()
    msp.add_ordinate_x_dim(feature_location=(20, 10), offset=(0, -15), origin=(0, 0)).render()
    msp.add_arc_dim_3p(base=(100, 130), center=(100, 100), p1=(120, 100), p2=(100, 120)).render()


def write_kinds(folder):
    for version in VERSIONS:
        doc = ezdxf.new(version, setup=True)
        add_kinds(doc, version)
        doc.saveas(f"{folder}/kinds_{version.lower()}.dxf")


def write_extrusion(folder):
    doc = ezdxf.new("R2000")
    down = {"extrusion": (0, 0, -1)}
    block = doc.blocks.new("MARK")
    block.add_line((0, 0), (5, 0))
    msp = doc.modelspace()
    msp.add_arc((10, 0), 5, 0, 90, dxfattribs=down)
    msp.add_circle((20, 5), 3, dxfattribs=down)
    msp.add_lwpolyline([(0, 0, 1.0), (10, 0, 0)], format="xyb", dxfattribs=down)
    msp.add_text("T", dxfattribs={"insert": (7, 8), **down})
    msp.add_blockref("MARK", (30, 0), dxfattribs=down)
    msp.add_ellipse((0, 50), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=1.0,
                    dxfattribs=down)
    doc.saveas(f"{folder}/extrusion_r2000.dxf")


def write_size(folder):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_line((-20.4, 0), (100, 0))
    msp.add_circle((50, 30), 10.2)
    doc.saveas(f"{folder}/size_r2010.dxf")


def write_gbk(folder):
    doc = ezdxf.new("R2000")
    doc.modelspace().add_text("中文 AB", dxfattribs={"insert": (0, 0)})
    doc.saveas(f"{folder}/gbk_r2000.dxf", encoding="gbk")


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    write_kinds(out)
    write_extrusion(out)
    write_size(out)
    write_gbk(out)
