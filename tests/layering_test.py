#!/usr/bin/env python3
"""The layering check (tools/layering.py) on small trees of its own: each
case puts one include, or one call, in one file of a three-layer tree, and
says whether the check must find a fault there."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import layering  # noqa: E402

LAYERS = """# layer uses
base
sim   base
gl    sim   window
"""


def tree(files):
    root = tempfile.mkdtemp(prefix="kx-layering-")
    files = dict(files, **{"layers.txt": LAYERS})
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w", encoding="utf-8") as f:
            f.write(text)
    return root


class Layering(unittest.TestCase):
    def test_cases(self):
        cases = [
            # (file, its text, a fault expected)
            ("sim/Simulation.cpp", '#include "base/Log.h"\n', False),
            ("gl/Scene.cpp", '#include "base/Log.h"\n', False),  # through sim
            ("sim/Simulation.cpp", '#include "sim/Other.h"\n', False),
            ("sim/Simulation.h", '#include "gl/Scene.h"\n', True),  # upward
            ("base/Log.cpp", '#include "sim/Simulation.h"\n', True),
            ("base/Log.cpp", '  #  include "gl/Scene.h"\n', True),
            ("sim/Simulation.cpp", '#include "tests/support/Fake.h"\n', True),
            ("sim/Simulation.cpp", "#include <GL/gl.h>\n", True),  # not a window layer
            ("sim/Simulation.cpp", '#include "imgui.h"\n', True),
            ("gl/Scene.cpp", "#include <GL/freeglut.h>\n", False),
            ("sim/Simulation.cpp", "#include <vector>\n", False),
            ("tools/kin/main.cpp", '#include "gl/Scene.h"\n', False),
            ("tools/kin/main.cpp", '#include "app/main.h"\n', True),
            ("tools/arm/main.cpp", '#include "tools/mesh/MeshImport.h"\n', False),
            ("bench/FrameBench.cpp", '#include "tests/support/Fake.h"\n', True),
            ("bench/FrameBench.cpp", '#include "gl/Scene.h"\n', False),
            ("tests/core/a_test.cpp", '#include "tools/kin/KinBatch.h"\n', False),
            ("sim/Controller.cpp", 'auto o = COptionsParser::ReadFile("robot.opt");\n', True),
            ("dataset/DataSet.cpp", 'auto o = COptionsParser::ReadFile("robot.opt");\n', False),
        ]
        for path, text, fault in cases:
            with self.subTest(path=path, text=text):
                faults = layering.check(tree({path: text}))
                self.assertEqual(bool(faults), fault, faults)
                if fault:
                    self.assertTrue(faults[0].startswith(path), faults)

    def test_a_layer_that_uses_one_listed_after_it_is_refused(self):
        root = tree({})
        with open(os.path.join(root, "layers.txt"), "w", encoding="utf-8") as f:
            f.write("base  sim\nsim   base\n")
        with self.assertRaises(SystemExit):
            layering.check(root)

    def test_the_source_tree_keeps_its_layers(self):
        root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
        self.assertEqual(layering.check(root), [])


if __name__ == "__main__":
    unittest.main()
