#!/usr/bin/env python3
"""Writes the editor's built-in sample level and text screen:

    resources/builtin/Wolf3DMap.bin     16384 bytes: plane 0, then plane 1 (4096 words each)
    resources/builtin/Wolf3DScreen.bin  4000 bytes: 80 x 25 cells of character and attribute

Run by hand after changing the level or the screen below; the output is committed:

    python3 tools/make_builtin.py [--out DIR] [--show]

--show prints the level as text (walls, doors, floors and objects) and the screen with its
characters, to check a change without starting the editor.
"""

import argparse
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

SIDE = 64
# Where the level's own coordinates start inside the 64 x 64 grid (keeps it centred).
OFFSET_X, OFFSET_Y = 8, 19

GREY_STONE, GREY_STONE_2, FLAG, PORTRAIT = 1, 2, 3, 4
CELL, CELL_SKELETON, BLUE_STONE = 5, 7, 8
WOOD_EAGLE, WOOD = 10, 12
STEEL, RED_BRICK, EAGLE_BANNER, ELEVATOR_SWITCH = 15, 17, 20, 21
DOOR_V, DOOR_H, GOLD_DOOR_V, ELEVATOR_DOOR_H = 90, 91, 92, 101
AMBUSH = 106
FIRST_AREA = 108

# Rooms as (left, top, right, bottom, wall code), walls inclusive. A wall cell that an earlier
# room already built stays as it is, so neighbouring rooms share their walls.
ROOMS = [
    (2, 2, 12, 10, GREY_STONE),    # start room
    (12, 2, 30, 10, WOOD),         # hall
    (30, 2, 44, 10, BLUE_STONE),   # dog yard
    (2, 10, 44, 14, GREY_STONE_2), # corridor
    (12, 14, 24, 22, RED_BRICK),   # treasure room
    (2, 14, 12, 22, BLUE_STONE),   # prison
    (36, 14, 42, 20, STEEL),       # elevator
    (24, 16, 30, 20, RED_BRICK),   # secret closet behind a pushwall
]

WALL_DECORATIONS = [
    (7, 2, FLAG), (2, 6, PORTRAIT), (21, 2, WOOD_EAGLE), (18, 22, EAGLE_BANNER),
    (5, 22, CELL), (9, 22, CELL_SKELETON), (42, 17, ELEVATOR_SWITCH),
]

DOORS = [
    (12, 6, DOOR_V), (30, 6, GOLD_DOOR_V), (7, 10, DOOR_H), (21, 10, DOOR_H),
    (37, 10, DOOR_H), (7, 14, DOOR_H), (18, 14, DOOR_H), (39, 14, ELEVATOR_DOOR_H),
]

AMBUSH_CELLS = [(34, 12)]

PUSHWALL = 98
OBJECTS = [
    # start room
    (5, 6, 20), (4, 4, 26), (8, 4, 25), (9, 8, 49), (3, 9, 35),
    # hall: chandeliers, tables, plants and its guards
    (16, 6, 27), (26, 6, 27), (18, 4, 25), (24, 4, 25), (18, 8, 25), (24, 8, 25),
    (13, 3, 31), (29, 3, 31), (13, 9, 31), (29, 9, 31),
    (15, 8, 108), (27, 8, 128), (22, 8, 117), (21, 4, 146),
    # dog yard: a dog going round four turning points, a well and two barrels
    (35, 4, 138), (42, 4, 96), (42, 8, 94), (32, 8, 92), (32, 4, 90),
    (37, 6, 59), (34, 6, 24), (40, 6, 24), (40, 9, 145), (31, 9, 198),
    # corridor
    (10, 12, 37), (20, 12, 37), (30, 12, 37), (40, 12, 37), (26, 12, 124), (34, 12, 111),
    # treasure room
    (14, 16, 43), (16, 19, 52), (20, 19, 53), (22, 16, 48), (18, 16, 119),
    (13, 21, 39), (23, 21, 39), (24, 18, PUSHWALL),
    # secret closet
    (26, 18, 54), (28, 18, 55), (27, 17, 56),
    # prison: an SS patrolling between two turning points
    (4, 18, 130), (10, 18, 94), (3, 18, 90), (7, 16, 28), (6, 20, 42), (9, 21, 29),
]


