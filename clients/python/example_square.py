#!/usr/bin/env python3
"""Draws a square with the wrist centre around where it stands, the hand
kept as it is, and saves a picture of the end.

    build/kalimbrax default --port 5555 &
    python3 clients/python/example_square.py 5555 [SIDE]

Every side is a `movel`: the wrist centre goes straight from corner to
corner, the whole line planned and checked before the arm moves. The
trail is shown, and the picture lands in the data directory as square.png.
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
        k.show("trail")
        corners = [(x - half, y - half), (x + half, y - half), (x + half, y + half), (x - half, y + half),
                   (x - half, y - half)]
        for cx, cy in corners:
            duration = k.movel(cx, cy, z, alpha, beta, gamma)
            print("coin (%.1f, %.1f) en %.2f s : pose %s" % (cx, cy, duration,
                                                             " ".join("%.2f" % v for v in k.get_pose())))
        print("image :", k.screenshot("square.png"))


if __name__ == "__main__":
    main()
