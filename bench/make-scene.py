#!/usr/bin/env python3
"""Writes bench/scene64.gsc, the benchmark scene: 64 objects (40 spheres,
12 boxes, 12 triangles), 3 lights, a third of the objects mirrors with
reflect 0.5, a floor and a back wall that fill the 640 x 480 frame.

    python3 bench/make-scene.py

The scene is committed; run this again only to change it.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

MATERIALS = [
    # ambient, diffuse, specular, then n reflect refract opacity texture
    ("30 30 30   200 200 190   60 60 60", "10 0 0 1 null"),       # 0 floor
    ("20 24 40   90 110 170    40 40 40", "10 0 0 1 null"),       # 1 back wall
    ("8 8 10     40 40 45      255 255 255", "100 0.5 0 1 null"),  # 2 mirror
    ("40 8 8     200 40 40     255 255 255", "40 0 0 1 null"),     # 3 red
    ("8 30 12    40 170 70     200 200 200", "30 0 0 1 null"),     # 4 green
    ("30 26 6    210 170 40    255 230 160", "25 0 0 1 null"),     # 5 gold
]


def main():
    lines = ["GSD 2.0",
             "! Benchmark scene for glintcmd: written by bench/make-scene.py.",
             "#CAMERA",
             "0 5 18   0 2 0   0 1 0",
             "50",
             "1 200",
             "640 480",
             "#SCENE",
             "0 0 0 null",
             "#MATERIAL"]
    for colours, rest in MATERIALS:
        lines += [colours, rest]
    lines += ["#LIGHT",
              "-12 14 10   200 200 200",
              "10 12 8     150 150 140",
              "0 20 -5     120 120 150"]

    spheres, boxes, triangles = [], [], []
    # The floor and the back wall come first: most rays meet them.
    boxes.append((0, (-60, -1, -30), (60, 0, 40)))
    boxes.append((1, (-60, -1, -21), (60, 60, -20)))
    # 40 spheres resting on the floor, a grid of 8 x 5.
    radii = [0.6, 0.8, 1.0, 1.2]
    n = 0
    for row in range(5):
        for col in range(8):
            r = radii[(row + col) % 4]
            x = -10.5 + 3 * col
            z = -12 + 4 * row
            material = 2 if n % 3 == 0 else 3 + n % 3
            spheres.append((material, r, (x, r, z)))
            n += 1
    # 10 crates in a row before the spheres.
    for i in range(10):
        x = -13.5 + 3 * i
        material = 2 if i % 3 == 0 else 5
        boxes.append((material, (x - 0.6, 0, 7), (x + 0.6, 1.2 + 0.2 * (i % 3), 8.2)))
    # 12 upright sails along the back.
    for i in range(12):
        x = -16.5 + 3 * i
        material = 2 if i % 3 == 0 else 4
        triangles.append((material, (x - 1.2, 0, -16), (x + 1.2, 0, -16), (x, 4 + (i % 3), -16.5)))

    def p(v):
        return " ".join("%g" % c for c in v)

    lines.append("#SPHERE")
    lines += ["%d %g   %s" % (m, r, p(c)) for m, r, c in spheres]
    lines.append("#BOX")
    lines += ["%d   %s   %s" % (m, p(a), p(b)) for m, a, b in boxes]
    lines.append("#TRIANGLE")
    lines += ["%d   %s   %s   %s" % (m, p(a), p(b), p(c)) for m, a, b, c in triangles]
    assert len(spheres) + len(boxes) + len(triangles) == 64
    mirrors = sum(1 for o in spheres + boxes + triangles if o[0] == 2)
    assert 20 <= mirrors <= 23, mirrors

    with open(os.path.join(HERE, "scene64.gsc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
