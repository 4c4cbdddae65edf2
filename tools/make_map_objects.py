#!/usr/bin/env python3
"""Writes the map-object folders the editor ships (resources/MapObjects/<game>/Lists.txt,
sprinfo.txt and symbols.bmp) from the map-code tables of ../shared/gamefacts.

Run by hand after changing a name, a colour or a symbol here; the output is committed:

    python3 tools/make_map_objects.py [--facts DIR] [--out DIR]

The colours of the walls and static objects were measured once from the shareware VSWAP.WL1
with the game palette (`--measure VSWAP PALETTE` prints those averages again); codes whose
pictures the shareware file lacks got a colour picked from their name. No game data is needed
to run the generator.
"""

import argparse
import colorsys
import csv
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

GAMES = {
    "Wolfenstein 3D": "wolf3d-map-codes.csv",
    "Spear of Destiny": "spear-map-codes.csv",
}

# Line limits of Lists.txt with room for a "\r\n" line end: the editor reads wall and floor
# lines of at most 39 characters and object lines of at most 79; names are cut to 32.
MAX_WALL_LINE = 37
MAX_OBJECT_LINE = 77
MAX_NAME = 32

# ---------------------------------------------------------------------------------------------
# Names. The fact tables describe every code; these are the short names shown in the editor.

WALL_NAMES = {
    1: "Grey stone 1",
    2: "Grey stone 2",
    3: "Grey stone, Nazi flag",
    4: "Grey stone, Hitler portrait",
    5: "Blue stone, empty cell",
    6: "Grey stone, eagle alcove",
    7: "Blue stone, cell with skeleton",
    8: "Blue stone 1",
    9: "Blue stone 2",
    10: "Wood, eagle picture",
    11: "Wood, Hitler portrait",
    12: "Wood panel",
    13: "Elevator entrance (fake door)",
    14: "Steel, Verboten sign",
    15: "Steel",
    16: "Landscape (sky and grass)",
    17: "Red brick",
    18: "Red brick, gold wreath",
    19: "Purple stone",
    20: "Red brick, eagle banner",
    21: "Elevator switch (up)",
    22: "Elevator switch (down)",
    23: "Wood, iron cross",
    24: "Mossy grey stone 1",
    25: "Purple stone, blood",
    26: "Mossy grey stone 2",
    27: "Grey stone 3",
    28: "Grey stone, Verboten sign",
    29: "Brown chipped stone",
    30: "Brown chipped stone, blood 1",
    31: "Brown chipped stone, blood 2",
    32: "Brown chipped stone, blood 3",
    33: "Stained glass window",
    34: "Blue wall, skull",
    35: "Grey brick 1",
    36: "Blue wall, swastika",
    37: "Grey brick, vent",
    38: "Multicoloured brick",
    39: "Grey brick, cracked",
    40: "Blue wall",
    41: "Blue stone, sign",
    42: "Brown marble 1",
    43: "Grey brick, map",
    44: "Brown stone 1",
    45: "Brown stone 2",
    46: "Brown marble 2",
    47: "Brown marble, flag",
    48: "Plaster wall",
    49: "Grey brick, Hitler poster",
    50: "Cobblestone 1",
    51: "Cobblestone 2",
    52: "Cobblestone, Nazi flag",
    53: "Cobblestone, wreath",
    54: "Grey boulders 1",
    55: "Grey boulders 2",
    56: "Hell wall",
    57: "Grey cave rock",
    58: "Rampart 1",
    59: "Rampart 2",
    60: "Elevator wall",
    61: "White wall",
    62: "Brown rock, vines",
    63: "Pink brick",
}

DOOR_LOCK_NAMES = ["", "gold key", "silver key", "key 3 lock", "key 4 lock", "elevator"]

FACING_NAMES = {"N": "north", "E": "east", "S": "south", "W": "west",
                "NE": "north-east", "NW": "north-west", "SE": "south-east", "SW": "south-west"}

# Short object names where the fact table's description is longer or says less.
OBJECT_NAMES = {
    29: "Dog food (+4 health)",
    47: "Food (+10 health)",
    48: "First aid kit (+25 health)",
    49: "Ammo clip (+8 bullets)",
    50: "Machine gun",
    51: "Chain gun",
    52: "Cross (100 points)",
    53: "Chalice (500 points)",
    54: "Treasure chest (1000 points)",
    55: "Crown (5000 points)",
    56: "Extra life",
    57: "Bloody bones (+1 health)",
    61: "Pool of blood (+1 health)",
    98: "Pushwall (secret door)",
    99: "Victory trigger (ends episode)",
    124: "Dead guard (decoration)",
}
WOLF_OBJECT_NAMES = {
    71: "Ammo clip, half (+4 bullets)",
}
SPEAR_OBJECT_NAMES = {
    72: "Ammo box (+25 bullets)",
    74: "Spear of Destiny (ends level)",
    106: "Spectre (boss, comes back)",
    107: "Angel of Death (final boss)",
    125: "Trans Grosse (boss)",
    142: "Uber Mutant (boss)",
    143: "Barnacle Wilhelm (boss)",
    161: "Death Knight (boss)",
}
WOLF_BOSS_NAMES = {
    160: "Fake Hitler (boss, ep. 3)",
    178: "Mecha Hitler (boss, ep. 3)",
    179: "Fettgesicht (boss, ep. 6)",
    196: "Dr. Schabbs (boss, ep. 2)",
    197: "Gretel Grosse (boss, ep. 5)",
    214: "Hans Grosse (boss, ep. 1)",
    215: "Otto Giftmacher (boss, ep. 4)",
}

