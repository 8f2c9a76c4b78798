#!/usr/bin/env python3
"""Runs the README's examples and checks that their results are the README's.

Three kinds of example, as the README writes them in its code blocks:
  - shell: a line "$ COMMAND" and the lines it prints (its standard output,
    then its standard error), run from a scratch directory that holds the
    build, the data set, the docs and the clients as the source tree does;
  - port: lines "> COMMAND" each followed by its reply, sent to a program
    started on a fresh copy of the default data set (one program a block);
  - the Python square: run against a program of its own; its picture must
    show the trail of the square's four sides, and the record of its last
    motion must lie on the square. Its data set is SQUARE_DATA, the default
    one with the arm quicker (its way and its picture are checked, not its
    pace).

    readme_examples.py SOURCE_DIR BUILD_DIR WORK_DIR SQUARE_DATA    (DISPLAY: an X display)

Prints "ok: ..." or "ÉCHEC: ..." per example; exits with 1 on a failure.
"""
import math
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import time
import zlib

SOURCE, BUILD, WORK, SQUARE_DATA = sys.argv[1:5]
failures = 0


def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "ÉCHEC: ") + what + ("" if ok else "\n  " + str(detail)))
    failures += not ok


def blocks(readme):
    """The README's code blocks: (kind, lines); indented ones and fenced ones."""
    found, lines, fenced, current = [], readme.split("\n"), None, []
    for line in lines + [""]:
        if fenced is not None:
            if line.startswith("```"):
                found.append((fenced, current))
                fenced, current = None, []
            else:
                current.append(line)
        elif line.startswith("```"):
            fenced, current = line[3:].strip(), []
        elif line.startswith("    "):
            current.append(line[4:])
        elif current:
            found.append(("indented", current))
            current = []
    return found


# --- Shell examples ----------------------------------------------------------

def scratch():
    """A directory that looks like the source tree with its build."""
    path = os.path.join(WORK, "shell")
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    os.symlink(BUILD, os.path.join(path, "build"))
    for name in ("default", "docs", "clients"):
        os.symlink(os.path.join(SOURCE, name), os.path.join(path, name))
    return path


def run_shell(lines):
    for i, line in enumerate(lines):
        if not line.startswith("$ "):
            continue
        expected = []
        for following in lines[i + 1:]:
            if following.startswith("$ "):
                break
            expected.append(following)
        while expected and not expected[-1]:
            expected.pop()
        done = subprocess.run(["bash", "-c", line[2:]], cwd=scratch(), capture_output=True, text=True, timeout=120)
        got = (done.stdout + done.stderr).rstrip("\n").split("\n")
        check("README : " + line, got == expected, "\n  ".join(["attendu :"] + expected + ["obtenu :"] + got))


# --- The program and its port ------------------------------------------------

