#!/usr/bin/python3
"""Writes plant.dxf: a small Japanese electrical/plant drawing used as Kalvex's demo drawing.

Run with Debian's interpreter (python3-ezdxf): /usr/bin/python3 samples/make_sample.py
The drawing has a title block, pump and valve symbols, I/O modules, wire numbers, terminal
columns, labels mixing full- and half-width kana, and a locked layer of superseded notes.
"""
import os
import sys

import ezdxf
from ezdxf.enums import TextEntityAlignment

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "plant.dxf")

LAYERS = [("図枠", 7), ("機器", 3), ("IO", 4), ("配線", 1), ("線番", 2), ("端子", 6),
          ("注記", 7), ("旧図", 8)]


# The prompt of every attribute definition: the attribute grid shows it above its column.
PROMPTS = {
    "CST": "客先名", "CST1": "客先名2", "TITLE": "図面名称", "TITLE1": "図面名称2",
    "DWGNO": "図番", "REVNO": "改訂番号", "PAGEN": "ページ", "PAGEM": "総ページ数",
    "ENAM": "設計者", "EDATE": "設計日", "CNAM": "照査者", "CDATE": "照査日",
    "ANAM": "承認者", "ADATE": "承認日",
    "BITEM2": "設計者", "BITEM3": "照査者", "BITEM4": "承認者", "BITEM5": "客先名",
    "BITEM7": "工事名", "ZITEM1": "図面名称", "ZITEM2": "図面名称2", "ZITEM3": "図番",
    "ZITEM5": "設計日", "ZITEM6": "照査日", "ZITEM7": "承認日", "ZITEM8": "改訂番号",
    "ZITEM9": "改訂日", "ZITEM10": "改訂内容", "ZSHEET": "シート", "FILE3": "ファイル名",
    "ZSEIHIN": "製品名", "PAGE": "ページ",
    "NAME": "機器名", "NAME1": "名称1", "SPEC": "仕様", "TYPE": "型式",
    "PIN1": "端子番号", "IOADRS": "IOアドレス", "JCMNT1": "コメント１", "JCMNT2": "コメント２",
    "SENBAN": "線番",
}


def add_attdef(block, tag, at, **dxfattribs):
    dxfattribs["prompt"] = PROMPTS[tag]
    return block.add_attdef(tag, at, dxfattribs=dxfattribs)


def attdefs(block, tags, x, y, height=2.5, step=4.0):
    for i, tag in enumerate(tags):
        add_attdef(block, tag, (x, y - i * step), height=height, layer="0")


