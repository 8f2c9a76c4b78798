"""A client of Kalimbrax's command port, standard library only.

Start the simulator with a port, then drive it from Python:

    $ build/kalimbrax default --port 5555
    >>> from kalimbrax import Kalimbrax
    >>> with Kalimbrax(port=5555) as k:
    ...     k.moveto(0, 60, 20, 0, 45, 0)      # real-time motion, returns on arrival
    ...     k.movel(600, 0, 500, 0, 90, 0)      # a straight line, planned: its duration
    ...     print(k.get_pose())                 # (X, Y, Z, alpha, beta, gamma)
    ...     k.screenshot("vue.png")             # into the data directory

One method per command of the language; angles in degrees, positions in
pose units (hundredths of a scene unit). A taught point, "@P1", may stand
for the six numbers of angles, moveto, movej and movel, and for either part
of movec (its via point: the point's tool point). A command the simulator
refuses raises KalimbraxError with its French message.

    ...     k.point("P1")                       # the arm's angles, named
    ...     k.frame("table", 600, 0, 100, 0, 0, 0)
    ...     k.frame_use("table")                # poses now in the table's frame
    ...     k.movel(0, 0, 50, 0, 0, 0, "@P1", blend=20)
"""

import math
import socket

__all__ = ["Kalimbrax", "KalimbraxError", "pose_matrix", "pose_matches"]


def _is_point(value):
    return isinstance(value, str) and value.startswith("@")


