"""What the planned-move end-to-end tests share: a move watched from a
second connection, and the geometry its checks need.

A move's reply comes only on arrival, so the move goes out on a connection
of its own and the arm is polled on another until that reply is there.
Each poll pipelines "get angles", "get pose" and "get matrix" in one send:
the port serves a client's waiting lines one after the other within a tick
of its command timer, so the three answers describe the same instant and a
poll costs one tick, not three. Orientations are compared through "get
matrix": "get pose" gives alpha = beta = 0 for every half turn of the
hand, whatever its axis.
"""

import math
import re
import select
import socket
import time

from kalimbrax import KalimbraxError


class Checks:
    """Prints each check as it goes and counts the failures."""

    def __init__(self):
        self.failures = 0

    def __call__(self, what, condition, detail=""):
        print(("ok: " if condition else "ÉCHEC: ") + what + ("" if condition else "  " + str(detail)), flush=True)
        self.failures += 0 if condition else 1
        return condition


class Poll:
    """The arm at one instant."""

    def __init__(self, angles, pose, matrix):
        self.angles, self.pose, self.matrix = angles, pose, matrix

    @property
    def point(self):
        return self.pose[:3]

    @property
    def rotation(self):
        return rows(self.matrix[:9])


class Followed:
    """A move's reply and the polls taken while it ran."""

    def __init__(self, reply, polls):
        self.reply, self.polls = reply, polls

    @property
    def duration(self):
        """The duration the reply announced; None for an erreur."""
        word, _, rest = self.reply.partition(" ")
        return float(rest) if word == "ok" else None


def numbers(line):
    word, _, rest = line.partition(" ")
    if word != "ok":
        raise KalimbraxError(line)
    return tuple(float(v) for v in rest.split())


class Watcher:
    """Two raw connections to the port: one sends moves, the other polls."""

    def __init__(self, port):
        self._mover = socket.create_connection(("127.0.0.1", port), timeout=120)
        self._moves = self._mover.makefile("r", encoding="utf-8")
        self._poller = socket.create_connection(("127.0.0.1", port), timeout=120)
        self._polls = self._poller.makefile("r", encoding="utf-8")

    def close(self):
        for f in (self._moves, self._mover, self._polls, self._poller):
            f.close()

    def poll(self):
        self._poller.sendall(b"get angles\nget pose\nget matrix\n")
        return Poll(*(numbers(self._polls.readline().strip()) for _ in range(3)))

    def poller_command(self, line):
        """One line on the polling connection, for what must happen while a
        move runs (a stop); returns the reply."""
        self._poller.sendall(line.encode("utf-8") + b"\n")
        return self._polls.readline().strip()

    def follow(self, line, during=None, timeout=60):
        """Sends a move and polls as fast as the port answers until its
        reply (a minute at most: a deadline, not a measure);
        `during(polls)` is called after each poll."""
        polls = []
        deadline = time.monotonic() + timeout
        self._mover.sendall(line.encode("utf-8") + b"\n")
        while True:
            polls.append(self.poll())
            if during:
                during(polls)
            if select.select([self._mover], [], [], 0)[0]:
                return Followed(self._moves.readline().strip(), polls)
            if time.monotonic() > deadline:
                return Followed("pas de réponse en %d s" % timeout, polls)


def robot_numbers(data):
    """The numeric keys of a data set's robot.opt (its comments are in
    Windows-1252)."""
    text = open(data + "/robot.opt", encoding="cp1252").read()
    return {key: float(value) for key, value in re.findall(r"^\s*(\w+)\s*=\s*([-0-9.]+)\s*;", text, re.M)}


# --- vectors and rotations (rotations as three rows) ----------------------------

def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def scale(a, k):
    return tuple(x * k for x in a)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def norm(a):
    return math.sqrt(dot(a, a))


def unit(a):
    return scale(a, 1 / norm(a))


def rows(nine):
    return (tuple(nine[0:3]), tuple(nine[3:6]), tuple(nine[6:9]))


def transpose(r):
    return tuple(zip(*r))


def multiply(a, b):
    bt = transpose(b)
    return tuple(tuple(dot(row, column) for column in bt) for row in a)


def turn_angle(r):
    """The angle of a rotation, degrees (0 to 180)."""
    cosine = (r[0][0] + r[1][1] + r[2][2] - 1) / 2
    return math.degrees(math.acos(max(-1.0, min(1.0, cosine))))


def angle_between(a, b):
    """Degrees of the turn from orientation a to orientation b."""
    return turn_angle(multiply(transpose(a), b))


def rotation_about(axis, degrees):
    x, y, z = unit(axis)
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    v = 1 - c
    return ((v * x * x + c, v * x * y - s * z, v * x * z + s * y),
            (v * x * y + s * z, v * y * y + c, v * y * z - s * x),
            (v * x * z - s * y, v * y * z + s * x, v * z * z + c))


def pose_angles(r):
    """alpha, beta, gamma of a rotation that is not a half turn nor none
    (the convention of kalimbrax.pose_matrix)."""
    gamma = turn_angle(r)
    s = 2 * math.sin(math.radians(gamma))
    ux, uy, uz = (r[2][1] - r[1][2]) / s, (r[0][2] - r[2][0]) / s, (r[1][0] - r[0][1]) / s
    beta = math.degrees(math.acos(max(-1.0, min(1.0, uz))))
    alpha = math.degrees(math.atan2(ux, -uy))
    return alpha, beta, gamma


def distance_to_segment(p, a, b):
    ab = sub(b, a)
    t = max(0.0, min(1.0, dot(sub(p, a), ab) / dot(ab, ab)))
    return norm(sub(p, add(a, scale(ab, t))))


def fraction_along(p, a, b):
    ab = sub(b, a)
    return dot(sub(p, a), ab) / dot(ab, ab)


class Circle:
    """The circle through three points."""

    def __init__(self, a, b, c):
        ab, ac = sub(b, a), sub(c, a)
        n = cross(ab, ac)
        nn = dot(n, n)
        # The circumcentre, from the two chords' perpendicular bisectors.
        offset = scale(add(scale(cross(n, ab), dot(ac, ac)), scale(cross(ac, n), dot(ab, ab))), 1 / (2 * nn))
        self.centre = add(a, offset)
        self.normal = unit(n)
        self.radius = norm(offset)
        self._x = unit(sub(a, self.centre))
        self._y = cross(self.normal, self._x)

    def distance(self, p):
        d = sub(p, self.centre)
        height = dot(d, self.normal)
        across = norm(sub(d, scale(self.normal, height)))
        return math.hypot(height, across - self.radius)

    def angle(self, p):
        """Degrees from the first point, turning toward the second (0 to 360)."""
        d = sub(p, self.centre)
        return math.degrees(math.atan2(dot(d, self._y), dot(d, self._x))) % 360
