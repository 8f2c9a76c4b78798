#!/usr/bin/env bash
# Planned moves seen from outside, through the Python client: while a move
# runs on one connection, a second polls the arm as fast as the port answers.
# The README's square drawn with movel (clients/python/example_square.py)
# has straight sides and reaches every corner; a line keeps the wrist centre
# within 1 pose unit of its segment and the hand within 0.1° of its
# orientation, or turning about one axis; an arc stays on its circle; a
# joint move keeps every joint at the same fraction of its way. Time is
# judged on the program's own clock only: the motion's record (`record`,
# every 10 ms of the motion's time) shows no joint faster than its maximum
# speed, at 100 % and under a speed override, and ends where the reply's
# duration says; the line slowed near the base axis lasts 100/40 times
# longer at 40 %. test_planned_moves_checks.sh compares durations with
# `check`'s. No check here is about how long the test waits, so the arm
# moves eight times quicker than default/'s (kx_fast_moves: the same paths
# and speed profiles in an eighth of the time) and is drawn in one thread, in
# a small window.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_fast_moves "$data" 8 || { kx_fail "vitesses du bras"; kx_finish; }
kx_small_window "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
port=$(kx_command_port) || { kx_fail "pas de port"; kx_finish; }

PYTHONPATH="$KX_SOURCE/clients/python:$KX_SOURCE/tests/e2e" python3 - "$port" "$data" "$KX_SOURCE" <<'PY' ||
import subprocess, sys
from kalimbrax import Kalimbrax
from planned_moves import (Checks, Circle, Watcher, angle_between, distance_to_segment, multiply, norm, pose_angles,
                           robot_numbers, rotation_about, rows, sub, transpose, turn_angle)

port, data, source = int(sys.argv[1]), sys.argv[2], sys.argv[3]
check = Checks()
k, w = Kalimbrax(port), Watcher(port)

options = robot_numbers(data)
MAX_SPEEDS = [options["fAngle%sMaxSpeed" % j] for j in ("12", "23", "34", "45", "56", "67")]
START = (20, 50, 30, 30, 50, 20)  # clear of every singularity, the hand turned
HAND = k.mgd(*START)[3:]