def make_blocks(doc):
    frame = doc.blocks.new("図枠IFS")
    frame.add_lwpolyline([(0, 0), (420, 0), (420, 297), (0, 297)], close=True)
    frame.add_lwpolyline([(10, 10), (410, 10), (410, 287), (10, 287)], close=True)
    frame.add_lwpolyline([(250, 10), (410, 10), (410, 60), (250, 60)], close=True)
    for y in (20, 30, 40, 50):
        frame.add_line((250, y), (410, y))
    for x in (290, 330, 370):
        frame.add_line((x, 10), (x, 60))
    tags = ["CST", "CST1", "TITLE", "TITLE1", "DWGNO", "REVNO", "PAGEN", "PAGEM",
            "ENAM", "EDATE", "CNAM", "CDATE", "ANAM", "ADATE"]
    places = [(252, 52), (292, 52), (252, 42), (292, 42), (332, 42), (372, 42), (332, 52),
              (372, 52), (252, 22), (252, 12), (292, 22), (292, 12), (332, 22), (332, 12)]
    for tag, (x, y) in zip(tags, places):
        add_attdef(frame, tag, (x, y), height=3.0)

    sheet = doc.blocks.new("図枠TTL")
    sheet.add_lwpolyline([(0, 0), (140, 0), (140, 24), (0, 24)], close=True)
    ttl = ["BITEM7", "BITEM5", "ZITEM2", "ZITEM3", "ZITEM1", "ZSHEET", "FILE3", "ZITEM10",
           "ZITEM9", "ZITEM8", "BITEM2", "ZITEM5", "BITEM3", "ZITEM6", "BITEM4", "ZITEM7",
           "ZSEIHIN", "PAGE"]
    for i, tag in enumerate(ttl):
        add_attdef(sheet, tag, (2 + (i % 6) * 23, 18 - (i // 6) * 7), height=2.2)

    pump = doc.blocks.new("PUMP")
    pump.add_circle((0, 0), 6)
    pump.add_line((-6, 0), (0, 6))
    pump.add_line((0, 6), (6, 0))
    attdefs(pump, ["NAME", "NAME1", "SPEC", "TYPE"], 8, 4)

    valve = doc.blocks.new("VALVE")
    valve.add_lwpolyline([(-5, -3), (5, 3), (5, -3), (-5, 3)], close=True)
    valve.add_line((0, 0), (0, 6))
    attdefs(valve, ["NAME", "NAME1", "SPEC", "TYPE"], 7, 4)

    io = doc.blocks.new("IO-DI")
    io.add_lwpolyline([(0, 0), (60, 0), (60, 8), (0, 8)], close=True)
    io.add_line((12, 0), (12, 8))
    io.add_line((30, 0), (30, 8))
    for tag, x in (("PIN1", 1), ("IOADRS", 13), ("JCMNT1", 31)):
        add_attdef(io, tag, (x, 4.5), height=2.5)
    add_attdef(io, "JCMNT2", (31, 1), height=2.0)

    wire = doc.blocks.new("SENBAN")
    wire.add_lwpolyline([(-5, -2), (5, -2), (5, 2), (-5, 2)], close=True)
    add_attdef(wire, "SENBAN", (0, 0), height=2.5).set_placement(
        (0, 0), align=TextEntityAlignment.MIDDLE_CENTER)


def insert(msp, name, at, values, layer):
    ref = msp.add_blockref(name, at, dxfattribs={"layer": layer})
    ref.add_auto_attribs(values)
    return ref


def make_title(msp):
    insert(msp, "図枠IFS", (0, 0), {
        "CST": "東邦化学工業", "CST1": "第二プラント", "TITLE": "ポンプ制御盤",
        "TITLE1": "展開接続図", "DWGNO": "E-2041-003", "REVNO": "B", "PAGEN": "3",
        "PAGEM": "12", "ENAM": "佐藤", "EDATE": "2025.05.12", "CNAM": "鈴木",
        "CDATE": "2025.05.20", "ANAM": "高橋", "ADATE": "2025.05.28"}, "図枠")
    insert(msp, "図枠TTL", (266, 62), {
        "BITEM7": "盤名", "BITEM5": "MCC-2", "ZITEM2": "ﾎﾟﾝﾌﾟ制御", "ZITEM3": "展開図",
        "ZITEM1": "第二ﾌﾟﾗﾝﾄ", "ZSHEET": "3/12", "FILE3": "E2041-03", "ZITEM10": "承認",
        "ZITEM9": "照査", "ZITEM8": "作成", "BITEM2": "A3", "ZITEM5": "NTS",
        "BITEM3": "電気", "ZITEM6": "2025", "BITEM4": "R1", "ZITEM7": "改訂B",
        "ZSEIHIN": "制御盤", "PAGE": "3"}, "図枠")


def make_equipment(msp):
    pumps = [("P-101", "原水ポンプ", "3.7kW 200V", "ｳｽﾞ巻"), ("P-102", "送水ポンプ", "5.5kW 200V", "ｳｽﾞ巻"),
             ("P-103", "薬注ポンプ", "0.4kW 200V", "ダイヤフラム")]
    for i, (name, name1, rating, kind) in enumerate(pumps):
        insert(msp, "PUMP", (40 + i * 60, 230), {"NAME": name, "NAME1": name1, "SPEC": rating,
                                                 "TYPE": kind}, "機器")
    valves = [("MV-201", "入口弁", "50A", "電動"), ("MV-202", "出口弁", "50A", "電動"),
              ("SV-203", "ﾊﾞｲﾊﾟｽ弁", "25A", "電磁")]
    for i, (name, name1, rating, kind) in enumerate(valves):
        insert(msp, "VALVE", (40 + i * 60, 195), {"NAME": name, "NAME1": name1, "SPEC": rating,
                                                  "TYPE": kind}, "機器")


def make_io(msp):
    comments = [("ﾎﾟﾝﾌﾟ運転", "P-101"), ("ポンプ故障", "P-101"), ("ﾊﾞﾙﾌﾞ開", "MV-201"),
                ("バルブ閉", "MV-201"), ("ｲﾝﾀｰﾛｯｸ", "非常停止"), ("満水警報", "LS-1")]
    for i, (c1, c2) in enumerate(comments):
        insert(msp, "IO-DI", (250, 250 - i * 10), {"PIN1": "%d" % (i + 1),
                                                    "IOADRS": "X%03X" % (0x20 + i),
                                                    "JCMNT1": c1, "JCMNT2": c2}, "IO")


def make_wiring(msp):
    for i in range(8):
        y = 160 - i * 9
        msp.add_line((20, y), (220, y), dxfattribs={"layer": "配線"})
        insert(msp, "SENBAN", (120, y), {"SENBAN": "%d" % (101 + i)}, "線番")


def make_terminals(msp):
    for i in range(24):
        msp.add_text("TB-%02d" % (i + 1), height=2.5, dxfattribs={"layer": "端子"}).set_placement(
            (235, 170 - i * 4.5))
        msp.add_text("%d" % (i + 1), height=2.5, dxfattribs={"layer": "端子"}).set_placement(
            (262, 170 - i * 4.5), align=TextEntityAlignment.RIGHT)
    labels = ["ﾎﾟﾝﾌﾟ 起動", "ポンプ 停止", "ﾊﾞﾙﾌﾞ 開", "バルブ 閉", "ｲﾝﾀｰﾛｯｸ 解除", "非常停止",
              "運転表示灯", "故障表示灯"]
    for i, label in enumerate(labels):
        msp.add_text(label, height=3.0, dxfattribs={"layer": "注記"}).set_placement(
            (270, 170 - i * 9))
    msp.add_text("制御回路 展開接続図", height=6.0, dxfattribs={"layer": "注記"}).set_placement(
        (120, 275), align=TextEntityAlignment.MIDDLE_CENTER)


def make_superseded(msp):
    notes = ["旧 P-101 ｽﾀｰﾃﾞﾙﾀ起動", "旧 MV-201 手動弁", "旧 端子 TB-25～TB-30 撤去"]
    for i, note in enumerate(notes):
        msp.add_text(note, height=3.0, dxfattribs={"layer": "旧図"}).set_placement((30, 75 - i * 6))


def main():
    doc = ezdxf.new("R2018", setup=True)
    for name, color in LAYERS:
        doc.layers.add(name, color=color)
    make_blocks(doc)
    msp = doc.modelspace()
    make_title(msp)
    make_equipment(msp)
    make_io(msp)
    make_wiring(msp)
    make_terminals(msp)
    make_superseded(msp)
    doc.layers.get("旧図").lock()
    doc.saveas(OUT)
    print(OUT)


if __name__ == "__main__":
    sys.exit(main())