# Editor difficulty levels (the MapEdit filters "Level 1", "Level 3", "Level 4") of the
# fact tables' difficulty 1 (every skill), 2 (skill 3 and up) and 3 (skill 4 only).
EDITOR_LEVEL = {1: 1, 2: 3, 3: 4}
FACING_FLAG = {"E": 0, "N": 1, "W": 2, "S": 3}

# Shots given by the pick-ups that carry bullets.
SHOTS = {49: 8, 50: 6, 51: 6, 56: 25}
WOLF_SHOTS = {71: 4}
SPEAR_SHOTS = {72: 25}

# ---------------------------------------------------------------------------------------------
# Colours (R, G, B). Walls: the material of the texture, an optional mark for what hangs on it
# and a variant number for textures that differ only in their stones.

WALL_LOOKS = {
    # code: (main colour, detail colour or None, variant)
    1: ((115, 115, 115), None, 1),
    2: ((116, 116, 116), None, 2),
    3: ((115, 115, 115), (210, 30, 30), 1),
    4: ((115, 115, 115), (180, 125, 80), 1),
    5: ((22, 22, 120), (140, 140, 140), 1),
    6: ((111, 98, 86), (220, 170, 40), 1),
    7: ((22, 22, 120), (230, 230, 230), 1),
    8: ((16, 16, 120), None, 1),
    9: ((16, 16, 136), None, 2),
    10: ((94, 65, 32), (200, 40, 40), 1),
    11: ((94, 65, 32), (180, 125, 80), 1),
    12: ((94, 65, 32), None, 1),
    13: ((112, 110, 110), (210, 40, 40), 1),
    14: ((15, 141, 141), (150, 40, 30), 1),
    15: ((15, 141, 141), None, 1),
    16: ((100, 200, 230), (40, 170, 40), 1),
    17: ((114, 19, 19), None, 1),
    18: ((114, 19, 19), (200, 180, 20), 1),
    19: ((95, 22, 76), None, 1),
    20: ((114, 19, 19), (210, 200, 220), 1),
    21: ((113, 113, 110), (230, 60, 40), 1),
    22: ((44, 44, 44), (230, 60, 40), 1),
    23: ((94, 65, 32), (60, 60, 170), 1),
    24: ((112, 111, 60), None, 1),
    25: ((95, 22, 76), (200, 0, 30), 1),
    26: ((112, 112, 84), None, 2),
    27: ((120, 120, 120), None, 3),
    28: ((115, 115, 115), (150, 50, 25), 1),
    29: ((120, 90, 60), None, 1),
    30: ((120, 90, 60), (190, 0, 0), 1),
    31: ((120, 90, 60), (190, 0, 0), 2),
    32: ((120, 90, 60), (190, 0, 0), 3),
    33: ((70, 70, 130), (230, 190, 40), 1),
    34: ((40, 60, 150), (230, 230, 230), 1),
    35: ((135, 135, 135), None, 1),
    36: ((40, 60, 150), (20, 20, 20), 1),
    37: ((135, 135, 135), (50, 50, 50), 1),
    38: ((140, 100, 80), None, 1),
    39: ((135, 135, 135), None, 2),
    40: ((40, 60, 150), None, 1),
    41: ((16, 16, 120), (200, 180, 60), 1),
    42: ((130, 90, 60), None, 1),
    43: ((135, 135, 135), (210, 200, 150), 1),
    44: ((110, 80, 50), None, 1),
    45: ((110, 80, 50), None, 2),
    46: ((130, 90, 60), None, 2),
    47: ((130, 90, 60), (210, 30, 30), 1),
    48: ((180, 170, 150), None, 1),
    49: ((135, 135, 135), (180, 125, 80), 1),
    50: ((105, 100, 90), None, 1),
    51: ((105, 100, 90), None, 2),
    52: ((105, 100, 90), (210, 30, 30), 1),
    53: ((105, 100, 90), (200, 180, 20), 1),
    54: ((145, 145, 140), None, 1),
    55: ((145, 145, 140), None, 2),
    56: ((160, 50, 20), None, 1),
    57: ((90, 90, 95), None, 1),
    58: ((135, 125, 105), None, 1),
    59: ((135, 125, 105), None, 2),
    60: ((100, 105, 120), None, 1),
    61: ((210, 210, 210), None, 1),
    62: ((100, 80, 50), (40, 150, 40), 1),
    63: ((190, 110, 120), None, 1),
}