def _shortest(value):
    """The shortest text that reads back as the same double: a cell's
    numbers are kept as given."""
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") else text


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
        # A line break inside would send two commands and read one reply: every
        # later reply would then answer the command before it.
        if "\n" in line or "\r" in line:
            raise ValueError("une commande tient sur une ligne : %r" % line)
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

    def _numbers(self, verb, values, count):
        if len(values) != count:
            raise ValueError("%s : %d nombres attendus, %d reçus" % (verb, count, len(values)))
        return self.command(verb + " " + " ".join(format(float(v), ".9g") for v in values))

    def _six(self, verb, values):
        return self._numbers(verb, values, 6)

    @staticmethod
    def _target_words(verb, values, sizes, several=False):
        """The words of targets in a row, the i-th a "@NAME" or sizes[i]
        numbers; with several, more targets of the last size while values
        remain."""
        words, at, i = [], 0, 0
        while i < len(sizes) or (several and at < len(values)):
            size = sizes[min(i, len(sizes) - 1)]
            i += 1
            if at < len(values) and _is_point(values[at]):
                words.append(values[at])
                at += 1
                continue
            group = values[at:at + size]
            if len(group) != size or any(_is_point(v) for v in group):
                raise ValueError("%s : %d nombres ou un @POINT attendus" % (verb, size))
            words += [format(float(v), ".9g") for v in group]
            at += size
        if at != len(values):
            raise ValueError("%s : %d valeurs en trop" % (verb, len(values) - at))
        return words

    def _targets(self, verb, values, sizes, blend=None):
        """A command whose numbers may be taught points; several targets
        in a row for a line."""
        words = self._target_words(verb, values, sizes, verb.endswith("movel"))
        if blend is not None:
            words += ["blend", format(float(blend), ".9g")]
        return self.command(" ".join([verb] + words))

    @staticmethod
    def _floats(words):
        return tuple(float(w) for w in words)

    # --- the cell -----------------------------------------------------------

    def _object(self, kind, name, words, numbers, orientation):
        if len(orientation) not in (0, 3):
            raise ValueError("%s : trois angles d'orientation ou aucun, %d reçus" % (kind, len(orientation)))
        text = " ".join(_shortest(v) for v in tuple(numbers) + tuple(orientation))
        self.command(" ".join(["object", kind, name] + words + [text]))

    def box(self, name, x, y, z, dx, dy, dz, *orientation):
        """Defines (or redefines) a box centred at x, y, z with sides dx, dy,
        dz along its own axes, turned by alpha, beta, gamma when given."""
        self._object("box", name, [], (x, y, z, dx, dy, dz), orientation)

    def cylinder(self, name, x, y, z, radius, length, *orientation):
        """A cylinder centred at x, y, z, its axis its own z."""
        self._object("cylinder", name, [], (x, y, z, radius, length), orientation)

    def sphere(self, name, x, y, z, radius):
        self._object("sphere", name, [], (x, y, z, radius), ())

    def mesh(self, name, file, x, y, z, *orientation):
        """A mesh of the data directory (Kalimbrax's format, scene units)."""
        self._object("mesh", name, [file], (x, y, z), orientation)

    def object_color(self, name, colour):
        """The object's colour, "#rrggbb"."""
        self.command("object color %s %s" % (name, colour))

    def remove_object(self, name):
        self.command("object remove " + name)

    def remove_all_objects(self):
        self.command("object remove all")

    def get_objects(self):
        """The objects' names, in the order they were first defined."""
        return self.command("get objects")

    def get_object(self, name):
        """(kind, numbers), and for a mesh (kind, file, numbers), the
        numbers as they were given."""
        words = self.command("get object " + name)
        if words[0] == "mesh":
            return words[0], words[1], self._floats(words[2:])
        return words[0], self._floats(words[1:])

    def get_collisions(self):
        """The pairs in contact now, "LowerArm:table", "Hand:ground"..."""
        return self.command("get collisions")[1:]

    def get_clearance(self, name=None):
        """Without a name: (distance, one, other), the nearest checked
        pair. With an object's name (or "ground"): (distance, link), the
        nearest link."""
        words = self.command("get clearance" + ("" if name is None else " " + name))
        return (float(words[0]),) + tuple(words[1:])

    def save(self, name):
        """Every object, user frame, taught point and the tool set at run
        time, as the commands that define them, into NAME.txt in the data
        directory."""
        self.command("save " + name)

    def load(self, name):
        """Plays NAME.txt of the data directory: all its lines or none."""
        self.command("load " + name)

    # --- the tool, the user frames and the taught points ---------------------

    def tool(self, x, y, z, alpha, beta, gamma):
        """The tool frame in the hand, as robot.opt's fTool keys: the arm
        keeps its angles, the poses follow the new tool point."""
        self._six("tool", (x, y, z, alpha, beta, gamma))

    def get_tool(self):
        return self._floats(self.command("get tool"))

    def frame(self, name, x, y, z, alpha, beta, gamma):
        """Defines (or redefines) a user frame, its pose in the base frame."""
        self._numbers("frame " + name, (x, y, z, alpha, beta, gamma), 6)

    def frame_use(self, name):
        """Every pose given or taken from now on is in this frame; "base"
        for the base frame."""
        self.command("frame use " + name)

    def frame_remove(self, name):
        """Removes a user frame; the one in use returns to the base frame."""
        self.command("frame remove " + name)

    def get_frame(self):
        """(name, (X, Y, Z, alpha, beta, gamma)) of the frame in use, in the
        base frame; ("base", six zeros) for the base frame."""
        words = self.command("get frame")
        return words[0], self._floats(words[1:])

    def get_frames(self):
        """The user frames' names, in the order they were first defined."""
        return self.command("get frames")

    def point(self, name, *angles):
        """Stores the arm's current angles under a name, or the six angles
        given."""
        if angles:
            self._numbers("point " + name, angles, 6)
        else:
            self.command("point " + name)

    def point_remove(self, name):
        self.command("point remove " + name)

    def get_point(self, name):
        """A taught point's six angles."""
        return self._floats(self.command("get point " + name))

    def get_points(self):
        """The taught points' names, in the order they were first stored."""
        return self.command("get points")

    # --- moving the arm ----------------------------------------------------

    def angles(self, *values):
        """Sets the arm's six joint angles at once (or a point's, "@P1")."""
        self._targets("angles", values, [6])

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
        """Target, go and wait in one (six angles or "@P1"): returns on
        arrival."""
        self._targets("moveto", values, [6])

    # --- planned moves: the whole path checked before the arm moves ---------

    def movej(self, *values):
        """Synchronised joint move to six angles (or "@P1"): every joint
        starts and arrives together. Returns on arrival with the planned
        duration (seconds); a refused or stopped move raises
        KalimbraxError."""
        return float(self._targets("movej", values, [6])[0])

    def movel(self, *values, blend=None):
        """Straight line of the wrist centre (or the tool point) to the
        pose X, Y, Z, alpha, beta, gamma (or a point's, "@P1"), the hand
        turning about one axis; several targets in a row, stopping at each,
        or with blend=R their corners rounded with radius R. Returns on
        arrival with the planned duration (seconds)."""
        return float(self._targets("movel", values, [6], blend)[0])

    def movec(self, *values):
        """Arc through a via point XV, YV, ZV (or "@V") to the pose X, Y,
        Z, alpha, beta, gamma (or "@P"). Returns on arrival with the planned
        duration (seconds)."""
        return float(self._targets("movec", values, [3, 6])[0])

    def check(self, kind, *values, blend=None):
        """Plans kind ("movej", "movel" or "movec") with its numbers or
        points without moving the arm: the duration the move would take, or
        KalimbraxError with the reason and the place."""
        return self.check_path(kind, *values, blend=blend)[0]

    def check_path(self, kind, *values, blend=None):
        """As check: (duration, clearance), the clearance the smallest
        distance between the arm and anything it is checked against along
        the path (pose units; inf when nothing is checked)."""
        sizes = [3, 6] if kind == "movec" else [6]
        words = self._targets("check " + kind, values, sizes, blend)
        return float(words[0]), float(words[1])

    def jog_joint(self, joint, delta):
        """Turns joint `joint` (1 for A12 to 6 for A67) by `delta` degrees,
        a planned joint move. Returns on arrival with its duration
        (seconds); a refused jog raises KalimbraxError with the reason and
        the place, the arm unmoved."""
        return float(self.command("jog joint %d %s" % (joint, format(float(delta), ".9g")))[0])

    def jog(self, frame, axis, delta):
        """Moves the tool point `delta` pose units along `axis` ("x", "y"
        or "z"), or turns the tool `delta` degrees about it ("rx", "ry" or
        "rz") through the tool point, of `frame`: "base", "tool" (the tool
        frame as it stands) or "frame" (the user frame in use). A planned
        line: returns on arrival with its duration (seconds)."""
        return float(self.command("jog %s %s %s" % (frame, axis, format(float(delta), ".9g")))[0])

    def speed(self, percent):
        """The speed override of the planned moves, 1 to 100 percent."""
        self.command("speed %s" % format(float(percent), ".9g"))

    def get_speed(self):
        return float(self.command("get speed")[0])

    def config(self, number):
        """Synchronised joint move to configuration `number` of the pose
        where the arm stands, numbered as kalimbrax-kin mgi --all numbers
        them; returns on arrival with the duration (seconds)."""
        return float(self.command("config %d" % number)[0])

    def record(self, name):
        """Writes the last motion, one line per 10 ms, into NAME.csv in the
        data directory; returns the name."""
        return self.command("record " + name)[0]

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

    def get_singularity(self):
        """How near the arm stands to its singularities: the wrist (|A56|
        from 0 or 180, degrees), the elbow (degrees from stretched or
        folded), the shoulder (the wrist centre's distance from the base
        axis, pose units), and the manipulability (1 at the arm's best)."""
        return self._floats(self.command("get singularity"))

    def get_ticks(self):
        """The ticks of the program's command timer since it started."""
        return int(self.command("get ticks")[0])

    def mgd(self, *values):
        """The pose of six angles; the arm does not move."""
        return self._floats(self._six("mgd", values))

    def mgi(self, *values):
        """The angles of a pose, as the panel computes them; the arm does
        not move."""
        return self._floats(self._six("mgi", values))

    # --- the picture ---------------------------------------------------------

    def show(self, what, on=True):
        """what: decor, reflect, shadows, metal, axes, wireframe, orbit or
        trail (the wrist centre's way, and a planned move's path)."""
        self.command("show %s %s" % (what, "on" if on else "off"))

    def trail_clear(self):
        """The trail starts afresh: the motions made so far leave it."""
        self.command("trail clear")

    def camera_reset(self):
        self.command("camera reset")

    def camera_orbit(self, on=True):
        """The camera turning around the arm, or still."""
        self.command("camera orbit %s" % ("on" if on else "off"))

    def camera_look(self, azimuth, elevation, distance):
        """Looks at the arm from an azimuth and an elevation (degrees) and
        a distance."""
        self.command("camera look %s" % " ".join(format(float(v), ".9g") for v in (azimuth, elevation, distance)))

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
