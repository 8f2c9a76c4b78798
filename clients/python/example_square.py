#!/usr/bin/env python3
"""Plays a square with the wrist centre around where it stands, and saves a
picture of the end.

    build/kalimbrax default --port 5555 &
    python3 clients/python/example_square.py 5555

The arm jumps to the first corner with `pose`, then goes round the square in
real time with `moveto`, each corner's angles computed by `mgi` from where
the arm stands, and the picture lands in the data directory as square.png.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalimbrax import Kalimbrax  # noqa: E402


def main():
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 5555
    half = (float(sys.argv[2]) if len(sys.argv) > 2 else 200.0) / 2
    with Kalimbrax(port) as k:
        x, y, z, alpha, beta, gamma = k.get_pose()
        corners = [(x - half, y - half), (x + half, y - half), (x + half, y + half), (x - half, y + half),
                   (x - half, y - half)]
        first = corners[0]
        print("premier coin :", k.pose(first[0], first[1], z, alpha, beta, gamma))
        for cx, cy in corners[1:]:
            angles = k.mgi(cx, cy, z, alpha, beta, gamma)
            k.moveto(*angles)
            print("coin (%.1f, %.1f) : pose %s" % (cx, cy, " ".join("%.2f" % v for v in k.get_pose())))
        print("image :", k.screenshot("square.png"))


if __name__ == "__main__":
    main()