# Average colour of each static's sprite in the shareware VSWAP (code: colour).
STATIC_COLOURS = {
    23: (3, 3, 208), 24: (17, 138, 14), 25: (147, 85, 31), 26: (140, 191, 92),
    27: (180, 176, 99), 28: (124, 150, 102), 29: (159, 135, 118), 30: (140, 140, 140),
    31: (66, 143, 36), 32: (178, 178, 178), 33: (169, 167, 161), 34: (106, 70, 81),
    35: (66, 67, 203), 36: (144, 110, 79), 37: (118, 155, 115), 38: (148, 120, 95),
    39: (78, 135, 135), 40: (181, 101, 29), 41: (178, 114, 57), 42: (158, 158, 158),
    43: (146, 141, 18), 44: (23, 125, 125), 45: (103, 103, 103), 46: (174, 111, 69),
    47: (88, 138, 101), 48: (159, 140, 170), 49: (25, 115, 113), 50: (83, 104, 104),
    51: (55, 88, 80), 52: (164, 155, 108), 53: (179, 170, 56), 54: (146, 116, 30),
    55: (160, 92, 28), 56: (98, 135, 159), 57: (174, 82, 82), 58: (111, 86, 66),
    59: (121, 121, 132), 60: (123, 123, 123), 61: (196, 3, 3), 62: (160, 87, 56),
    63: (147, 122, 0), 64: (204, 201, 199), 65: (203, 192, 190), 66: (186, 179, 175),
    67: (54, 119, 119), 68: (81, 78, 77), 69: (145, 99, 67), 70: (11, 63, 8),
    71: (25, 115, 113), 124: (130, 81, 71),
}
# Spear art that differs from Wolfenstein 3D at the same code (picked from the names).
SPEAR_STATIC_COLOURS = {
    33: (170, 60, 50), 38: (150, 60, 50), 45: (190, 180, 160), 63: (220, 40, 40),
    67: (150, 50, 40), 68: (170, 20, 20), 69: (160, 160, 150), 71: (200, 190, 180),
    72: (200, 170, 60), 73: (90, 110, 60), 74: (230, 200, 80),
}

ENEMY_COLOURS = {
    "Guard": (210, 160, 90),
    "Officer": (235, 235, 235),
    "SS": (90, 130, 255),
    "Dog": (230, 130, 40),
    "Mutant": (100, 220, 100),
}
BOSS_COLOURS = {
    160: (200, 200, 200), 178: (150, 170, 200), 179: (200, 140, 90), 196: (240, 240, 240),
    197: (250, 150, 200), 214: (110, 130, 255), 215: (120, 220, 120),
    106: (160, 200, 255), 107: (255, 90, 60), 125: (110, 230, 110), 142: (200, 200, 220),
    143: (120, 200, 220), 161: (255, 220, 80),
}
GHOST_COLOURS = {224: (255, 30, 30), 225: (255, 170, 50), 226: (255, 160, 210),
                 227: (40, 230, 230)}

DOOR_COLOURS = [(40, 200, 200), (240, 200, 0), (215, 220, 230), (210, 80, 210),
                (240, 110, 30), (160, 160, 160)]

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
INVALID = (200, 30, 30)
UNKNOWN = (90, 30, 30)  # codes the game does not know at all

# ---------------------------------------------------------------------------------------------
# 7 x 7 glyphs: "#" the main colour, "o" a second colour, "." left empty (black, which the map
# control leaves transparent when it draws an object).

ARROW_N = ["...#...", "..###..", ".#####.", "#######", "..###..", "..###..", "..###.."]
TURN_N = ["...#...", "..###..", ".#.#.#.", "...#...", "...#...", "...#...", "...#..."]
TURN_NE = ["..#####", ".....##", "....#.#", "...#..#", "..#....", ".#.....", "#......"]
BLOCKING = [".......", ".#####.", ".#####.", ".#####.", ".#####.", ".#####.", "......."]
LOOSE = [".......", ".......", "..###..", "..#.#..", "..###..", ".......", "......."]
HEALTH = [".......", ".ooooo.", ".oo#oo.", ".o###o.", ".oo#oo.", ".ooooo.", "......."]
FOOD = [".......", "...#...", "...#...", ".#####.", "...#...", "...#...", "......."]
GIBS = [".......", ".......", "...#...", "..###..", "...#...", ".......", "......."]
AMMO = [".......", ".o.o.o.", ".#.#.#.", ".#.#.#.", ".#.#.#.", ".#.#.#.", "......."]
HALF_AMMO = [".......", "..o.o..", "..#.#..", "..#.#..", "..#.#..", "..#.#..", "......."]
AMMO_BOX = [".......", ".ooooo.", ".o#o#o.", ".o#o#o.", ".o#o#o.", ".ooooo.", "......."]
MACHINE_GUN = [".......", ".......", "######.", "###....", ".#.....", ".......", "......."]
CHAIN_GUN = [".......", "#######", "###....", "#######", ".#.....", ".#.....", "......."]
KEY = [".......", ".......", ".##....", "#..####", ".##.#.#", ".......", "......."]
CROSS = [".......", "...#...", ".#####.", "...#...", "...#...", "...#...", "......."]
CHALICE = [".......", ".#####.", ".#####.", "..###..", "...#...", "..###..", "......."]
CHEST = [".......", ".......", ".#####.", ".ooooo.", ".#####.", ".#####.", "......."]
CROWN = [".......", ".#.#.#.", ".#.#.#.", ".#####.", ".#####.", ".......", "......."]
HEART = [".......", ".##.##.", "#######", "#######", ".#####.", "..###..", "...#..."]
SPEAR = ["......#", ".....#.", "....#..", "...#...", "..o....", ".o.....", "o......"]
PUSHWALL = ["#######", "#.....#", "#..#..#", "#.###.#", "#..#..#", "#.....#", "#######"]
EXIT = ["#o#o#o#", "o#o#o#o", "#o#o#o#", "o#o#o#o", "#o#o#o#", "o#o#o#o", "#o#o#o#"]
CORPSE = [".......", ".......", ".......", ".......", "o......", ".#####.", "..ooo.."]
SKULL = [".......", "..###..", ".#####.", ".#o#o#.", ".#####.", "..#.#..", "......."]
GHOST = [".......", "..###..", ".#####.", ".o#o##.", ".#####.", ".#.#.#.", "......."]
X_MARK = [".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."]