def build_level():
    plane0 = [[0] * SIDE for _ in range(SIDE)]
    plane1 = [[0] * SIDE for _ in range(SIDE)]
    floor = set()
    for left, top, right, bottom, wall in ROOMS:
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                edge = x in (left, right) or y in (top, bottom)
                if edge and (x, y) not in floor and plane0[y][x] == 0:
                    plane0[y][x] = wall
                elif not edge:
                    floor.add((x, y))
    for x, y, code in WALL_DECORATIONS + DOORS:
        assert plane0[y][x] != 0, (x, y)
        plane0[y][x] = code
    for x, y, code in DOORS:
        vertical = code % 2 == 0
        jambs = [(x, y - 1), (x, y + 1)] if vertical else [(x - 1, y), (x + 1, y)]
        assert all(plane0[j][i] in range(1, 64) for i, j in jambs), (x, y)

    # Every room (floor joined without crossing a door) gets its own area code.
    area = FIRST_AREA
    for start in sorted(floor, key=lambda c: (c[1], c[0])):
        if plane0[start[1]][start[0]] != 0:
            continue
        todo = [start]
        while todo:
            x, y = todo.pop()
            if (x, y) not in floor or plane0[y][x] != 0:
                continue
            plane0[y][x] = area
            todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
        area += 1
    assert area <= 144
    for x, y in AMBUSH_CELLS:
        plane0[y][x] = AMBUSH

    for x, y, code in OBJECTS:
        assert plane1[y][x] == 0, (x, y)
        on_wall = plane0[y][x] in range(1, 64)
        assert on_wall == (code == PUSHWALL), (x, y, code)
        plane1[y][x] = code

    def placed(plane):
        grid = [[0] * SIDE for _ in range(SIDE)]
        for y in range(SIDE):
            for x in range(SIDE):
                if plane[y][x]:
                    grid[y + OFFSET_Y][x + OFFSET_X] = plane[y][x]
        return grid

    return placed(plane0), placed(plane1)


def level_bytes(plane0, plane1):
    words = [w for plane in (plane0, plane1) for row in plane for w in row]
    return struct.pack("<%dH" % len(words), *words)


# ---------------------------------------------------------------------------------------------
# The text screen: code page 437 characters with VGA text attributes (background << 4 | fore).

BIG_LETTERS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#.."],
    "E": ["#####", "#....", "####.", "#....", "#####"],
    "S": [".####", "#....", ".###.", "....#", "####."],
    "A": [".###.", "#...#", "#####", "#...#", "#...#"],
    "R": ["####.", "#...#", "####.", "#..#.", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "####."],
}

BLUE, GREEN, CYAN, RED, BROWN, LIGHT_GREY = 1, 2, 3, 4, 6, 7
DARK_GREY, LIGHT_BLUE, LIGHT_CYAN, LIGHT_RED, YELLOW, WHITE = 8, 9, 11, 12, 14, 15
FULL_BLOCK, DARK_SHADE, LIGHT_SHADE = 0xDB, 0xB2, 0xB0
DOUBLE = {"tl": 0xC9, "tr": 0xBB, "bl": 0xC8, "br": 0xBC, "h": 0xCD, "v": 0xBA}
SINGLE_H = 0xC4


