#!/usr/bin/env python3
"""Writes the small binary PPM images that the example scenes use.

    python3 examples/make-images.py

The images are committed; run this again only to change them. Each image is a
binary PPM ("P6", maximum 255) written top row first.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write_ppm(name, width, height, pixel):
    """pixel(x, y) gives (r, g, b) for column x and row y, row 0 at the top."""
    data = bytearray()
    for y in range(height):
        for x in range(width):
            data.extend(pixel(x, y))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(bytes(data))


def sky(x, y):
    # Deep blue at the top fading to a pale haze at the horizon.
    t = y / 31.0
    return (int(30 + 150 * t), int(60 + 140 * t), int(140 + 90 * t))


def tiles(x, y):
    # Terracotta tiles with light grout lines every fourth texel.
    if x % 4 == 0 or y % 4 == 0:
        return (225, 215, 190)
    shade = 20 * ((x // 4 + y // 4) % 2)
    return (180 - shade, 80 - shade // 2, 50)


def main():
    write_ppm("sky.ppm", 64, 32, sky)
    write_ppm("tiles.ppm", 17, 17, tiles)


if __name__ == "__main__":
    main()