# Decorations, each drawn as what it is, in the colour of its sprite.
BONE = (235, 230, 215)
BLOOD = (200, 20, 20)
WATER = (60, 110, 255)
DARK = (70, 55, 40)
G = {
    "puddle": [".......", ".......", ".......", "..###..", ".#####.", "..###..", "......."],
    "barrel": [".......", "..###..", ".#ooo#.", ".#####.", ".#ooo#.", "..###..", "......."],
    "table_chairs": [".......", "...o...", ".#####.", "o#####o", ".#####.", "...o...", "......."],
    "table": [".......", ".......", "#######", ".#...#.", ".#...#.", ".#...#.", "......."],
    "floor_lamp": ["..###..", ".#####.", "...o...", "...o...", "...o...", "..ooo..", "......."],
    "chandelier": ["...o...", ".#.o.#.", ".#####.", "..###..", ".......", ".......", "......."],
    "ceiling_light": ["...o...", "...o...", "..###..", ".#####.", ".......", "..#.#..", "......."],
    "hanged": ["...o...", "..###..", "...#...", "..###..", "...#...", "..#.#..", "......."],
    "pillar": [".#####.", "..###..", "..###..", "..###..", "..###..", ".#####.", "......."],
    "tree": ["..###..", ".#####.", ".#####.", "..###..", "...o...", "..ooo..", "......."],
    "plant": ["...#...", ".#.#.#.", "..###..", "...#...", "..ooo..", "..ooo..", "......."],
    "skeleton": [".......", ".......", ".......", "##.#.#.", "#######", "##.#.#.", "......."],
    "sink": [".......", ".#####.", ".#ooo#.", "..###..", "...#...", "..###..", "......."],
    "vase": [".......", "..#.#..", "...#...", "..###..", ".#####.", "..###..", "......."],
    "utensils": ["ooooooo", ".#.#.#.", ".#.#.#.", ".#.#.#.", ".......", ".......", "......."],
    "armour": ["...#...", "..###..", ".#####.", "..###..", "..#.#..", "..#.#..", "......."],
    "cage": ["...#...", ".#####.", ".#.#.#.", ".#.#.#.", ".#.#.#.", ".#####.", "......."],
    "cage_with": ["...#...", ".#####.", ".#o#o#.", ".#ooo#.", ".#o#o#.", ".#####.", "......."],
    "bones": [".......", ".......", ".......", ".#...#.", "..#.#..", ".#.#.#.", "......."],
    "debris_1": [".......", ".......", ".......", ".......", ".#..#..", "#.##.#.", "......."],
    "debris_2": [".......", ".......", ".......", ".......", "..#.#.#", ".#.#.#.", "......."],
    "debris_3": [".......", ".......", ".......", ".......", "#...##.", ".###..#", "......."],
    "bed": [".......", ".......", "oo.....", "#######", "#######", "#.....#", "......."],
    "basket": [".......", ".......", ".#...#.", ".#####.", ".#o#o#.", "..###..", "......."],
    "well": [".......", ".#####.", "#ooooo#", "#ooooo#", "#ooooo#", ".#####.", "......."],
    "flag": [".o.....", ".#####.", ".#####.", ".#####.", ".o.....", ".o.....", ".o....."],
    "sign": ["#######", "#o#o#o#", "#######", "...#...", "...#...", "...#...", "......."],
    "pots": ["ooooooo", "..#..#.", ".###.#.", ".###.#.", ".......", ".......", "......."],
    "stove": [".......", "...#...", "..###..", ".#####.", ".#ooo#.", ".#####.", "......."],
    "rack": [".#.#.#.", ".#.#.#.", ".#.#.#.", ".#.#.#.", "#######", ".......", "......."],
    "vines": [".#...#.", "..#.#..", ".#...#.", "..#.#..", ".#...#.", "..#.#..", "......."],
    "impaled": ["...#...", "...#...", "..o#o..", "..ooo..", "...#...", "...#...", "..###.."],
    "carcass": ["...#...", "...#...", "..ooo..", "..ooo..", "..ooo..", "...o...", "......."],
    "statue": ["...#...", "..###..", "..###..", "...#...", "..###..", ".#####.", "......."],
    "truck": [".......", ".......", ".####..", ".######", ".######", "..o..o.", "......."],
}