def build_screen():
    cells = [[(ord(" "), (BLUE << 4) | LIGHT_GREY) for _ in range(80)] for _ in range(25)]

    def put(x, y, char, attribute):
        cells[y][x] = (char if isinstance(char, int) else ord(char), attribute)

    def text(x, y, string, attribute):
        for i, c in enumerate(string):
            put(x + i, y, c, attribute)

    def centred(y, string, attribute):
        text((80 - len(string)) // 2, y, string, attribute)

    frame = (BLUE << 4) | LIGHT_CYAN
    for x in range(1, 79):
        put(x, 0, DOUBLE["h"], frame)
        put(x, 24, DOUBLE["h"], frame)
    for y in range(1, 24):
        put(0, y, DOUBLE["v"], frame)
        put(79, y, DOUBLE["v"], frame)
    put(0, 0, DOUBLE["tl"], frame)
    put(79, 0, DOUBLE["tr"], frame)
    put(0, 24, DOUBLE["bl"], frame)
    put(79, 24, DOUBLE["br"], frame)

    word = "TESSARAND"
    left = (80 - (6 * len(word) - 1)) // 2
    for i, letter in enumerate(word):
        for row, line in enumerate(BIG_LETTERS[letter]):
            for col, c in enumerate(line):
                if c == "#":
                    x, y = left + 6 * i + col, 3 + row
                    put(x, y, FULL_BLOCK, (BLUE << 4) | YELLOW)
                    # a shadow to the lower right
                    if cells[y + 1][x + 1][0] != FULL_BLOCK:
                        put(x + 1, y + 1, DARK_SHADE, (BLUE << 4) | BROWN)
    for x in range(left, left + 6 * len(word) - 1):
        put(x, 10, SINGLE_H, (BLUE << 4) | LIGHT_CYAN)

    centred(12, "An editor for the data files of Wolfenstein 3D", (BLUE << 4) | WHITE)
    centred(13, "and the games built on its engine", (BLUE << 4) | WHITE)

    box = (CYAN << 4) | BLUE
    for y in range(15, 21):
        for x in range(14, 66):
            put(x, y, " ", box)
    for x in range(15, 67):
        put(x, 21, LIGHT_SHADE, (BLUE << 4) | DARK_GREY)
    for y in range(16, 22):
        put(66, y, LIGHT_SHADE, (BLUE << 4) | DARK_GREY)
    centred(16, "This is the built-in sample screen.", box)
    centred(18, "Load a VGAGRAPH file to edit the", box)
    centred(19, "text screens of your game.", box)

    text(3, 23, " 80 x 25 ", (LIGHT_GREY << 4) | BLUE)
    text(62, 23, " Get psyched! ", (RED << 4) | YELLOW | 0x80)
    return cells


def screen_bytes(cells):
    return bytes(b for row in cells for char, attribute in row for b in (char, attribute))


def show(plane0, plane1, cells):
    object_marks = {19: "^", 20: ">", 21: "v", 22: "<", 98: "P"}
    for y in range(SIDE):
        line = ""
        for x in range(SIDE):
            wall, thing = plane0[y][x], plane1[y][x]
            if thing in object_marks:
                line += object_marks[thing]
            elif thing >= 108:
                line += "E"
            elif thing:
                line += "o"
            elif wall == 0:
                line += " "
            elif wall < 64:
                line += "#"
            elif wall in range(90, 102):
                line += "|" if wall % 2 == 0 else "-"
            elif wall == AMBUSH:
                line += "!"
            else:
                line += "abcdefghijklmnopqrstuvwxyz"[(wall - FIRST_AREA) % 26]
        if line.strip():
            print(line.rstrip())
    cp437 = {0xDB: "\u2588", 0xB2: "\u2593", 0xB0: "\u2591", 0xC4: "\u2500", 0xC9: "\u2554",
             0xBB: "\u2557", 0xC8: "\u255a", 0xBC: "\u255d", 0xCD: "\u2550", 0xBA: "\u2551"}
    for row in cells:
        print("".join(cp437.get(c, chr(c)) for c, _ in row))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", default=os.path.join(REPO, "resources", "builtin"))
    parser.add_argument("--show", action="store_true")
    args = parser.parse_args()
    plane0, plane1 = build_level()
    cells = build_screen()
    if args.show:
        show(plane0, plane1, cells)
    os.makedirs(args.out, exist_ok=True)
    level = level_bytes(plane0, plane1)
    screen = screen_bytes(cells)
    assert len(level) == 16384 and len(screen) == 4000
    with open(os.path.join(args.out, "Wolf3DMap.bin"), "wb") as f:
        f.write(level)
    with open(os.path.join(args.out, "Wolf3DScreen.bin"), "wb") as f:
        f.write(screen)
    print("wrote", args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
