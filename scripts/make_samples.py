#!/usr/bin/env python3
"""Writes the editor's sample files: an invented rules file (Rulesmd.ini, GBK text with
CR LF lines) and a string table (ra2md.csf) holding the Chinese names of its units.

usage: make_samples.py OUTPUT_FOLDER
"""
import struct
import sys
from pathlib import Path

# (id, English name, Chinese name, strength, speed, armor, primary, secondary, cost)
INFANTRY = [
    ("TROOPER", "Trooper", "步枪兵", 125, 4, "none", "CarbineShot", "", 200),
    ("LANCER", "Lancer", "长枪兵", 150, 4, "flak", "LanceRocket", "", 300),
    ("SAPPER", "Sapper", "工兵", 75, 4, "none", "", "", 500),
    ("MARKSMAN", "Marksman", "狙击手", 100, 5, "none", "LongRifle", "", 700),
    ("GRENADR", "Grenadier", "掷弹兵", 130, 4, "flak", "HandGrenade", "", 350),
    ("FIELDMED", "Field Medic", "医疗兵", 110, 5, "none", "HealSpray", "", 400),
    ("TORCHER", "Torcher", "喷火兵", 140, 4, "flak", "FlameJet", "", 450),
    ("PATHFNDR", "Pathfinder", "侦察兵", 90, 7, "none", "CarbineShot", "", 250),
    ("RAIDER", "Raider", "突击队员", 160, 5, "plate", "RaiderSMG", "SatchelCharge", 1000),
    ("SEER", "Seer", "灵能者", 120, 4, "none", "MindPulse", "", 1200),
]
VEHICLES = [
    ("RANGERX", "Patrol Buggy", "巡逻车", 180, 10, "light", "BuggyMG", "", 500),
    ("WOLFTK", "Wolf Light Tank", "轻型坦克", 300, 8, "heavy", "Cannon75", "", 700),
    ("BEARTK", "Bear Heavy Tank", "重型坦克", 600, 5, "heavy", "Cannon120", "Cannon120", 1500),
    ("HOWITZR", "Howitzer", "自行火炮", 250, 5, "light", "ArtilleryShell", "", 1100),
    ("SKYGUARD", "Skyguard", "防空车", 260, 7, "light", "FlakBurst", "BuggyMG", 800),
    ("BASEVEH", "Base Vehicle", "基地车", 1000, 4, "heavy", "", "", 3000),
    ("DIGGER", "Ore Digger", "采矿车", 700, 5, "heavy", "", "", 1400),
    ("CARRIERX", "Troop Carrier", "运兵车", 220, 9, "heavy", "BuggyMG", "", 900),
    ("COILTK", "Coil Tank", "磁轨坦克", 450, 6, "heavy", "CoilSlug", "", 1800),
    ("SEAHORSE", "Seahorse Amphibian", "两栖艇", 300, 8, "light", "TorpedoShot", "BuggyMG", 1000),
]
BUILDINGS = [
    ("HQYARD", "Headquarters Yard", "建造厂", 1500, 0, "concrete", "", "", 3000),
    ("DYNAMO", "Dynamo", "发电站", 750, 0, "wood", "", "", 800),
    ("DRILLHAL", "Drill Hall", "兵营", 500, 0, "wood", "", "", 500),
    ("MOTORWKS", "Motor Works", "战车工厂", 1000, 0, "concrete", "", "", 2000),
    ("SMELTER", "Ore Smelter", "矿石精炼厂", 900, 0, "concrete", "", "", 2000),
    ("SKYEYE", "Sky Eye", "雷达站", 1000, 0, "wood", "", "", 1000),
    ("GUNNEST", "Gun Nest", "机枪塔", 400, 0, "concrete", "NestMG", "", 500),
    ("FLAKTWR", "Flak Tower", "防空塔", 600, 0, "concrete", "FlakBurst", "", 1000),
]
AIRCRAFT = [
    ("HORNET", "Hornet Gunship", "武装直升机", 260, 14, "light", "HornetRocket", "BuggyMG", 1200),
    ("FALCONX", "Falcon Fighter", "战斗机", 200, 20, "light", "AirMissile", "", 1300),
    ("THUNDERB", "Thunder Bomber", "轰炸机", 400, 12, "heavy", "BombLoad", "", 2000),
    ("KITE", "Kite Drone", "侦察无人机", 80, 25, "none", "", "", 600),
    ("PELICAN", "Pelican Transport", "运输直升机", 350, 12, "light", "", "", 1000),
]

