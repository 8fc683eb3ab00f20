#!/usr/bin/python3
"""Writes one small drawing per kind of entity the drawing window draws, with ezdxf.

Usage: make_corpus.py OUTDIR

Each drawing holds one kind (or one feature: colours, linetypes, OCS) in a few variants,
so a rendering comparison names what differs. A drawing whose name starts with "cycle_"
holds a block that inserts itself; it is for the scene builder, not for the comparison.
"""
import math
import os
import sys

import ezdxf
from ezdxf.math import Vec2, Vec3
from ezdxf.render import mleader

OUT = sys.argv[1]


def new():
    doc = ezdxf.new("R2018", setup=True)
    return doc, doc.modelspace()


def save(doc, name):
    doc.saveas(os.path.join(OUT, name + ".dxf"))


def mtext():
    doc, msp = new()
    msp.add_mtext("First paragraph\\PSecond \\C1;red\\C256; text", dxfattribs={"char_height": 2.5}).set_location((0, 40))
    msp.add_mtext("{\\H2x;Tall} and {\\LUnder\\l} {\\OOver\\o} \\S1/2; and more",
                  dxfattribs={"char_height": 2.5, "insert": (0, 25)})
    wrapped = msp.add_mtext("Diameter %%c50 at 90%%d and %%p0.1 with no break, "
                            "a long line that wraps at the reference width of the box",
                            dxfattribs={"char_height": 2.0, "width": 40, "insert": (60, 40)})
    wrapped.dxf.attachment_point = 5
    rotated = msp.add_mtext("Rotated note\\Pline two", dxfattribs={"char_height": 3, "insert": (60, 10)})
    rotated.dxf.rotation = 30
    save(doc, "mtext")


def mtext_reference_faults():
    doc, msp = new()
    msp.add_mtext("Tolerance \\S+0.1^-0.2; and\\~non-breaking", dxfattribs={"char_height": 2.5})
    msp.add_mtext("日本語の注記\\P二行目", dxfattribs={"char_height": 3, "insert": (0, 10)})
    save(doc, "mtext_reference_faults")