# --- the README's square, as clients/python/example_square.py draws it, from
#     where the data set starts the arm: straight sides, the hand kept, every
#     corner reached ------------------------------------------------------------
centre, r0 = k.get_matrix()[9:], rows(k.get_matrix()[:9])
side = 200
x, y, z = centre
corners = [(x - 100, y - 100, z), (x + 100, y - 100, z), (x + 100, y + 100, z), (x - 100, y + 100, z)]
way = [centre] + corners + corners[:1]
example = subprocess.Popen([sys.executable, source + "/clients/python/example_square.py", str(port), str(side)],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
polls = []
while example.poll() is None:
    polls.append(w.poll())
printed = example.communicate()[0]
check("example_square.py se termine sans erreur", example.returncode == 0, printed)
off = max(min(distance_to_segment(p.point, u, v) for u, v in zip(way, way[1:])) for p in polls)
check("carré : côtés droits, centre du poignet à %.3f unité au plus (%d relevés)" % (off, len(polls)), off <= 1)
off = max(angle_between(r0, p.rotation) for p in polls)
check("carré : orientation gardée à %.4f° près" % off, off <= 0.1)
seen = [min(norm(sub(c, p.point)) for p in polls) for c in corners]
check("carré : chaque coin atteint (à %.2f au plus)" % max(seen), max(seen) <= 1, seen)


def watched(what, line, percent):
    """A move followed to its end: it arrives, and its record on the
    program's clock shows no joint above its maximum speed at that override
    and ends where the reply's duration says."""
    followed = w.follow(line)
    if not check("%s : ok (%d relevés)" % (what, len(followed.polls)), followed.duration is not None,
                 followed.reply):
        return followed
    k.record("vitesses.csv")
    table = [[float(v) for v in row.split(",")] for row in open(data + "/vitesses.csv").read().splitlines()[1:]]
    fastest = max(abs(r[7 + j]) / (MAX_SPEEDS[j] * percent / 100) for r in table for j in range(6))
    check("%s : vitesses du record au plus %.1f %% du maximum à %d %%" % (what, 100 * fastest, percent),
          fastest <= 1.001)
    # Not before the announced duration: the record's last line is the
    # first 10 ms after the step that arrived, which the first frame after
    # the end brings, late on a loaded machine (how late is the machine's).
    d, last = followed.duration, table[-1][0]
    check("%s : le record finit à la durée annoncée ou après (%.2f s pour %.3f s)" % (what, last, d),
          last >= d - 0.01)
    return followed


# --- lines: the start (START's angles, or a pose), the offset of the wrist
#     centre, the turn of the hand (an axis in the hand's frame, degrees), the
#     speed override. The line that passes 200 units from the base axis would
#     turn A12 faster than it can at the path's speed: it is slowed, and its
#     joint speeds are the ones that test the limit. ---------------------------
NEAR_AXIS = (200, -150, 800) + HAND
LINES = [
    ("ligne horizontale", None, (0, -300, 0), None, 100),
    ("ligne verticale", None, (0, 0, -250), None, 100),
    ("ligne diagonale", None, (-150, -200, -150), None, 100),
    ("ligne et la main tournée de 50°", None, (-100, 100, 0), ((1, 0.5, 0), 50), 100),
    ("ligne ralentie près de l'axe", NEAR_AXIS, (0, 300, 0), None, 100),
    ("ligne ralentie près de l'axe à 40 %", NEAR_AXIS, (0, 300, 0), None, 40),
]
durations = {}
for what, pose, offset, turn, percent in LINES:
    k.speed(percent)
    if pose:
        k.pose(*pose)
    else:
        k.angles(*START)
    start = k.get_matrix()
    a, r0 = start[9:], rows(start[:9])
    b = tuple(p + o for p, o in zip(a, offset))
    r1 = multiply(r0, rotation_about(*turn)) if turn else r0
    followed = watched(what, "movel %r %r %r %r %r %r" % (b + pose_angles(r1)), percent)
    durations[what] = followed.duration
    polls = followed.polls
    off = max(distance_to_segment(p.point, a, b) for p in polls)
    check("%s : centre du poignet à %.3f unité au plus du segment" % (what, off), off <= 1)
    if turn:
        # Relative to the start, the hand turns about the one axis: the
        # turn left once that rotation is taken off.
        relative = [multiply(transpose(r0), p.rotation) for p in polls]
        turned = [turn_angle(r) for r in relative]
        off = max(angle_between(rotation_about(turn[0], t), r) for t, r in zip(turned, relative))
        check("%s : autour d'un seul axe, à %.4f° au plus" % (what, off), off <= 0.1)
        check("%s : l'angle croît de 0 à %g°" % (what, turn[1]),
              all(b >= a - 0.01 for a, b in zip(turned, turned[1:])), turned)
    else:
        off = max(angle_between(r0, p.rotation) for p in polls)
        check("%s : orientation gardée à %.4f° près" % (what, off), off <= 0.1)
    end = k.get_matrix()
    check("%s : arrivé sur la pose" % what,
          max(abs(x - y) for x, y in zip(end[9:], b)) <= 0.05 and angle_between(rows(end[:9]), r1) <= 0.01, end)
full, slow = durations["ligne ralentie près de l'axe"], durations["ligne ralentie près de l'axe à 40 %"]
# 300 units at the path's speed, with its acceleration and braking.
path = 300 / options["fLinearSpeed"] + options["fLinearSpeed"] / options["fLinearAccel"]
check("la ligne ralentie (%.3f s, au lieu de %.3f s à la vitesse du chemin) prend 100/40 fois plus longtemps à "
      "40 %% (%.3f s)" % (full, path, slow), full > 1.005 * path and abs(slow - 2.5 * full) <= 0.005)
k.speed(100)

# --- an arc through a via point, the hand kept ----------------------------------
k.angles(*START)
start = k.get_matrix()
a, r0 = start[9:], rows(start[:9])
via = tuple(p + o for p, o in zip(a, (-100, -150, 80)))
b = tuple(p + o for p, o in zip(a, (-250, -50, 20)))
followed = watched("arc", "movec %r %r %r %r %r %r %r %r %r" % (via + b + pose_angles(r0)), 100)
circle = Circle(a, via, b)
off = max(circle.distance(p.point) for p in followed.polls)
check("arc : centre du poignet à %.3f unité au plus du cercle (rayon %.1f)" % (off, circle.radius), off <= 1)
# Angles along the circle from the start, toward the via point: small
# negative ones are the start itself.
along = [(lambda t: t - 360 if t > 359 else t)(circle.angle(p.point)) for p in followed.polls]
check("arc : de la position de départ à l'arrivée en passant par le point de passage (%.1f° < %.1f°)" %
      (circle.angle(via), circle.angle(b)),
      circle.angle(via) < circle.angle(b) and all(q >= p - 0.05 for p, q in zip(along, along[1:]))
      and abs(along[-1] - circle.angle(b)) <= 0.1, along)
off = max(angle_between(r0, p.rotation) for p in followed.polls)
check("arc : orientation gardée à %.4f° près" % off, off <= 0.1)

# --- synchronised joint moves, there and back under an override -----------------
# A12's 75 degrees set the pace: at default/'s speeds 0.5 s to reach its
# maximum speed, 0.75 s at it, 0.5 s to stop (an eighth of that here).
FAR = (-55, 70, 10, 60, 30, -20)
JOINT_MOVES = [("movej", START, FAR, 100), ("movej à 40 %", FAR, START, 40)]
for what, begin, target, percent in JOINT_MOVES:
    k.speed(percent)
    k.angles(*begin)
    followed = watched(what, "movej %d %d %d %d %d %d" % target, percent)
    spread = 0.0
    for p in followed.polls:
        fractions = [(p.angles[j] - begin[j]) / (target[j] - begin[j]) for j in range(6)]
        spread = max(spread, max(fractions) - min(fractions))
    check("%s : à chaque relevé, chaque articulation à la même fraction de son chemin (écart %.4f)"
          % (what, spread), spread <= 0.02)
    end = k.get_angles()
    check("%s : toutes arrivées" % what, max(abs(e - t) for e, t in zip(end, target)) <= 0.01, end)
k.speed(100)

k.close(); w.close()
sys.exit(1 if check.failures else 0)
PY
  KX_FAILURES=$((KX_FAILURES + 1))

kx_finish
