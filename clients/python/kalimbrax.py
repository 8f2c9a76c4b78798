"""A client of Kalimbrax's command port, standard library only.

Start the simulator with a port, then drive it from Python:

    $ build/kalimbrax default --port 5555
    >>> from kalimbrax import Kalimbrax
    >>> with Kalimbrax(port=5555) as k:
    ...     k.moveto(0, 60, 20, 0, 45, 0)      # real-time motion, returns on arrival
    ...     print(k.get_pose())                 # (X, Y, Z, alpha, beta, gamma)
    ...     k.screenshot("vue.png")             # into the data directory

One method per command of the language; angles in degrees, positions in
pose units (hundredths of a scene unit). A command the simulator refuses
raises KalimbraxError with its French message.
"""

import math
import socket

__all__ = ["Kalimbrax", "KalimbraxError", "pose_matrix", "pose_matches"]


class KalimbraxError(Exception):
    """A command refused by the simulator; the message is its own."""


class Kalimbrax:
    """One connection to the command port (127.0.0.1 only)."""

    def __init__(self, port, host="127.0.0.1", timeout=120.0):
        self._socket = socket.create_connection((host, port), timeout=timeout)
        self._replies = self._socket.makefile("rb")

    def close(self):
        self._replies.close()
        self._socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def command(self, line):
        """Sends one line and returns the words after "ok"."""
        self._socket.sendall(line.encode("utf-8") + b"\n")
        reply = self._replies.readline().decode("utf-8").rstrip("\r\n")
        if not reply:
            raise KalimbraxError("connexion fermée par le simulateur")
        word, _, rest = reply.partition(" ")
        if word == "erreur":
            raise KalimbraxError(rest)
        if word != "ok":
            raise KalimbraxError("réponse inattendue : " + reply)
        return rest.split()

    def _six(self, verb, values):
        if len(values) != 6:
            raise ValueError("%s : 6 nombres attendus, %d reçus" % (verb, len(values)))
        return self.command(verb + " " + " ".join(format(float(v), ".9g") for v in values))

    @staticmethod
    def _floats(words):
        return tuple(float(w) for w in words)

    # --- moving the arm ----------------------------------------------------

    def angles(self, *values):
        """Sets the arm's six joint angles at once."""
        self._six("angles", values)

    def pose(self, *values):
        """Puts the wrist centre and hand on a pose at once (inverse model);
        returns the six angles taken."""
        return self._floats(self._six("pose", values))

    def target(self, *values):
        """Sets the real-time targets (real time switches on)."""
        self._six("target", values)

    def go(self):
        """Starts the real-time motion toward the targets."""
        self.command("go")

    def stop(self):
        """Stops the arm where it stands."""
        self.command("stop")

    def wait(self):
        """Returns once the motion has arrived."""
        self.command("wait")

    def moveto(self, *values):
        """Target, go and wait in one: returns on arrival."""
        self._six("moveto", values)

    # --- reading and computing -----------------------------------------------

    def get_angles(self):
        return self._floats(self.command("get angles"))

    def get_targets(self):
        return self._floats(self.command("get targets"))

    def get_pose(self):
        """The forward model of the current angles: X, Y, Z, alpha, beta,
        gamma (see pose_matrix for what the angles mean)."""
        return self._floats(self.command("get pose"))

    def get_matrix(self):
        """The current pose as twelve numbers: its rotation matrix by rows,
        then X, Y, Z. Compare orientations with it, not with alpha, beta,
        gamma: several triples name one orientation."""
        return self._floats(self.command("get matrix"))

    def mgd(self, *values):
        """The pose of six angles; the arm does not move."""
        return self._floats(self._six("mgd", values))

    def mgi(self, *values):
        """The angles of a pose, as the panel computes them; the arm does
        not move."""
        return self._floats(self._six("mgi", values))

    # --- the picture ---------------------------------------------------------

    def show(self, what, on=True):
        """what: decor, reflect, shadows, metal, axes or wireframe."""
        self.command("show %s %s" % (what, "on" if on else "off"))

    def camera_reset(self):
        self.command("camera reset")

    def screenshot(self, name):
        """Writes the graphics window into the data directory (.png or
        .tga); returns the name."""
        return self.command("screenshot " + name)[0]

    def exit(self):
        """Ends the simulator (status 0)."""
        self.command("exit")


def pose_matrix(pose):
    """The twelve numbers of a pose (X, Y, Z, alpha, beta, gamma), as
    get_matrix gives them: the hand turned by gamma about the axis
    (sin a sin b, -cos a sin b, cos b), by rows, then the position."""
    x, y, z, alpha, beta, gamma = (float(v) for v in pose)
    a, b, g = (math.radians(v) for v in (alpha, beta, gamma))
    ux, uy, uz = math.sin(b) * math.sin(a), -math.cos(a) * math.sin(b), math.cos(b)
    c, s = math.cos(g), math.sin(g)
    v = 1 - c
    return (v * ux * ux + c, v * ux * uy - s * uz, v * ux * uz + s * uy,
            v * ux * uy + s * uz, v * uy * uy + c, v * uy * uz - s * ux,
            v * ux * uz - s * uy, v * uy * uz + s * ux, v * uz * uz + c,
            x, y, z)


def pose_matches(a, b, position=0.01, rotation=1e-5):
    """Whether two poses (six numbers each) are the same: positions within
    `position` pose units, rotation matrices within `rotation` element by
    element, whichever alpha, beta and gamma name them."""
    ma, mb = pose_matrix(a), pose_matrix(b)
    return (all(abs(p - q) <= rotation for p, q in zip(ma[:9], mb[:9]))
            and all(abs(p - q) <= position for p, q in zip(ma[9:], mb[9:])))