# code: (glyph, second colour); colours of the first come from the sprite.
STATIC_GLYPHS = {
    23: ("puddle", None), 24: ("barrel", DARK), 25: ("table_chairs", DARK),
    26: ("floor_lamp", (200, 200, 120)), 27: ("chandelier", (200, 200, 120)),
    28: ("hanged", BONE), 30: ("pillar", None), 31: ("tree", (150, 110, 50)),
    32: ("skeleton", None), 33: ("sink", WATER), 34: ("plant", (60, 60, 200)),
    35: ("vase", None), 36: ("table", None), 37: ("ceiling_light", (200, 200, 200)),
    38: ("utensils", (110, 110, 110)), 39: ("armour", None), 40: ("cage", None),
    41: ("cage_with", BONE), 42: ("bones", None), 45: ("bed", (220, 220, 220)),
    46: ("basket", DARK), 58: ("barrel", DARK), 59: ("well", WATER), 60: ("well", BLACK),
    61: ("puddle", None), 62: ("flag", (200, 200, 200)), 63: ("sign", (230, 40, 40)),
    64: ("debris_1", None), 65: ("debris_2", None), 66: ("debris_3", None),
    67: ("pots", (110, 110, 110)), 68: ("stove", (230, 80, 30)), 69: ("rack", None),
    70: ("vines", None),
}
SPEAR_STATIC_GLYPHS = {
    33: ("impaled", BLOOD), 38: ("cage_with", BLOOD), 45: ("cage_with", BONE),
    63: ("ceiling_light", (255, 120, 120)), 67: ("carcass", BLOOD), 68: ("well", BLOOD),
    69: ("statue", None), 71: ("pillar", None), 73: ("truck", (40, 40, 40)),
}

LETTERS = {
    "Guard": ["###", "#..", "#.#", "#.#", "###"],
    "Officer": ["###", "#.#", "#.#", "#.#", "###"],
    "SS": ["###", "#..", "###", "..#", "###"],
    "Dog": ["##.", "#.#", "#.#", "#.#", "##."],
    "Mutant": ["#.#", "###", "###", "#.#", "#.#"],
}

# Cells of the facing mark on each edge.
FACING_CELLS = {
    "N": [(2, 0), (3, 0), (4, 0)], "S": [(2, 6), (3, 6), (4, 6)],
    "W": [(0, 2), (0, 3), (0, 4)], "E": [(6, 2), (6, 3), (6, 4)],
}
# Corner marks of the editor difficulty levels 3 and 4 (level 1 has none).
LEVEL_CELLS = {1: [], 3: [(0, 6), (6, 6)], 4: [(0, 0), (6, 0), (0, 6), (6, 6)]}
LEVEL_COLOUR = (255, 60, 60)


def rotate(glyph, turns):
    """The glyph turned clockwise by 90 degrees `turns` times."""
    for _ in range(turns % 4):
        glyph = ["".join(glyph[6 - x][y] for x in range(7)) for y in range(7)]
    return glyph


