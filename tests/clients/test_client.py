"""The Python client against a stand-in port on the loopback: what it sends
for each call and how it reads the replies."""

import os
import socket
import sys
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "clients", "python"))
from kalimbrax import Kalimbrax, KalimbraxError  # noqa: E402


class StandInPort:
    """Accepts one client, records the lines it sends and answers each with
    the next of `replies`."""

    def __init__(self, replies):
        self.lines, self._replies = [], list(replies)
        self._listener = socket.create_server(("127.0.0.1", 0))
        self.port = self._listener.getsockname()[1]
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        connection, _ = self._listener.accept()
        with connection, connection.makefile("rwb") as stream:
            for line in stream:
                self.lines.append(line.decode("utf-8").rstrip("\n"))
                stream.write(self._replies.pop(0).encode("utf-8") + b"\n")
                stream.flush()

    def close(self):
        self._listener.close()
        self._thread.join(5)


class ClientTest(unittest.TestCase):
    def test_each_reply_read_as_its_command_s(self):
        port = StandInPort(["ok 1 2 3 4 5 6", "erreur pose : hors d'atteinte, à 3,5 unités de pose", "ok 0.913",
                            "ok 1234"])
        with Kalimbrax(port.port, timeout=5) as k:
            self.assertEqual(k.get_angles(), (1, 2, 3, 4, 5, 6))
            with self.assertRaisesRegex(KalimbraxError, "^pose : hors d'atteinte"):
                k.pose(5000, 0, 0, 0, 0, 0)
            self.assertAlmostEqual(k.movej(0, 45, 0, 30, 50, 0), 0.913)
            self.assertEqual(k.get_ticks(), 1234)
        port.close()
        self.assertEqual(port.lines, ["get angles", "pose 5000 0 0 0 0 0", "movej 0 45 0 30 50 0", "get ticks"])

    def test_the_cell_s_calls_send_their_lines_and_read_their_replies(self):
        cases = [
            (lambda k: k.box("table", 600, 0, -10, 400, 800, 20), "object box table 600 0 -10 400 800 20", "ok", None),
            (lambda k: k.cylinder("post", 0.1, 500, 100, 25, 200, 10, 20, 30),
             "object cylinder post 0.1 500 100 25 200 10 20 30", "ok", None),
            (lambda k: k.sphere("ball", 1, 2, 3, 4), "object sphere ball 1 2 3 4", "ok", None),
            (lambda k: k.mesh("part", "part.obj", 1, 2, 3), "object mesh part part.obj 1 2 3", "ok", None),
            (lambda k: k.object_color("table", "#804020"), "object color table #804020", "ok", None),
            (lambda k: k.remove_object("ball"), "object remove ball", "ok", None),
            (lambda k: k.remove_all_objects(), "object remove all", "ok", None),
            (lambda k: k.get_objects(), "get objects", "ok table post", ["table", "post"]),
            (lambda k: k.get_object("post"), "get object post", "ok cylinder 0.1 500 100 25 200",
             ("cylinder", (0.1, 500, 100, 25, 200))),
            (lambda k: k.get_object("part"), "get object part", "ok mesh part.obj 1 2 3", ("mesh", "part.obj", (1, 2, 3))),
            (lambda k: k.get_collisions(), "get collisions", "ok 2 LowerArm:table Hand:ground",
             ["LowerArm:table", "Hand:ground"]),
            (lambda k: k.get_collisions(), "get collisions", "ok 0", []),
            (lambda k: k.get_clearance(), "get clearance", "ok 14.302 UpperArm LowerArm", (14.302, "UpperArm", "LowerArm")),
            (lambda k: k.get_clearance("ground"), "get clearance ground", "ok 264.291 Shoulder", (264.291, "Shoulder")),
            (lambda k: k.check_path("movej", 1, 2, 3, 4, 5, 6), "check movej 1 2 3 4 5 6", "ok 1.333 14.302",
             (1.333, 14.302)),
            (lambda k: k.check("movej", 1, 2, 3, 4, 5, 6), "check movej 1 2 3 4 5 6", "ok 1.333 inf", 1.333),
            (lambda k: k.save("cell2.txt"), "save cell2.txt", "ok cell2.txt", None),
            (lambda k: k.load("cell2.txt"), "load cell2.txt", "ok cell2.txt", None),
        ]
        port = StandInPort([reply for _, _, reply, _ in cases])
        with Kalimbrax(port.port, timeout=5) as k:
            for call, line, _, expected in cases:
                self.assertEqual(call(k), expected, line)
            with self.assertRaises(ValueError):
                k.box("b", 1, 2, 3, 4, 5, 6, 7)
        port.close()
        self.assertEqual(port.lines, [line for _, line, _, _ in cases])

    def test_jogs_send_their_lines_and_read_the_duration(self):
        port = StandInPort(["ok 0.412", "ok 1.25", "ok 0.667",
                            "erreur jog : A23 = 190 hors des limites [-180 ; 180] à 100 % du chemin (1,0 ; 2,0 ; 3,0)"])
        with Kalimbrax(port.port, timeout=5) as k:
            self.assertAlmostEqual(k.jog_joint(2, -2.5), 0.412)
            self.assertAlmostEqual(k.jog("tool", "z", 50), 1.25)
            self.assertAlmostEqual(k.jog("base", "rz", 10), 0.667)
            with self.assertRaisesRegex(KalimbraxError, "^jog : A23 = 190 hors des limites"):
                k.jog_joint(2, 145)
        port.close()
        self.assertEqual(port.lines, ["jog joint 2 -2.5", "jog tool z 50", "jog base rz 10", "jog joint 2 145"])

    def test_the_tool_frames_and_points_send_their_lines_and_points_stand_for_numbers(self):
        cases = [
            (lambda k: k.tool(0, 0, 100, 0, 0, 0), "tool 0 0 100 0 0 0", "ok", None),
            (lambda k: k.get_tool(), "get tool", "ok 0 0 100 0 0 0", (0, 0, 100, 0, 0, 0)),
            (lambda k: k.frame("f1", 300, -200, 150.5, 30, 60, 45), "frame f1 300 -200 150.5 30 60 45", "ok", None),
            (lambda k: k.frame_use("f1"), "frame use f1", "ok", None),
            (lambda k: k.get_frame(), "get frame", "ok f1 300 -200 150.5 30 60 45",
             ("f1", (300, -200, 150.5, 30, 60, 45))),
            (lambda k: k.get_frames(), "get frames", "ok f1 f2", ["f1", "f2"]),
            (lambda k: k.frame_remove("f1"), "frame remove f1", "ok", None),
            (lambda k: k.point("P1"), "point P1", "ok", None),
            (lambda k: k.point("P2", 1, 2, 3, 4, 5, 6), "point P2 1 2 3 4 5 6", "ok", None),
            (lambda k: k.get_point("P2"), "get point P2", "ok 1 2 3 4 5 6", (1, 2, 3, 4, 5, 6)),
            (lambda k: k.get_points(), "get points", "ok P1 P2", ["P1", "P2"]),
            (lambda k: k.point_remove("P1"), "point remove P1", "ok", None),
            (lambda k: k.angles("@P2"), "angles @P2", "ok", None),
            (lambda k: k.moveto("@P2"), "moveto @P2", "ok", None),
            (lambda k: k.movej("@P2"), "movej @P2", "ok 1.5", 1.5),
            (lambda k: k.movel("@P1", 600, 0, 500, 0, 90, 0, "@P2", blend=20),
             "movel @P1 600 0 500 0 90 0 @P2 blend 20", "ok 2.25", 2.25),
            (lambda k: k.movel(600, 0, 500, 0, 90, 0, 600, 100, 500, 0, 90, 0),
             "movel 600 0 500 0 90 0 600 100 500 0 90 0", "ok 2", 2),
            (lambda k: k.movec("@V", 600, 0, 500, 0, 90, 0), "movec @V 600 0 500 0 90 0", "ok 3", 3),
            (lambda k: k.movec(1, 2, 3, "@P2"), "movec 1 2 3 @P2", "ok 3", 3),
            (lambda k: k.check("movel", "@P1", "@P2", blend=5), "check movel @P1 @P2 blend 5", "ok 1.5 inf", 1.5),
            (lambda k: k.check_path("movec", "@V", "@P2"), "check movec @V @P2", "ok 1.5 20.5", (1.5, 20.5)),
        ]
        port = StandInPort([reply for _, _, reply, _ in cases])
        with Kalimbrax(port.port, timeout=5) as k:
            for call, line, _, expected in cases:
                self.assertEqual(call(k), expected, line)
            # Whole targets only, checked before anything is sent.
            for bad in [lambda: k.movej("@P1", 1), lambda: k.movej(1, 2, 3), lambda: k.movel(1, 2, 3, 4, 5, 6, 7),
                        lambda: k.movec("@V", 1, 2, 3), lambda: k.angles(1, 2, 3, 4, 5, 6, "@P1"),
                        lambda: k.point("P3", 1, 2)]:
                with self.assertRaises(ValueError):
                    bad()
        port.close()
        self.assertEqual(port.lines, [line for _, line, _, _ in cases])

    def test_a_line_break_inside_a_command_is_refused_before_anything_is_sent(self):
        port = StandInPort(["ok 1 2 3 4 5 6"])
        with Kalimbrax(port.port, timeout=5) as k:
            for name in ["a.png\nangles 0 0 0 0 0 0", "a.png\r", "\nb.png"]:
                with self.assertRaises(ValueError):
                    k.screenshot(name)
            self.assertEqual(k.get_angles(), (1, 2, 3, 4, 5, 6), "the next reply is still the next command's")
        port.close()
        self.assertEqual(port.lines, ["get angles"])


if __name__ == "__main__":
    unittest.main()