class Program:
    """The simulator on a fresh copy of a data set (by default the default
    one), with its port."""

    def __init__(self, name, data=None):
        self.dir = os.path.join(WORK, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.data = os.path.join(self.dir, "data")
        shutil.copytree(data or os.path.join(SOURCE, "default"), self.data)
        self.console = open(os.path.join(self.dir, "console.txt"), "w")
        self.process = subprocess.Popen([os.path.join(BUILD, "kalimbrax"), self.data, "--port", "0"], cwd=self.dir,
                                        stdout=self.console, stderr=subprocess.STDOUT)
        self.port = self._port()
        self.socket = socket.create_connection(("127.0.0.1", self.port), timeout=60)
        self.stream = self.socket.makefile("rw", encoding="utf-8", newline="\n")

    def _port(self):
        for _ in range(600):
            with open(os.path.join(self.dir, "console.txt"), encoding="utf-8", errors="replace") as f:
                found = re.search(r"Port de commande ouvert : 127\.0\.0\.1:(\d+)", f.read())
            if found:
                return int(found.group(1))
            if self.process.poll() is not None:
                break
            time.sleep(0.05)
        raise RuntimeError("le programme n'annonce pas de port")

    def send(self, line):
        self.stream.write(line + "\n")
        self.stream.flush()
        return self.stream.readline().rstrip("\n")

    def close(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait(30)
        self.console.close()


def run_port(lines):
    program = Program("port")
    try:
        for i, line in enumerate(lines):
            if line.startswith("> "):
                expected = lines[i + 1] if i + 1 < len(lines) else ""
                got = program.send(line[2:])
                check("README : " + line[2:], got == expected, "attendu [%s], obtenu [%s]" % (expected, got))
    finally:
        program.close()


# --- The Python square ---------------------------------------------------------

def png_rgb(path):
    """Width, height and rows of RGB bytes of a PNG the program wrote."""
    with open(path, "rb") as f:
        blob = f.read()
    at, data, size = 8, b"", None
    while at < len(blob):
        length, kind = struct.unpack(">I4s", blob[at:at + 8])
        body = blob[at + 8:at + 8 + length]
        if kind == b"IHDR":
            size = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            data += body
        at += 12 + length
    width, height = size
    raw, rows, previous = zlib.decompress(data), [], bytearray(width * 3)
    stride = width * 3 + 1
    for y in range(height):
        kind, row = raw[y * stride], bytearray(raw[y * stride + 1:(y + 1) * stride])
        # The filters the writer may use; an unfiltered row (the program's
        # own, kind 0) is as it is, without a pass over its bytes.
        for x in range(len(row) if kind else 0):
            left = row[x - 3] if x >= 3 else 0
            up, corner = previous[x], previous[x - 3] if x >= 3 else 0
            if kind == 1:
                row[x] = (row[x] + left) & 255
            elif kind == 2:
                row[x] = (row[x] + up) & 255
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(row)
        previous = row
    return width, height, rows


def start_view_pixel(point, width, height):
    """Where a point (scene units) lands in the window seen from the start
    camera (view/Camera.cpp) with the default field of view of -45 degrees."""
    eye, direction, up = (0.0, 15.0, 21.0), (0.0, -0.5547002, -0.8320503), (0.0, 0.8320503, -0.5554002)

    def cross(a, b):
        return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

    def unit(v):
        n = math.sqrt(sum(c * c for c in v))
        return tuple(c / n for c in v)

    f = unit(direction)
    s = unit(cross(f, up))
    u = cross(s, f)
    d = tuple(p - e for p, e in zip(point, eye))
    xv, yv, zv = (sum(a * b for a, b in zip(s, d)), sum(a * b for a, b in zip(u, d)),
                  -sum(a * b for a, b in zip(f, d)))
    focal = 1 / math.tan(math.radians(-45.0) / 2)
    xn, yn = focal / (width / height) * xv / -zv, focal * yv / -zv
    return (xn + 1) / 2 * width, height - (yn + 1) / 2 * height


def trail_near(rows, x, y, reach=4):
    """A pixel of the trail's colours (orange, yellow, green) near (x, y)."""
    for j in range(int(y) - reach, int(y) + reach + 1):
        for i in range(int(x) - reach, int(x) + reach + 1):
            if 0 <= j < len(rows) and 0 <= i < len(rows[0]) // 3:
                r, g, b = rows[j][3 * i:3 * i + 3]
                if (r > 180 and g < 160 and b < 80) or (r > 200 and g > 180 and b < 80) or (g > 170 and r < 120):
                    return True
    return False


def distance_to_square(point, corners):
    best = math.inf
    for a, b in zip(corners, corners[1:]):
        ab = (b[0] - a[0], b[1] - a[1])
        t = max(0.0, min(1.0, ((point[0] - a[0]) * ab[0] + (point[1] - a[1]) * ab[1]) / (ab[0] ** 2 + ab[1] ** 2)))
        best = min(best, math.hypot(point[0] - a[0] - t * ab[0], point[1] - a[1] - t * ab[1]))
    return best


def run_square(code):
    program = Program("square", SQUARE_DATA)
    try:
        x, y, z, alpha, beta, gamma = [float(v) for v in program.send("get pose").split()[1:]]
        env = dict(os.environ, PYTHONPATH=os.path.join(SOURCE, "clients", "python"))
        done = subprocess.run([sys.executable, "-c", code.replace("port=5555", "port=%d" % program.port)], env=env,
                              capture_output=True, text=True, timeout=300)
        check("README : le carré en Python", done.returncode == 0, done.stderr)
        corners = [(x - 100, y - 100), (x + 100, y - 100), (x + 100, y + 100), (x - 100, y + 100), (x - 100, y - 100)]
        width, height, rows = png_rgb(os.path.join(program.data, "square.png"))
        for a, b in zip(corners, corners[1:]):
            middle = ((a[0] + b[0]) / 200, (a[1] + b[1]) / 200, z / 100)
            px, py = start_view_pixel(middle, width, height)
            check("README : la trace du côté (%.0f ; %.0f) -> (%.0f ; %.0f) dans square.png, vers (%d ; %d)"
                  % (a + b + (px, py)), trail_near(rows, px, py))
        check("README : record après le carré", program.send("record carre.csv") == "ok carre.csv")
        lines = open(os.path.join(program.data, "carre.csv")).read().split("\n")[1:]
        worst = 0.0
        for line in filter(None, lines):
            v = [float(c) for c in line.split(",")]
            worst = max(worst, distance_to_square(v[13:15], corners), abs(v[15] - z))
        check("README : chaque ligne du record sur le carré à 0,01 près (au pire %.4f)" % worst, worst <= 0.01)
    finally:
        program.close()


def main():
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    kinds = {"shell": 0, "port": 0, "square": 0}
    for kind, lines in blocks(readme):
        if any(line.startswith("$ ") for line in lines):
            run_shell(lines)
            kinds["shell"] += 1
        elif any(line.startswith("> ") for line in lines):
            run_port(lines)
            kinds["port"] += 1
        elif kind == "python" and "port=5555" in "\n".join(lines):
            run_square("\n".join(lines))
            kinds["square"] += 1
    check("README : des exemples de chaque sorte (%s)" % kinds, all(kinds.values()))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
