#!/usr/bin/env bash
# What planned moves refuse and what they leave behind, through the Python
# client: a line through the base axis, one that crosses A56 = 0, one out of
# reach and one past a joint limit are refused with their reason and place
# and the arm has not moved, and `check` says the same words; lines and arcs
# to targets a billion units away are refused out of reach at once; `check` of a
# doable move moves nothing and gives the duration the move then reports; a
# line stopped half way answers with the angles where the arm stands;
# `record` writes the last motion every 10 ms; `config N` reaches every
# configuration kalimbrax-kin mgi --all lists and refuses the others;
# `get singularity` is 0 where the wrist or the elbow is singular.
# No check here is about how long a move takes (a duration is compared with
# the one `check` gave, the record with the move's own): the arm moves
# sixteen times quicker than default/'s, slower only where a move must last
# (the stopped line, the record), and is drawn in one thread in a small
# window.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_fast_moves "$data" 16 || { kx_fail "vitesses du bras"; kx_finish; }
kx_small_window "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
port=$(kx_command_port) || { kx_fail "pas de port"; kx_finish; }

PYTHONPATH="$KX_SOURCE/clients/python:$KX_SOURCE/tests/e2e" python3 - "$port" "$data" "$KX_BUILD" <<'PY' ||
import math, re, subprocess, sys
from kalimbrax import Kalimbrax, KalimbraxError, pose_matches
from planned_moves import Checks, Watcher, distance_to_segment, fraction_along, norm, robot_numbers, sub

port, data, build = int(sys.argv[1]), sys.argv[2], sys.argv[3]
check = Checks()
k, w = Kalimbrax(port), Watcher(port)
options = robot_numbers(data)
START = (20, 50, 30, 30, 50, 20)


def refusal(call):
    """The words of the erreur a call raises; None when it is done."""
    try:
        call()
    except KalimbraxError as e:
        return str(e)
    return None


def unmoved(what, angles, targets):
    """The arm stands where it stood and nothing is under way: a wait
    answers at once when no motion runs, and on arrival otherwise."""
    k.wait()
    check(what + " : le bras n'a pas bougé", k.get_angles() == angles and k.get_targets() == targets,
          (angles, k.get_angles()))


def decimal(text):
    return float(text.replace(",", "."))


# --- refusals: the start, the target, the reason's words, and what the place
#     must show besides lying on the line where its percentage puts it -------
def axis_line():
    # From one side of the base axis to the other, through it.
    k.angles(30, 50, 30, 30, 45, 20)
    x, y, z, *hand = k.get_pose()
    return [-x, -y, z] + hand


def wrist_line():
    # Through the pose of A56 = 0, the hand kept: A56 changes sign half way.
    middle = k.mgd(10, 60, 20, 30, 0, 20)
    k.angles(10, 60, 20, 30, 0, 20)
    k.pose(middle[0], middle[1], middle[2] - 150, *middle[3:])
    return [middle[0], middle[1], middle[2] + 150] + list(middle[3:])


def reach_line():
    k.angles(*START)
    return [1300, 0, 500] + list(k.get_pose()[3:])


def limit_line():
    # A12 from 170 toward 190 across the -x axis: past its limit of 180 where
    # the line crosses y = 0.
    k.angles(170, 50, 30, 30, 45, 20)
    x, y, z, *hand = k.get_pose()
    return [x, -y, z] + hand


PLACE = r" à (\d+) % du chemin \((-?[\d,]+) ; (-?[\d,]+) ; (-?[\d,]+)\)$"
REFUSALS = [
    ("ligne par l'axe de la base", axis_line,
     r"trop près de la singularité de l'épaule \(à ([\d,]+) de l'axe de la base\)",
     lambda value, place: abs(value - math.hypot(place[0], place[1])) <= 0.2 and value < 20),
    ("ligne par A56 = 0", wrist_line, r"trop près de la singularité du poignet \(A56 = (-?[\d,]+)°\)",
     lambda value, place: abs(value) <= 2),
    ("ligne hors d'atteinte", reach_line, r"hors d'atteinte()", lambda value, place: True),
    # The angle A12 would reach, just past 180 as it turns on.
    ("ligne au-delà d'une limite", limit_line, r"A12 = (-?[\d,]+) hors des limites \[-180 ; 180\]",
     lambda value, place: abs(place[1]) <= 1.5 and 180 < abs(value) < 181),
]
for what, line, words, where in REFUSALS:
    target = line()
    start = k.get_pose()[:3]
    angles, targets = k.get_angles(), k.get_targets()
    said = refusal(lambda: k.movel(*target))
    found = re.match("movel : " + words + PLACE, said or "")
    if not check(what + " : refusée avec la raison et la place", found, said):
        continue
    value = decimal(found.group(1)) if found.group(1) else None
    percent, place = int(found.group(2)), tuple(decimal(found.group(i)) for i in (3, 4, 5))
    along = 100 * fraction_along(place, start, target[:3])
    check("%s : %s, au point de la ligne à %.1f %% du chemin" % (what, said, along),
          distance_to_segment(place, start, target[:3]) <= 0.2 and abs(along - percent) <= 1 and where(value, place))
    unmoved(what, angles, targets)
    check(what + " : check dit les mêmes mots", refusal(lambda: k.check("movel", *target)) == said)
    unmoved(what + " (check)", angles, targets)