def arrow(base_n, base_ne, direction):
    """Arrows for N, NE, E, SE, ... from a north and a north-east glyph."""
    order = ["N", "NE", "E", "SE", "S", "SW", "W", "NW"]
    i = order.index(direction)
    return rotate(base_n if i % 2 == 0 else base_ne, i // 2)


def lift(colour, minimum=110):
    """A colour bright enough to stand out on the dark floors (and never near black)."""
    h, l, s = colorsys.rgb_to_hls(*(c / 255 for c in colour))
    l = max(l, minimum / 255)
    return tuple(round(c * 255) for c in colorsys.hls_to_rgb(h, l, max(s, 0.35)))


def darker(colour, factor=0.55):
    return tuple(int(c * factor) for c in colour)


class Picture:
    """The 448 x 112 symbols picture, top row first."""

    def __init__(self):
        self.pixels = [[BLACK] * 448 for _ in range(112)]

    def symbol(self, index):
        return SymbolPen(self, 7 * (index % 64), 7 * (index // 64))

    def bmp(self):
        """The 16-bit RGB555 bitmap the editor writes: 100406 bytes, bottom row first."""
        data = bytearray()
        for row in reversed(self.pixels):
            for r, g, b in row:
                data += struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        header = struct.pack("<2sIII", b"BM", 54 + len(data), 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, 448, 112, 1, 16, 0, 0, 1, 1, 0, 0)
        return header + info + bytes(data)


class SymbolPen:
    def __init__(self, picture, left, top):
        self.picture, self.left, self.top = picture, left, top

    def put(self, x, y, colour):
        self.picture.pixels[self.top + y][self.left + x] = colour

    def fill(self, colour):
        for y in range(7):
            for x in range(7):
                self.put(x, y, colour)

    def glyph(self, rows, colour, second=WHITE, dx=0, dy=0):
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == "#":
                    self.put(x + dx, y + dy, colour)
                elif c == "o":
                    self.put(x + dx, y + dy, second)

    def cells(self, cells, colour):
        for x, y in cells:
            self.put(x, y, colour)


# ---------------------------------------------------------------------------------------------

def read_facts(path):
    rows = {}
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            rows[(int(row["plane"]), int(row["code"]))] = row
    return rows


def enemy_kind(name):
    return name.split(",")[0].strip()


def object_name(game, code, row):
    spear = game == "Spear of Destiny"
    special = {**OBJECT_NAMES, **(SPEAR_OBJECT_NAMES if spear else WOLF_OBJECT_NAMES)}
    kind = row["kind"]
    if code in special:
        return special[code]
    if kind == "player":
        return "Player start, " + FACING_NAMES[row["facing"]]
    if kind == "turn":
        return "Turning point, " + FACING_NAMES[row["facing"]]
    if kind == "boss" and not spear:
        return WOLF_BOSS_NAMES[code]
    if kind == "enemy":
        if "broken" in row["name"]:
            return "Unused: standing dog (no spawn)"
        moving = "patrol" if "patrolling" in row["name"] else "standing"
        level = EDITOR_LEVEL[int(row["difficulty"])]
        return "%s %s %s, level %d" % (enemy_kind(row["name"]), moving,
                                        FACING_NAMES[row["facing"]], level)
    return row["name"]


def object_order(facts):
    """Objects in the order of the Objects page: start, statics and pick-ups, markers, each
    kind of enemy through its levels, bosses and ghosts, the dead guard."""
    rows = [(code, row) for (plane, code), row in facts.items()
            if plane == 1 and row["kind"] != "invalid"]

    def key(item):
        code, row = item
        kind = row["kind"]
        if kind == "enemy":
            kinds = ["Guard", "Officer", "SS", "Dog", "Mutant"]
            broken = "broken" in row["name"]
            return (3, kinds.index(enemy_kind(row["name"])), broken,
                    int(row["difficulty"]), code)
        group = {"player": 0, "static": 1, "pickup": 1, "treasure": 1, "turn": 2,
                 "pushwall": 2, "exit": 2, "boss": 4, "ghost": 5, "corpse": 6}[kind]
        return (group, 0, False, 0, code)

    return sorted(rows, key=key)


def blocks(row):
    return "does not block" not in row["notes"] and "blocks" in row["notes"]


def lists_text(game, facts):
    lines = []

    def entry(code, name, limit):
        assert len(name) <= MAX_NAME and '"' not in name, name
        line = '%d,"%s",' % (code, name)
        assert len(line) <= limit, line
        lines.append(line)

    # Code 0 heads both lists: the empty cell a button starts with.
    entry(0, "--- Nothing ---", MAX_WALL_LINE)
    for code in range(1, 64):
        if facts[(0, code)]["kind"] == "wall":
            entry(code, WALL_NAMES[code], MAX_WALL_LINE)
    for code in range(90, 102):
        lock = (code - 90) // 2
        text = ", ".join(filter(None, ["Door", DOOR_LOCK_NAMES[lock],
                                       "vertical" if code % 2 == 0 else "horizontal"]))
        entry(code, text, MAX_WALL_LINE)
    lines.append("*")
    entry(0, "--- Nothing ---", MAX_OBJECT_LINE)
    for code, row in object_order(facts):
        entry(code, object_name(game, code, row), MAX_OBJECT_LINE)
    lines.append("*")
    entry(106, "Ambush floor (deaf guards)", MAX_WALL_LINE)
    entry(107, "Floor area 0, secret elevator", MAX_WALL_LINE)
    for code in range(108, 144):
        entry(code, "Floor area %d" % (code - 107), MAX_WALL_LINE)
    lines.append("*")
    return "\n".join(lines) + "\n"


def sprinfo_text(game, facts):
    spear = game == "Spear of Destiny"
    shots = {**SHOTS, **(SPEAR_SHOTS if spear else WOLF_SHOTS)}
    out = [
        "; Object information of %s for the 3D view and the level statistics." % game,
        "; tile picture type flag [level]",
        ";   type 1 static (flag = bullets it gives), 2 player start (flag = facing),",
        ";   3 boss, 4 enemy (flag = facing, level = 1, 3 or 4), 5 turning point,",
        ";   6 pushwall marker; facing 0 east, 1 north, 2 west, 3 south.",
        "; tile texture 7 vertical lock sideTexture",
        ";   a door; textures below 0 count back from the last wall texture, where the",
        ";   game keeps its door pages (-8/-7 door, -6/-5 jambs, -4/-3 elevator, -2/-1 locked).",
        "",
        "; Doors",
    ]
    door_pages = {0: (-8, -7), 5: (-4, -3)}
    for code in range(90, 102):
        lock = (code - 90) // 2
        horizontal, vertical = door_pages.get(lock, (-2, -1))
        is_vertical = code % 2 == 0
        out.append("%d %d 7 %d %d %d" % (code, vertical if is_vertical else horizontal,
                                         1 if is_vertical else 0, lock,
                                         -6 if is_vertical else -5))
    sections = [
        ("Player starts", lambda r: r["kind"] == "player"),
        ("Statics, pick-ups and treasure",
         lambda r: r["kind"] in ("static", "pickup", "treasure", "corpse")),
        ("Turning points and the pushwall marker", lambda r: r["kind"] in ("turn", "pushwall")),
        ("Enemies", lambda r: r["kind"] == "enemy" and r["sprite"]),
        ("Bosses and ghosts", lambda r: r["kind"] in ("boss", "ghost")),
    ]
    objects = [(code, row) for (plane, code), row in sorted(facts.items()) if plane == 1]
    for title, wanted in sections:
        out += ["", "; " + title]
        for code, row in objects:
            if not wanted(row):
                continue
            kind = row["kind"]
            name = object_name(game, code, row)
            if kind == "player":
                line = "%d 0 2 %d" % (code, FACING_FLAG[row["facing"]])
            elif kind in ("static", "pickup", "treasure", "corpse"):
                line = "%d %s 1 %d" % (code, row["sprite"], shots.get(code, 0))
            elif kind == "turn":
                line = "%d 0 5 0" % code
            elif kind == "pushwall":
                line = "%d 0 6 0" % code
            elif kind == "enemy":
                line = "%d %s 4 %d %d" % (code, row["sprite"], FACING_FLAG[row["facing"]],
                                          EDITOR_LEVEL[int(row["difficulty"])])
            else:
                line = "%d %s 3 %d" % (code, row["sprite"], FACING_FLAG.get(row["facing"], 0))
            out.append("%-22s; %s" % (line, name))
    out += ["", "END", ""]
    return "\n".join(out)


def floor_colour(area):
    """Floors by area number: hues spread by the golden ratio, dark enough for objects."""
    hue = (area * 0.61803398875) % 1.0
    value = 0.42 if area % 2 == 0 else 0.52
    return tuple(round(c * 255) for c in colorsys.hsv_to_rgb(hue, 0.6, value))


def draw_wall(pen, look):
    main, detail, variant = look
    pen.fill(main)
    if detail and main == (100, 200, 230):  # landscape: sky above grass
        for y in range(4, 7):
            for x in range(7):
                pen.put(x, y, detail)
    elif detail:
        for y in range(2, 5):
            for x in range(2, 5):
                pen.put(x, y, detail)
    light = tuple(min(255, c + 70) for c in main)
    for i in range(variant - 1):
        pen.put(2 * i, 0, light)


def draw_door(pen, code):
    lock = (code - 90) // 2
    pen.fill((40, 40, 40))
    colour = DOOR_COLOURS[lock]
    vertical = code % 2 == 0
    for a in range(7):
        for b in range(2, 5):
            pen.put(b if vertical else a, a if vertical else b, colour)
    jamb = (15, 110, 110)
    for b in range(2, 5):
        for a in (0, 6):
            pen.put(b if vertical else a, a if vertical else b, jamb)
    if lock == 5:  # elevator doors: a light line down the middle
        for a in range(1, 6):
            pen.put(3 if vertical else a, a if vertical else 3, (230, 230, 230))


def draw_object(pen, game, code, row):
    spear = game == "Spear of Destiny"
    kind = row["kind"]
    if kind == "player":
        turns = {"N": 0, "E": 1, "S": 2, "W": 3}[row["facing"]]
        pen.glyph(rotate(ARROW_N, turns), (40, 240, 40))
    elif kind == "turn":
        pen.glyph(arrow(TURN_N, TURN_NE, row["facing"]), (250, 225, 40))
    elif kind == "pushwall":
        pen.glyph(PUSHWALL, (255, 40, 255))
    elif kind == "exit":
        pen.glyph(EXIT, (250, 250, 250), (230, 40, 40))
    elif kind == "corpse":
        pen.glyph(CORPSE, (190, 130, 80), (200, 20, 20))
    elif kind == "ghost":
        pen.glyph(GHOST, GHOST_COLOURS[code], WHITE)
    elif kind == "boss":
        pen.glyph(SKULL, BOSS_COLOURS[code], (255, 40, 40))
        if row["facing"]:
            pen.cells(FACING_CELLS[row["facing"]], WHITE)
    elif kind == "enemy":
        draw_enemy(pen, row)
    elif kind in ("static", "pickup", "treasure"):
        draw_static(pen, spear, code, row)
    else:
        pen.glyph(X_MARK, INVALID)


def draw_enemy(pen, row):
    kind = enemy_kind(row["name"])
    broken = "broken" in row["name"]
    colour = (120, 120, 120) if broken else ENEMY_COLOURS[kind]
    if "patrolling" in row["name"]:
        # Patrolling enemies carry a dim frame left and right of their letter.
        for y in range(1, 6):
            pen.put(1, y, darker(colour))
            pen.put(5, y, darker(colour))
    pen.glyph(LETTERS[kind], colour, dx=2, dy=1)
    pen.cells(FACING_CELLS[row["facing"]], WHITE)
    pen.cells(LEVEL_CELLS[EDITOR_LEVEL[int(row["difficulty"])]], LEVEL_COLOUR)
    if broken:
        pen.cells([(1, 1), (5, 5), (5, 1), (1, 5)], INVALID)


def draw_static(pen, spear, code, row):
    colour = (SPEAR_STATIC_COLOURS.get(code) if spear else None) or STATIC_COLOURS.get(code)
    colour = lift(colour or (160, 160, 160))
    name = row["name"].lower()
    gold, silver = (245, 205, 0), (205, 225, 235)
    if code == 48:
        pen.glyph(HEALTH, (230, 20, 20), (245, 245, 245))
    elif code in (29, 47):
        pen.glyph(FOOD, (235, 60, 60) if code == 47 else (220, 150, 70))
    elif code == 57:
        pen.glyph(GIBS, (200, 30, 30))
    elif code == 49:
        pen.glyph(AMMO, (210, 170, 60), (240, 220, 150))
    elif code == 71 and not spear:
        pen.glyph(HALF_AMMO, (210, 170, 60), (240, 220, 150))
    elif code == 72 and spear:
        pen.glyph(AMMO_BOX, (210, 170, 60), (120, 100, 60))
    elif code == 50:
        pen.glyph(MACHINE_GUN, (150, 190, 200))
    elif code == 51:
        pen.glyph(CHAIN_GUN, (60, 210, 210))
    elif code in (43, 44):
        pen.glyph(KEY, gold if code == 43 else silver)
    elif code == 52:
        pen.glyph(CROSS, gold)
    elif code == 53:
        pen.glyph(CHALICE, gold)
    elif code == 54:
        pen.glyph(CHEST, gold, (150, 90, 30))
    elif code == 55:
        pen.glyph(CROWN, gold)
    elif code == 56:
        pen.glyph(HEART, (90, 190, 255))
    elif code == 74 and spear:
        pen.glyph(SPEAR, (250, 230, 120), (150, 100, 40))
    else:
        glyph = (SPEAR_STATIC_GLYPHS.get(code) if spear else None) or STATIC_GLYPHS.get(code)
        if glyph:
            pen.glyph(G[glyph[0]], colour, glyph[1] or lift(darker(colour), 70))
        else:
            pen.glyph(BLOCKING if blocks(row) else LOOSE, colour)
    assert name  # every static has a name in the facts


def symbols_picture(game, facts):
    picture = Picture()
    for code in range(1, 512):
        pen = picture.symbol(code)
        row = facts.get((0, code))
        kind = row["kind"] if row else "unknown"
        if kind == "wall":
            draw_wall(pen, WALL_LOOKS[code])
        elif kind == "door":
            draw_door(pen, code)
        elif kind == "ambush":
            for y in range(7):
                for x in range(7):
                    pen.put(x, y, (70, 70, 70) if (x + y) % 2 else (35, 35, 35))
        elif kind == "floor":
            pen.fill(floor_colour(code - 107))
        else:
            pen.glyph(X_MARK, INVALID if row else UNKNOWN)
    for code in range(1, 512):
        pen = picture.symbol(512 + code)
        row = facts.get((1, code))
        if row:
            draw_object(pen, game, code, row)
        else:
            pen.glyph(X_MARK, UNKNOWN)
    return picture


def measure(vswap_path, palette_path):
    """Prints the average colour of every wall texture and every sprite of a VSWAP."""
    data = open(vswap_path, "rb").read()
    palette = open(palette_path, "rb").read()
    count, sprite_start, sound_start = struct.unpack_from("<HHH", data, 0)
    offsets = struct.unpack_from("<%dI" % count, data, 6)
    lengths = struct.unpack_from("<%dH" % count, data, 6 + 4 * count)

    def average(indices):
        indices = list(indices)
        if not indices:
            return None
        return tuple(round(sum(palette[3 * i + k] for i in indices) / len(indices))
                     for k in range(3))

    for page in range(sprite_start):
        chunk = data[offsets[page]:offsets[page] + lengths[page]]
        print("wall page %d: %s" % (page, average(chunk) if len(chunk) == 4096 else "-"))
    for page in range(sprite_start, sound_start):
        chunk = data[offsets[page]:offsets[page] + lengths[page]]
        pixels = []
        if len(chunk) >= 4:
            left, right = struct.unpack_from("<HH", chunk, 0)
            for i in range(right - left + 1):
                post = struct.unpack_from("<H", chunk, 4 + 2 * i)[0]
                while struct.unpack_from("<H", chunk, post)[0]:
                    end, source, start = struct.unpack_from("<HhH", chunk, post)
                    pixels += [chunk[source + y] for y in range(start // 2, end // 2)]
                    post += 6
        print("sprite %d: %s" % (page - sprite_start, average(pixels)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--facts", default=os.path.join(REPO, "..", "shared", "gamefacts"))
    parser.add_argument("--out", default=os.path.join(REPO, "resources", "MapObjects"))
    parser.add_argument("--measure", nargs=2, metavar=("VSWAP", "PALETTE"))
    args = parser.parse_args()
    if args.measure:
        measure(*args.measure)
        return 0
    for game, table in GAMES.items():
        facts = read_facts(os.path.join(args.facts, table))
        folder = os.path.join(args.out, game)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "Lists.txt"), "w", newline="") as f:
            f.write(lists_text(game, facts))
        with open(os.path.join(folder, "sprinfo.txt"), "w", newline="") as f:
            f.write(sprinfo_text(game, facts))
        with open(os.path.join(folder, "symbols.bmp"), "wb") as f:
            f.write(symbols_picture(game, facts).bmp())
        print("wrote", folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