def text():
    doc, msp = new()
    doc.styles.add("ROMANS", font="romans.shx")
    doc.styles.add("JP", font="txt.shx").dxf.bigfont = "extfont2.shx"
    msp.add_text("Standard TEXT", dxfattribs={"height": 2.5, "insert": (0, 0)})
    msp.add_text("Width 0.6 oblique 15", dxfattribs={"height": 2.5, "insert": (0, 5), "width": 0.6, "oblique": 15})
    msp.add_text("Backwards", dxfattribs={"height": 2.5, "insert": (40, 10), "text_generation_flag": 2})
    msp.add_text("Upside down", dxfattribs={"height": 2.5, "insert": (0, 20), "text_generation_flag": 4})
    msp.add_text("%%c20 %%d %%p", dxfattribs={"height": 2.5, "insert": (0, 25), "style": "ROMANS"})
    msp.add_text("TB-1", dxfattribs={"height": 3, "insert": (0, 30), "style": "JP"})
    msp.add_text("Right aligned", dxfattribs={"height": 2.5}).set_placement((60, 35), align=ezdxf.enums.TextEntityAlignment.RIGHT)
    msp.add_text("Middle", dxfattribs={"height": 2.5, "rotation": 45}).set_placement((70, 20), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    block = doc.blocks.new("TAG")
    block.add_circle((0, 0), 4)
    block.add_attdef("NAME", (5, 0), dxfattribs={"height": 2})
    block.add_attdef("HIDDEN", (5, -3), dxfattribs={"height": 2, "flags": 1})
    ref = msp.add_blockref("TAG", (90, 0))
    ref.add_auto_attribs({"NAME": "P-101", "HIDDEN": "not shown"})
    save(doc, "text")


def text_cjk():
    doc, msp = new()
    doc.styles.add("JP", font="txt.shx").dxf.bigfont = "extfont2.shx"
    doc.styles.add("GOTHIC", font="msgothic.ttc")
    msp.add_text("端子台 TB-1", dxfattribs={"height": 3, "insert": (0, 0), "style": "JP"})
    msp.add_text("配線 ｹｰﾌﾞﾙ", dxfattribs={"height": 3, "insert": (0, 6), "style": "GOTHIC"})
    save(doc, "text_cjk")


def dimension():
    doc, msp = new()
    msp.add_line((0, 0), (50, 0))
    msp.add_linear_dim(base=(0, 10), p1=(0, 0), p2=(50, 0)).render()
    msp.add_circle((80, 10), 10)
    msp.add_radius_dim(center=(80, 10), radius=10, angle=45).render()
    msp.add_aligned_dim(p1=(0, 20), p2=(30, 40), distance=5).render()
    save(doc, "dimension")


def leader():
    doc, msp = new()
    msp.add_leader([(0, 0), (10, 10), (25, 10)])
    msp.add_leader([(40, 0), (45, 15), (60, 15)])
    msp.add_text("NOTE", dxfattribs={"height": 2.5, "insert": (26, 9)})
    save(doc, "leader")


def hatch_solid():
    doc, msp = new()
    hatch = msp.add_hatch(color=3)
    hatch.paths.add_polyline_path([(0, 0), (30, 0), (30, 20), (0, 20)], is_closed=True)
    hatch.paths.add_polyline_path([(10, 5), (20, 5), (20, 15), (10, 15)], is_closed=True)
    bulged = msp.add_hatch(color=5)
    bulged.paths.add_polyline_path([(40, 0, 0), (60, 0, 1), (60, 20, 0), (40, 20, 0.5)], is_closed=True)
    save(doc, "hatch_solid")


def hatch_pattern():
    doc, msp = new()
    for i, (pattern, scale) in enumerate([("ANSI31", 1.0), ("ANSI37", 1.0), ("BRICK", 0.5)]):
        hatch = msp.add_hatch(color=2)
        hatch.set_pattern_fill(pattern, scale=scale)
        x = i * 40
        hatch.paths.add_polyline_path([(x, 0), (x + 30, 0), (x + 30, 30), (x, 30)], is_closed=True)
    save(doc, "hatch_pattern")


def hatch_edges():
    doc, msp = new()
    hatch = msp.add_hatch(color=6)
    edges = hatch.paths.add_edge_path()
    edges.add_line((0, 0), (40, 0))
    edges.add_arc((40, 10), radius=10, start_angle=270, end_angle=90)
    edges.add_line((40, 20), (20, 20))
    edges.add_ellipse((10, 20), major_axis=(10, 0), ratio=0.5, start_angle=0, end_angle=180)
    edges.add_line((0, 20), (0, 0))
    spline = msp.add_hatch(color=4)
    path = spline.paths.add_edge_path()
    path.add_spline(control_points=[(60, 0), (80, 30), (100, 0)], degree=2)
    path.add_line((100, 0), (60, 0))
    save(doc, "hatch_edges")


def solids():
    doc, msp = new()
    msp.add_solid([(0, 0), (20, 0), (0, 10), (20, 10)], dxfattribs={"color": 1})
    msp.add_solid([(30, 0), (50, 0), (40, 15)], dxfattribs={"color": 3})
    msp.add_trace([(60, 0), (80, 0), (60, 5), (80, 5)], dxfattribs={"color": 5})
    msp.add_3dface([(0, 20), (20, 20), (20, 35), (0, 35)])
    save(doc, "solids")


def ellipse():
    doc, msp = new()
    msp.add_ellipse((0, 0), major_axis=(20, 0), ratio=0.5)
    msp.add_ellipse((50, 0), major_axis=(10, 10), ratio=0.4, start_param=0, end_param=math.pi)
    msp.add_ellipse((90, 0), major_axis=(15, 0), ratio=0.6, start_param=0, end_param=math.pi / 2,
                    dxfattribs={"extrusion": (0, 0, -1)})
    save(doc, "ellipse")


def spline():
    doc, msp = new()
    msp.add_open_spline([(0, 0), (10, 20), (30, -10), (40, 10), (60, 0)], degree=3)
    msp.add_spline([(0, 30), (20, 45), (40, 30), (60, 45)])
    msp.add_rational_spline([(70, 0), (80, 20), (100, 0)], weights=[1, 3, 1], degree=2)
    save(doc, "spline")


def points():
    doc, msp = new()
    for i in range(10):
        msp.add_point((i * 5, (i % 3) * 5))
    msp.add_line((0, -5), (45, -5))
    save(doc, "point")


def xline_ray():
    doc, msp = new()
    msp.add_line((0, 0), (50, 30))
    msp.add_xline((0, 10), (1, 0.2))
    msp.add_ray((25, 0), (0, 1))
    save(doc, "xline_ray")


def minsert():
    doc, msp = new()
    block = doc.blocks.new("CELL")
    block.add_lwpolyline([(0, 0), (8, 0), (8, 6), (0, 6)], close=True)
    block.add_circle((4, 3), 2)
    ref = msp.add_blockref("CELL", (0, 0))
    ref.grid(size=(4, 6), spacing=(10, 12))
    turned = msp.add_blockref("CELL", (90, 0), dxfattribs={"rotation": 30})
    turned.grid(size=(3, 2), spacing=(10, 12))
    save(doc, "minsert")


def wipeout():
    doc, msp = new()
    for i in range(8):
        msp.add_line((0, i * 4), (60, i * 4))
    msp.add_wipeout([(10, 5), (40, 5), (40, 20), (10, 20)])
    msp.add_text("masked", dxfattribs={"height": 3, "insert": (15, 11)})
    save(doc, "wipeout")


def ocs():
    doc, msp = new()
    mirrored = {"extrusion": (0, 0, -1)}
    msp.add_circle((-20, 0), 5, dxfattribs=mirrored)
    msp.add_arc((-40, 0), 8, 0, 90, dxfattribs=mirrored)
    msp.add_lwpolyline([(-60, 0), (-70, 10), (-80, 0)], dxfattribs=mirrored)
    msp.add_text("OCS", dxfattribs={"height": 3, "insert": (-90, 0), **mirrored})
    block = doc.blocks.new("ARROW")
    block.add_lwpolyline([(0, 0), (10, 0), (8, 2)])
    block.add_arc((0, 0), 5, 0, 120)
    msp.add_blockref("ARROW", (0, 20))
    msp.add_blockref("ARROW", (-20, 20), dxfattribs=mirrored)
    msp.add_blockref("ARROW", (20, 20), dxfattribs={"extrusion": (0.6, 0, 0.8)})
    save(doc, "ocs")


def linetypes():
    doc, msp = new()
    doc.header["$LTSCALE"] = 2.0
    for i, ltype in enumerate(["DASHED", "CENTER", "DASHDOT", "DOT", "HIDDEN"]):
        msp.add_line((0, i * 5), (80, i * 5), dxfattribs={"linetype": ltype})
    msp.add_line((0, 30), (80, 30), dxfattribs={"linetype": "DASHED", "ltscale": 3})
    doc.layers.add("CENTERLINES", linetype="CENTER", color=1)
    msp.add_circle((100, 15), 12, dxfattribs={"layer": "CENTERLINES"})
    block = doc.blocks.new("BYBLOCK_LINES")
    block.add_line((0, 0), (30, 0), dxfattribs={"linetype": "BYBLOCK"})
    msp.add_blockref("BYBLOCK_LINES", (0, 40), dxfattribs={"linetype": "DASHED"})
    save(doc, "linetypes")


def colors():
    doc, msp = new()
    doc.layers.add("RED", color=1)
    doc.layers.add("OFF", color=3).off()
    doc.layers.add("FROZEN", color=4).freeze()
    doc.layers.add("THICK", color=2, lineweight=70)
    msp.add_line((0, 0), (40, 0), dxfattribs={"layer": "RED"})
    msp.add_line((0, 5), (40, 5), dxfattribs={"color": 5})
    line = msp.add_line((0, 10), (40, 10))
    line.rgb = (255, 128, 0)
    msp.add_line((0, 15), (40, 15), dxfattribs={"layer": "OFF"})
    msp.add_line((0, 20), (40, 20), dxfattribs={"layer": "FROZEN"})
    msp.add_line((0, 25), (40, 25), dxfattribs={"layer": "THICK"})
    msp.add_line((0, 30), (40, 30), dxfattribs={"lineweight": 100, "color": 6})
    block = doc.blocks.new("BYBLOCK_COLOR")
    block.add_circle((0, 0), 4, dxfattribs={"color": 0})
    block.add_circle((0, 0), 2, dxfattribs={"layer": "0"})
    msp.add_blockref("BYBLOCK_COLOR", (60, 10), dxfattribs={"color": 3})
    msp.add_blockref("BYBLOCK_COLOR", (60, 25), dxfattribs={"layer": "RED"})
    save(doc, "colors")


def attribute_mtext():
    doc, msp = new()
    block = doc.blocks.new("NOTE")
    block.add_lwpolyline([(0, 0), (40, 0), (40, 15), (0, 15)], close=True)
    block.add_attdef("TEXT", (1, 13), dxfattribs={"height": 2})
    ref = msp.add_blockref("NOTE", (0, 0))
    attrib = ref.add_attrib("TEXT", "", (1, 13), dxfattribs={"height": 2})
    mtext = msp.add_mtext("Line one\\PLine two\\PLine three", dxfattribs={"char_height": 2, "insert": (1, 13)})
    attrib.embed_mtext(mtext)
    msp.delete_entity(mtext)
    save(doc, "attribute_mtext")


def dimensions_without_blocks():
    """Dimensions of every type without their geometry blocks, as some programs write them,
    beside a twin whose blocks ezdxf made: the reference draws the twin ("NAME.peer.dxf")."""
    def build(with_blocks):
        doc, msp = new()
        doc.dimstyles.get("Standard").dxf.dimtad = 1

        def done(dim):
            dim.render() if with_blocks else dim.commit()

        std = {"dimstyle": "Standard"}
        msp.add_line((0, 0), (50, 0))
        done(msp.add_linear_dim(base=(0, 10), p1=(0, 0), p2=(50, 0), **std))
        done(msp.add_linear_dim(base=(70, 0), p1=(60, 0), p2=(60, 30), angle=90, **std,
                                override={"dimtad": 0, "dimpost": "<> mm"}))
        done(msp.add_aligned_dim(p1=(0, 20), p2=(30, 40), distance=5, **std))
        done(msp.add_linear_dim(base=(0, -15), p1=(0, -10), p2=(40, -10), **std,
                                override={"dimtsz": 1.0, "dimdec": 1}))
        msp.add_circle((80, 50), 10)
        done(msp.add_radius_dim(center=(80, 50), radius=10, angle=45, **std))
        msp.add_circle((110, 20), 8)
        done(msp.add_diameter_dim(center=(110, 20), radius=8, angle=30, **std))
        done(msp.add_angular_dim_2l(base=(30, -30), line1=((10, -40), (35, -20)),
                                    line2=((10, -40), (40, -40)), **std))
        done(msp.add_angular_dim_3p(base=(100, -20), center=(90, -40), p1=(110, -40), p2=(90, -20),
                                    **std))
        done(msp.add_ordinate_x_dim(feature_location=(140, 10), offset=(0, 10), origin=(130, 0), **std))
        done(msp.add_ordinate_y_dim(feature_location=(140, 10), offset=(10, 0), origin=(130, 0), **std))
        done(msp.add_arc_dim_3p(base=(150, -25), center=(140, -40), p1=(155, -40), p2=(140, -25), **std))
        return doc

    save(build(False), "dimension_blockless")
    save(build(True), "dimension_blockless.peer")


def multileader():
    """Multileaders with MTEXT and with a block with an attribute; the reference draws them
    only from proxy graphics, which ezdxf does not write, so its twin holds them exploded."""
    def build(exploded):
        doc, msp = new()
        block = doc.blocks.new("BALLOON")
        block.add_circle((0, 0), 3)
        block.add_attdef("NO", (-1, -1), dxfattribs={"height": 2})
        ml = msp.add_multileader_mtext("Standard")
        ml.set_content("Multileader note\Psecond line", char_height=2.5)
        ml.add_leader_line(mleader.ConnectionSide.left, [Vec2(-20, -10), Vec2(-10, -2)])
        ml.build(insert=Vec2(0, 0))
        spline = msp.add_multileader_mtext("Standard")
        spline.set_content("Spline", char_height=2.5)
        spline.set_leader_properties(leader_type=mleader.LeaderType.splines)
        spline.add_leader_line(mleader.ConnectionSide.left, [Vec2(10, -30), Vec2(20, -20), Vec2(25, -15)])
        spline.build(insert=Vec2(35, -12))
        ref = msp.add_multileader_block("Standard")
        ref.set_content(name="BALLOON", scale=1.5)
        ref.set_attribute("NO", "7")
        ref.add_leader_line(mleader.ConnectionSide.left, [Vec2(50, 10)])
        ref.build(insert=Vec2(70, 20))
        if exploded:
            for entity in list(msp.query("MULTILEADER")):
                entity.explode()
        return doc

    save(build(False), "multileader")
    save(build(True), "multileader.peer")


def tolerance_and_leader_overrides():
    """Feature control frames, which the reference does not draw (checked by eye), and a
    LEADER whose arrow size comes from its extended data."""
    doc, msp = new()
    msp.new_entity("TOLERANCE", {"dimstyle": "Standard", "insert": (0, 0),
                                 "content": "{\\Fgdt;j}%%v{\\Fgdt;n}0.05%%vA%%vB^J{\\Fgdt;u}%%v0.1"})
    leader = msp.add_leader([(0, -20), (10, -10), (25, -10)], dimstyle="Standard",
                            override={"dimasz": 5, "dimscale": 2})
    save(doc, "tolerance_leader")


def table():
    """A table with its anonymous block, which the reference draws from the block; ezdxf
    cannot write ACAD_TABLE, so the entity is added to the file as text."""
    doc, msp = new()
    block = doc.blocks.new_anonymous_block("T")
    for y in (0, -8, -16):
        block.add_line((0, y), (60, y))
    for x in (0, 25, 60):
        block.add_line((x, 0), (x, -16))
    for (x, y, text) in ((2, -5.5, "Tag"), (27, -5.5, "Value"), (2, -13.5, "P-101"), (27, -13.5, "Pump")):
        block.add_text(text, dxfattribs={"height": 2.5, "insert": (x, y)})
    path = os.path.join(OUT, "table.dxf")
    doc.saveas(path)
    owner = msp.block_record_handle
    entity = ("  0\nACAD_TABLE\n  5\nFFF0\n330\n%s\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockReference\n"
              "  2\n%s\n 10\n10.0\n 20\n50.0\n 30\n0.0\n100\nAcDbTable\n280\n0\n 91\n2\n 92\n2\n"
              % (owner, block.name))
    text = open(path, encoding="utf-8").read()
    at = text.index("ENTITIES")
    end = text.index("  0\nENDSEC", at)
    open(path, "w", encoding="utf-8").write(text[:end] + entity + text[end:])


def cycle():
    doc, msp = new()
    block = doc.blocks.new("LOOP")
    block.add_line((0, 0), (10, 0))
    for i in range(10):
        block.add_blockref("LOOP", (i, 5), dxfattribs={"xscale": 0.5, "yscale": 0.5})
    msp.add_blockref("LOOP", (0, 0))
    save(doc, "cycle_self")


for make in (mtext, mtext_reference_faults, text, text_cjk, dimension, leader, hatch_solid, hatch_pattern, hatch_edges, solids, ellipse,
             spline, points, xline_ray, minsert, wipeout, ocs, linetypes, colors, attribute_mtext,
             dimensions_without_blocks, multileader, tolerance_and_leader_overrides, table, cycle):
    make()


def mtext_wrapping():
    doc, msp = new()
    # Blanks where a line wraps are swallowed; a paragraph's own leading blanks stay.
    msp.add_mtext("A            B", dxfattribs={"char_height": 2.5, "width": 50, "insert": (0, 40)})
    msp.add_mtext("Pump and valve     schedule for the cooling water loop",
                  dxfattribs={"char_height": 2.5, "width": 30, "insert": (0, 25)})
    msp.add_mtext("   Indented\Pnext paragraph", dxfattribs={"char_height": 2.5, "width": 40, "insert": (60, 40)})
    centred = msp.add_mtext("centred words     that wrap here",
                            dxfattribs={"char_height": 2.5, "width": 30, "insert": (75, 25)})
    centred.dxf.attachment_point = 2
    save(doc, "mtext_wrapping")


def mtext_wrapping_cjk():
    doc, msp = new()
    msp.add_mtext("配管  弁類        計装", dxfattribs={"char_height": 3, "width": 18, "insert": (0, 20)})
    save(doc, "mtext_wrapping_cjk")


COLUMN_TEXT = " ".join("word%d" % i for i in range(60))


def mtext_columns():
    doc, msp = new()
    msp.add_mtext_static_columns(["First column\Pof text", "Second column", "Third"],
                                 width=20, gutter_width=4, height=15, dxfattribs={"char_height": 2.5})
    msp.add_mtext_dynamic_auto_height_columns(COLUMN_TEXT, width=20, gutter_width=4, height=30, count=3,
                                              dxfattribs={"char_height": 2.5, "insert": (0, -25)})
    msp.add_mtext_dynamic_manual_height_columns(COLUMN_TEXT, width=20, gutter_width=4, heights=[20, 40, 30],
                                                dxfattribs={"char_height": 2.5, "insert": (0, -70)})
    save(doc, "mtext_columns")
    old = ezdxf.new("R2013", setup=True)
    old.modelspace().add_mtext_dynamic_auto_height_columns(COLUMN_TEXT, width=20, gutter_width=4, height=30,
                                                           count=3, dxfattribs={"char_height": 2.5})
    save(old, "mtext_columns_r2013")


def point_view_size():
    doc, msp = new()
    doc.header["$PDMODE"] = 3
    doc.header["$PDSIZE"] = -3
    for i in range(5):
        msp.add_point((i * 20, (i % 2) * 10))
    msp.add_line((0, -5), (80, -5))
    save(doc, "point_view_size")
    # ezdxf writes unmeasured extents (+-1e20); a CAD writes the measured ones, which give
    # the height of the view.
    path = os.path.join(OUT, "point_view_size.dxf")
    with open(path) as f:
        content = f.read()
    content = content.replace("$EXTMIN\n 10\n1e+20\n 20\n1e+20", "$EXTMIN\n 10\n0.0\n 20\n-5.0", 1)
    content = content.replace("$EXTMAX\n 10\n-1e+20\n 20\n-1e+20", "$EXTMAX\n 10\n80.0\n 20\n10.0", 1)
    with open(path, "w") as f:
        f.write(content)


def polyline_elevation():
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    extrusion = Vec3(0.02, 0.32, 0.95).normalize()
    for i in range(3):
        poly = msp.add_polyline2d([(i * 20, 0), (i * 20 + 10, 0), (i * 20 + 10, 10), (i * 20, 10)], close=True,
                                  dxfattribs={"extrusion": extrusion})
        poly.dxf.elevation = (0, 0, 5 * i)
    msp.add_circle((0, 0), 2, dxfattribs={"extrusion": extrusion})
    save(doc, "polyline_elevation")


def attribute_layers():
    doc, msp = new()
    doc.layers.add("blue", color=5)
    doc.layers.add("red", color=1)
    block = doc.blocks.new("TAG")
    block.add_circle((0, 0), 5)
    block.add_attdef("NO", (-3, -1), dxfattribs={"height": 2.5, "layer": "0"})
    for i, layer in enumerate(("blue", "red", "0")):
        ref = msp.add_blockref("TAG", (i * 15, 0), dxfattribs={"layer": layer})
        ref.add_attrib("NO", "P-%d" % i, (i * 15 - 3, -1), dxfattribs={"height": 2.5, "layer": "0"})
    save(doc, "attribute_layers")


def diameter_sign():
    doc, msp = new()
    msp.add_text("%%c50", dxfattribs={"height": 10, "insert": (0, 0)})
    msp.add_mtext("%%c25 H7", dxfattribs={"char_height": 10, "insert": (0, 30)})
    save(doc, "diameter_sign")


def image():
    doc, msp = new()
    # A picture beside the drawing: a 64 x 48 grid of coloured squares with a diagonal.
    import matplotlib.pyplot as plt
    import numpy as np
    pixels = np.zeros((48, 64, 3))
    pixels[:, :, 0] = np.linspace(0, 1, 64)[None, :]
    pixels[:, :, 2] = np.linspace(1, 0, 48)[:, None]
    pixels[::8, :, :] = 1
    pixels[:, ::8, :] = 1
    plt.imsave(os.path.join(OUT, "site_plan.png"), pixels)
    plan = doc.add_image_def(filename="site_plan.png", size_in_pixel=(64, 48))
    msp.add_image(plan, insert=(0, 0), size_in_units=(64, 48), rotation=0)
    clipped = msp.add_image(plan, insert=(80, 0), size_in_units=(32, 24), rotation=30)
    clipped.set_boundary_path([(10, 5), (60, 8), (50, 40), (15, 43)])
    scan = doc.add_image_def(filename="C:\\scans\\missing_scan.png", size_in_pixel=(640, 480))
    msp.add_image(scan, insert=(0, -60), size_in_units=(64, 48), rotation=0)
    save(doc, "image")


for make in (image, mtext_wrapping, mtext_wrapping_cjk, mtext_columns, point_view_size, polyline_elevation,
             attribute_layers, diameter_sign):
    make()