# --- targets a billion units away and more: refused before a sample is made,
#     where the way leaves the reach, and the program answers on ----------------
k.angles(*START)
angles, targets = k.get_angles(), k.get_targets()
for line in ("movel 1e9 0 0 0 0 0", "movel 1e30 0 0 0 0 0", "movec 0 0 1e9 1e9 0 0 0 0 0"):
    for sent in (line, "check " + line):
        said = refusal(lambda: k.command(sent))
        check("%s : refusé hors d'atteinte : %s" % (sent, said),
              re.match(line.split()[0] + " : hors d'atteinte à 0 % du chemin \\(", said or ""))
    unmoved(line, angles, targets)

# --- check of a doable move, then the move itself ---------------------------------
k.angles(*START)
x, y, z, *hand = k.get_pose()
DOABLE = [
    ("movej", (-10, 70, 10, 60, 30, -20)),
    ("movel", (x, y - 200, z, *hand)),
    ("movec", (x - 100, y - 150, z + 80, x - 250, y - 50, z + 20, *hand)),
]
for kind, values in DOABLE:
    k.angles(*START)
    angles, targets = k.get_angles(), k.get_targets()
    planned = k.check(kind, *values)
    unmoved("check " + kind, angles, targets)
    done = getattr(k, kind)(*values)
    check("check %s : %.3f s, le mouvement dit %.3f s" % (kind, planned, done), planned == done and planned > 0)

# --- a line stopped by another client half way ----------------------------------
# At a quarter of the speed (four times default/'s) the line lasts 0.5 s: the
# stop, sent once a poll sees the wrist past 40 % of the way, has nearly 0.3 s.
k.angles(*START)
k.speed(25)
start, end = k.get_pose()[:3], (x, y - 300, z)
stopped = []


def stop_half_way(polls):
    if not stopped and fraction_along(polls[-1].point, start, end) >= 0.4:
        stopped.append(w.poller_command("stop"))


followed = w.follow("movel %r %r %r %r %r %r" % (end + tuple(hand)), during=stop_half_way)
k.speed(100)
words = "erreur movel : arrêté avant l'arrivée : "
check("ligne arrêtée : " + words, followed.reply.startswith(words) and stopped == ["ok"], (followed.reply, stopped))
if followed.reply.startswith(words):
    said = tuple(float(v) for v in followed.reply[len(words):].split())
    check("ligne arrêtée : les angles où le bras se trouve", said == k.get_angles(), (said, k.get_angles()))
    point = k.get_pose()[:3]
    check("ligne arrêtée : sur la ligne, passé 40 %% (%.1f %%)" % (100 * fraction_along(point, start, end)),
          distance_to_segment(point, start, end) <= 1 and 0.4 <= fraction_along(point, start, end) < 1)

# --- record: the last motion every 10 ms ----------------------------------------
NAMES = ("t", "A12", "A23", "A34", "A45", "A56", "A67", "V12", "V23", "V34", "V45", "V56", "V67",
         "X", "Y", "Z", "alpha", "beta", "gamma")
# At a sixteenth of the speed, the pace of default/: the last line, up to
# 10 ms before the arrival, is then within 0.01° of the target.
k.angles(*START)
target = (-10, 70, 10, 60, 30, -20)
k.speed(6.25)
duration = k.movej(*target)
k.speed(100)
check("record : répond le nom", k.record("mouvement.csv") == "mouvement.csv")
lines = open(data + "/mouvement.csv", encoding="utf-8").read().splitlines()
check("record : l'en-tête", lines[0] == ",".join(NAMES), lines[0])
rows = [line.split(",") for line in lines[1:]]
check("record : %d champs par ligne, des nombres à point" % len(NAMES),
      all(len(r) == len(NAMES) and all(re.fullmatch(r"-?[0-9.e+-]+", v) for v in r) for r in rows), rows[:2])
table = [[float(v) for v in r] for r in rows]
times = [r[0] for r in table]
# The last line is the first 10 ms at or after the step that arrived, which
# the first frame after the move's end brings: on a loaded machine a frame
# may come late, and the record, true to the program's clock, ends later.
# How late is the machine's, not the program's: only "not before" is judged.
check("record : une ligne toutes les 10 ms de 0 à la fin du mouvement (%d lignes, %.3f s pour %.3f s)"
      % (len(table), times[-1], duration),
      all(abs(t - 0.01 * i) < 1e-6 for i, t in enumerate(times)) and times[-1] >= duration - 0.01)
