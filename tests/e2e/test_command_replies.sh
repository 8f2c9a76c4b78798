#!/usr/bin/env bash
# Never "ok" for what did not happen: with the Python client, every refused
# command gets its "erreur" and the arm has not moved; a moveto stopped by
# another client says where the arm stands; every line sent gets one reply,
# comments and blank lines included; get matrix agrees with get pose. The
# arm moves four times quicker than default/'s, in a small window: no check
# here is about time or the picture.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_fast_moves "$data" 4 || { kx_fail "vitesses du bras"; kx_finish; }
kx_small_window "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
port=$(kx_command_port) || { kx_fail "pas de port"; kx_finish; }

PYTHONPATH="$KX_SOURCE/clients/python" python3 - "$port" <<'PY' || KX_FAILURES=$((KX_FAILURES + 1))
import socket, sys, time
from kalimbrax import Kalimbrax, KalimbraxError, pose_matrix, pose_matches

port = int(sys.argv[1])
failures = 0
def check(what, condition, detail=""):
    global failures
    print(("ok: " if condition else "ÉCHEC: ") + what + ("" if condition else "  " + str(detail)))
    failures += 0 if condition else 1

k, other = Kalimbrax(port), Kalimbrax(port)

# Refusals: the words, and the arm where it was.
refusals = [
    ("pose hors d'atteinte", "pose 742.88 -346.41 5000 0 0 0", "pose : hors d'atteinte, à "),
    ("mgi hors d'atteinte", "mgi 5000 0 0 0 0 0", "mgi : hors d'atteinte, à "),
    ("angles hors des limites", "angles 190 0 0 0 0 0", "angles : A12 = 190 hors des limites [-180 ; 180]"),
    ("target hors des limites", "target 0 -200 0 0 0 0", "target : A23 = -200 hors des limites [-180 ; 180]"),
    ("moveto hors des limites", "moveto 0 0 0 0 0 200,5", "moveto : A67 = 200,5 hors des limites [-180 ; 180]"),
]
for what, line, words in refusals:
    before, targets = k.get_angles(), k.get_targets()
    try:
        k.command(line)
        check(what + " : refusé", False, "ok reçu")
    except KalimbraxError as e:
        check(what + " : " + words, str(e).startswith(words), e)
    check(what + " : le bras n'a pas bougé", k.get_angles() == before and k.get_targets() == targets)

# A moveto stopped half way by another client: its error, with the angles
# where the arm stands.
raw = socket.create_connection(("127.0.0.1", port))
replies = raw.makefile("r")
raw.sendall(b"moveto 170 90 90 0 0 0\n")
start = time.monotonic()
while other.get_angles()[0] < 40 and time.monotonic() - start < 10:
    time.sleep(0.02)
other.stop()
reply = replies.readline().strip()
stopped = other.get_angles()
words = "erreur moveto : arrêté avant l'arrivée : "
check("moveto arrêté : " + words, reply.startswith(words), reply)
check("moveto arrêté : les angles où le bras se trouve",
      tuple(float(v) for v in reply[len(words):].split()) == stopped, (reply, stopped))
raw.sendall(b"moveto -25 45 15 0 60 0\n")
check("moveto mené à son terme : ok", replies.readline().strip() == "ok")
replies.close(); raw.close()

# A thousand lines of a script, each sent once the previous one on its
# connection is answered: a thousand replies. The port's four clients share
# them, line i going to client i % 4, so that each meets every kind of line;
# the port serves them in the same ticks, a quarter of the time one client
# alone takes.
def admitted():
    """A connection the port took (it answers a line): the places of the
    clients just closed are freed at the port's next tick."""
    for _ in range(100):
        sock = socket.create_connection(("127.0.0.1", port))
        lines = sock.makefile("r")
        try:
            sock.sendall(b"get speed\n")
            if lines.readline().startswith("ok "):
                return sock, lines
        except OSError:  # turned away: the port may close before the line is read
            pass
        lines.close(); sock.close()
        time.sleep(0.05)
    raise RuntimeError("aucune place libre")


k.close(); other.close()
script = []
for i in range(1000):
    kind = i % 5
    script.append(["# commentaire %d" % i, "", "get pose", "show axes %s" % ("on" if i % 2 else "off"),
                   "angles %d 45 15 0 60 0" % (i % 90 - 45)][kind])
socks, files = zip(*(admitted() for _ in range(4)))
answered = 0
for at in range(0, len(script), len(socks)):
    turn = list(zip(socks, files, script[at:at + len(socks)]))
    for sock, _, line in turn:
        sock.sendall((line + "\n").encode())
    for _, lines, _ in turn:
        if lines.readline().startswith(("ok", "erreur")):
            answered += 1
check("1000 lignes, 1000 réponses", answered == 1000, answered)
for sock, lines in zip(socks, files):
    lines.close(); sock.close()

# The matrix of a pose and of its read-back pose agree, asked by a client
# the port took once the four above left.
for _ in range(100):
    k = Kalimbrax(port)
    try:
        k.get_speed()
        break
    except (KalimbraxError, OSError):
        k.close()
        time.sleep(0.05)
k.pose(600, 0, 500, 0, 0, 90)
read_back = k.get_pose()
check("pose relue : même orientation (%s)" % (read_back,), pose_matches((600, 0, 500, 0, 0, 90), read_back))
matrix = k.get_matrix()
check("get matrix = matrice de get pose",
      all(abs(a - b) <= 1e-5 for a, b in zip(matrix[:9], pose_matrix(read_back)[:9])) and
      all(abs(a - b) <= 0.01 for a, b in zip(matrix[9:], read_back[:3])), (matrix, pose_matrix(read_back)))
k.close()
sys.exit(1 if failures else 0)
PY
kx_finish