# name: (damage, rate of fire, range, warhead)
WEAPONS = {
    "CarbineShot": (15, 20, 5, "SmallBullet"),
    "LanceRocket": (40, 60, 6, "ShapedCharge"),
    "LongRifle": (125, 70, 9, "SmallBullet"),
    "HandGrenade": (50, 50, 5, "Blast"),
    "HealSpray": (-50, 80, 2, "Mending"),
    "FlameJet": (35, 30, 3, "Fire"),
    "RaiderSMG": (25, 15, 5, "SmallBullet"),
    "SatchelCharge": (800, 100, 1, "Blast"),
    "MindPulse": (1, 120, 6, "Psychic"),
    "BuggyMG": (18, 15, 5, "SmallBullet"),
    "Cannon75": (65, 55, 5, "ShapedCharge"),
    "Cannon120": (90, 60, 6, "ShapedCharge"),
    "ArtilleryShell": (150, 110, 14, "Blast"),
    "FlakBurst": (40, 25, 8, "Flak"),
    "CoilSlug": (120, 80, 7, "Magnetic"),
    "TorpedoShot": (100, 70, 6, "ShapedCharge"),
    "NestMG": (20, 12, 6, "SmallBullet"),
    "HornetRocket": (45, 40, 7, "ShapedCharge"),
    "AirMissile": (70, 50, 9, "Flak"),
    "BombLoad": (300, 200, 2, "Blast"),
}

# name: armor percentages in the order none, flak, plate, light, heavy, wood, concrete
WARHEADS = {
    "SmallBullet": "100%,80%,60%,40%,20%,50%,10%",
    "ShapedCharge": "30%,40%,50%,90%,100%,80%,70%",
    "Blast": "100%,60%,50%,80%,60%,120%,70%",
    "Mending": "100%,100%,100%,0%,0%,0%,0%",
    "Fire": "120%,100%,70%,40%,20%,150%,30%",
    "Psychic": "100%,100%,100%,100%,100%,0%,0%",
    "Flak": "50%,50%,30%,100%,80%,40%,20%",
    "Magnetic": "20%,20%,20%,110%,130%,60%,60%",
}

EXTRA_LABELS = {
    "GUI:Title": "规则编辑示例",
    "TXT:Sample": "示例字符串表，由脚本生成",
}


def rules_text():
    out = []
    w = out.append
    w("; 示例规则文件：单位、武器与弹头均为虚构，仅供编辑器演示与测试")
    w("; Sample rules file: every unit, weapon and warhead here is invented.")
    w("")
    w("[General]")
    w("Name=Sample Rules")
    w("Version=1.0")
    w("")
    for section, units in (("InfantryTypes", INFANTRY), ("VehicleTypes", VEHICLES),
                           ("BuildingTypes", BUILDINGS), ("AircraftTypes", AIRCRAFT)):
        w("[%s]" % section)
        for i, u in enumerate(units):
            w("%d=%s" % (i + 1, u[0]))
        w("")
    w("[WeaponsList]")
    for i, name in enumerate(WEAPONS):
        w("%d=%s" % (i, name))
    w("")
    w("[WarheadsList]")
    for i, name in enumerate(WARHEADS):
        w("%d=%s" % (i, name))
    w("")
    w("; ---------------- 单位 ----------------")
    w("")
    for units in (INFANTRY, VEHICLES, BUILDINGS, AIRCRAFT):
        for uid, name, _cn, strength, speed, armor, primary, secondary, cost in units:
            w("[%s]" % uid)
            w("UIName=Name:%s" % uid)
            w("Name=%s" % name)
            w("Strength=%d" % strength)
            if speed:
                w("Speed=%d" % speed)
            w("Armor=%s" % armor)
            if primary:
                w("Primary=%s ; %s" % (primary, "主武器"))
            if secondary:
                w("Secondary=%s" % secondary)
            w("Cost=%d" % cost)
            w("")
    w("; ---------------- 武器 ----------------")
    w("")
    for name, (damage, rof, rng, warhead) in WEAPONS.items():
        w("[%s]" % name)
        w("Damage=%d" % damage)
        w("ROF=%d" % rof)
        w("Range=%d" % rng)
        w("Warhead=%s" % warhead)
        w("")
    w("; ---------------- 弹头 ----------------")
    w("")
    for name, verses in WARHEADS.items():
        w("[%s]" % name)
        w("Verses=%s" % verses)
        w("")
    return "\r\n".join(out).encode("gbk")


def csf_bytes():
    labels = [("Name:" + u[0], u[2]) for units in (INFANTRY, VEHICLES, BUILDINGS, AIRCRAFT) for u in units]
    labels += list(EXTRA_LABELS.items())

    def inverted(text):
        return bytes(255 - b for b in text.encode("utf-16-le"))

    body = b""
    for i, (label, value) in enumerate(labels):
        name = label.encode("ascii")
        body += struct.pack("<4sII", b" LBL", 1, len(name)) + name
        units = len(value.encode("utf-16-le")) // 2
        if i == len(labels) - 1:  # one string with an extra value, as the format allows
            extra = b"sample"
            body += struct.pack("<4sI", b"WRTS", units) + inverted(value) + struct.pack("<I", len(extra)) + extra
        else:
            body += struct.pack("<4sI", b" RTS", units) + inverted(value)
    header = struct.pack("<4sIIIII", b" FSC", 3, len(labels), len(labels), 0, 0)
    return header + body


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "Rulesmd.ini").write_bytes(rules_text())
    (folder / "ra2md.csf").write_bytes(csf_bytes())


if __name__ == "__main__":
    main()