check("record : de START à la cible", max(abs(a - b) for a, b in zip(table[0][1:7], START)) <= 0.01
      and max(abs(a - b) for a, b in zip(table[-1][1:7], target)) <= 0.01, (table[0][1:7], table[-1][1:7]))
for name in ("../mouvement.csv", "mouvement.txt", "sous/mouvement.csv"):
    said = refusal(lambda: k.record(name))
    check("record %s : refusé" % name, (said or "").startswith("record : nom refusé « %s »" % name), said)

# --- config N: every configuration kalimbrax-kin lists ---------------------------
def listed(pose):
    out = subprocess.run([build + "/kalimbrax-kin", "mgi", "--all", data], input=" ".join(map(str, pose)) + "\n",
                         capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in line.split()[1:]) for line in out.splitlines()]


def same_angle(a, b):
    return abs((a - b + 180) % 360 - 180) <= 0.01


EIGHT = (600, -200, 600, 30, 60, 40)  # behind the base's axis as well as in front
configurations = listed(EIGHT)
check("config : kalimbrax-kin donne %d configurations" % len(configurations), len(configurations) == 8)
# Some ways between them fold the forearm into the upper arm or take the
# hand through the floor: those are refused, and the arm stays; the others
# reach their configuration.
k.pose(*EIGHT)
reached_count = 0
for number, angles in enumerate(configurations, 1):
    before, targets = k.get_angles(), k.get_targets()
    said = refusal(lambda: k.config(number))
    if said is not None:
        check("config %d : refusé pour une collision en chemin : %s" % (number, said),
              said.startswith("config : collision entre "), said)
        unmoved("config %d" % number, before, targets)
        continue
    reached_count += 1
    reached = k.get_angles()
    check("config %d : %s à 360° près" % (number, " ".join("%.2f" % a for a in angles)),
          all(same_angle(a, b) for a, b in zip(reached, angles)), reached)
    check("config %d : la même pose" % number, pose_matches(k.get_pose(), EIGHT, position=0.05, rotation=1e-4),
          k.get_pose())
check("config : au moins trois configurations atteintes (%d)" % reached_count, reached_count >= 3)
FOUR = (900, 0, 500, 30, 60, 40)  # too far to be reached over the base
for pose, number in ((EIGHT, 9), (FOUR, len(listed(FOUR)) + 1)):
    k.pose(*pose)
    angles, targets = k.get_angles(), k.get_targets()
    said = refusal(lambda: k.config(number))
    check("config %d refusé pour une pose à %d configurations : %s" % (number, number - 1, said),
          said == "config : pas de configuration %d pour la pose du bras" % number)
    unmoved("config %d" % number, angles, targets)

# --- get singularity at the wrist's and the elbow's singular angles ---------------
# The elbow is stretched where A34 lines the forearm's link, from the
# elbow joint (e sideways) to the wrist centre (d along), up with the
# upper arm: A34 = atan2(d, e). robot.opt gives e = |fElbowSizeY| and
# d = fLowerArmSizeZ + e, in scene units (x 100 for pose units).
e = abs(options["fElbowSizeY"]) * 100
d = options["fLowerArmSizeZ"] * 100 + e
a2, a3, h = options["fShoulderSizeX"] * 100, options["fUpperArmSizeX"] * 100, options["fBodySizeZ"] * 100
stretched = math.degrees(math.atan2(d, e))
k.angles(0, 30, stretched, 30, 45, 20)
wrist, elbow, shoulder, manipulability = k.get_singularity()
reach = norm(sub(k.get_pose()[:3], (a2, 0, h)))
check("coude tendu à A34 = %.3f° : le centre du poignet à %.2f de l'épaule, a3 + hypot(e, d) = %.2f"
      % (stretched, reach, a3 + math.hypot(e, d)), abs(reach - a3 - math.hypot(e, d)) <= 0.01)
check("coude tendu : singularité du coude %.2g°, manipulabilité %.2g" % (elbow, manipulability),
      elbow <= 1e-3 and manipulability <= 1e-4)
k.angles(10, 60, 20, 30, 0, 20)
wrist, elbow, shoulder, manipulability = k.get_singularity()
check("A56 = 0 : singularité du poignet %g°, le coude et l'épaule loin des leurs" % wrist,
      wrist == 0 and elbow > 10 and shoulder > 100 and manipulability > 0.1)

k.close(); w.close()
sys.exit(1 if check.failures else 0)
PY
  KX_FAILURES=$((KX_FAILURES + 1))
kx_finish
