#!/usr/bin/env bash
# The command port end to end, driven by the Python client: angles and the
# pose read back agree with kalimbrax-kin; a reachable pose is reached;
# target, go and wait bring the arm there in the time the joint speeds imply
# on the program's clock (its motion record), and the picture shows it; a PNG screenshot of the window; bad lines, a 100 KB
# line, a name with "/", a name too long, the data set's own textures (their
# bytes unchanged) and a client killed mid-line get their errors or are
# dropped while a new client is served; exit ends with 0.
# KX_PICTURES=DIR keeps the pictures there. The pictures are compared with
# each other, or measured as fractions of themselves: the graphics window is
# small (kx_small_window), its second of real-time motion drawn in a sixth
# of the pixels.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_small_window "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
port=$(kx_command_port) || { kx_fail "pas de port annoncé"; cat "$KX_WORK/run/console.txt"; kx_finish; }
kx_check "le port n'écoute que sur 127.0.0.1" \
  grep -qi "0100007F:$(printf '%04X' "$port") 00000000:0000 0A" /proc/net/tcp

# The forward model of the shipped arm, for the checks of the client.
kin_mgd() { echo "$*" | "$KX_BUILD/kalimbrax-kin" mgd "$data"; }
export KX_EXPECTED_POSE KX_TARGET_POSE
KX_EXPECTED_POSE=$(kin_mgd 10 20 30 40 50 60)
KX_TARGET_POSE=$(kin_mgd 15 50 30 20 40 10)

PYTHONPATH="$KX_SOURCE/clients/python" python3 - "$port" "$data" >"$KX_WORK/client.txt" 2>&1 <<'EOF'
import os, re, socket, struct, sys
from kalimbrax import Kalimbrax, KalimbraxError

port, data = int(sys.argv[1]), sys.argv[2]
failures = 0
# The window's size, as the data set's graphics.opt asks it.
GRAPHICS = open(os.path.join(data, "graphics.opt"), encoding="cp1252").read()
WINDOW = tuple(int(re.search(r"^\s*%s\s*=\s*(\d+)" % key, GRAPHICS, re.M).group(1))
               for key in ("iScreenWidth", "iScreenHeight"))

def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "ÉCHEC: ") + what + ("" if ok else "  " + str(detail)))
    failures += not ok

def near(a, b, tolerance):
    return len(a) == len(b) and all(abs(x - y) <= tolerance for x, y in zip(a, b))

def floats(text):
    return tuple(float(v) for v in text.split())

def error_of(k, line):
    try:
        k.command(line)
        return None
    except KalimbraxError as e:
        return str(e)

def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return head[:8] == b"\x89PNG\r\n\x1a\n", struct.unpack(">II", head[16:24])

with Kalimbrax(port) as k:
    k.angles(10, 20, 30, 40, 50, 60)
    check("angles puis get angles", k.get_angles() == (10, 20, 30, 40, 50, 60), k.get_angles())
    check("get pose = kalimbrax-kin mgd", k.get_pose() == floats(os.environ["KX_EXPECTED_POSE"]), k.get_pose())
    check("mgd = kalimbrax-kin mgd", k.mgd(10, 20, 30, 40, 50, 60) == floats(os.environ["KX_EXPECTED_POSE"]))

    target = floats(os.environ["KX_TARGET_POSE"])
    angles = k.pose(*target)
    reached = k.get_pose()
    check("pose atteinte (position)", near(reached[:3], target[:3], 0.01), reached)
    check("pose atteinte (orientation)", near(reached[3:], target[3:], 0.01), reached)
    check("la réponse de pose donne les angles pris", angles == k.get_angles(), (angles, k.get_angles()))
    check("mgi calcule sans bouger", near(k.mgi(*target), angles, 1e-3) and k.get_angles() == angles)

    # 60 degrees of A12 at 60 degrees per second: a second.
    start = k.get_angles()
    goal = (start[0] + 60,) + start[1:]
    k.target(*goal)
    check("get targets", k.get_targets() == tuple(goal), k.get_targets())
    k.go()
    k.wait()
    check("wait rend la main à l'arrivée : le bras est à la cible", near(k.get_angles(), goal, 1e-3), k.get_angles())
    # On the program's clock, the motion's record: the second the joint's
    # speed gives, not less (its last line comes with the first frame after
    # the arrival, later on a loaded machine: how late is the machine's).
    k.record("chase.csv")
    last = float(open(os.path.join(data, "chase.csv")).read().splitlines()[-1].split(",")[0])
    check("le mouvement dure %.2f s sur l'horloge du programme, pas moins d'1 s" % last, last >= 0.99, last)
    k.screenshot("after-motion.png")
    k.angles(*goal)
    k.screenshot("direct.png")

    check("screenshot répond par son nom", k.screenshot("a.png") == "a.png")
    is_png, size = png_size(os.path.join(data, "a.png"))
    check("a.png est un PNG de la taille de la fenêtre %dx%d" % WINDOW, is_png and size == WINDOW, size)

    for line, expected in [
        ("pose 1 2 3 4", "pose : 6 nombres attendus, 4 reçus"),
        ("angles 1 2 3 4 5 nan", "angles : « nan » n'est pas un nombre fini"),
        ("screenshot ../a.png", "screenshot : nom refusé « ../a.png » : lettres, chiffres, « - » et « _ », puis .png ou .tga"),
        ("screenshot sub/a.png", "screenshot : nom refusé « sub/a.png » : lettres, chiffres, « - » et « _ », puis .png ou .tga"),
        ("tourne", "tourne : commande inconnue"),
        ("screenshot " + "b" * 244 + ".png", "screenshot : nom de 248 caractères, 100 au plus"),
    ] + [
        # The data set's own files, whatever the case: a screenshot over the
        # ground's texture would be drawn as the ground at the next start.
        ("screenshot " + name, "screenshot : « %s » appartient au jeu de données : nom refusé" % name)
        for name in ("ground.tga", "skydome.tga", "metal.tga", "Ground.tga", "METAL.tga")
    ]:
        check("refusé : " + line[:60], error_of(k, line) == expected, error_of(k, line))

    # A client that dies mid-line, and one that sends 100 KB on one line.
    dying = socket.create_connection(("127.0.0.1", port))
    dying.sendall(b"moveto 0 0 0")
    dying.close()
    flood = socket.create_connection(("127.0.0.1", port), timeout=10)
    flood.sendall(b"x" * (100 * 1024))
    reply = flood.makefile("rb").readline()
    check("ligne de 100 Ko : erreur", reply == "erreur : ligne de plus de 4096 octets, connexion fermée\n".encode(), reply)
    check("puis connexion fermée", flood.recv(1) == b"")
    flood.close()
    with Kalimbrax(port) as other:
        check("un nouveau client est servi", other.get_angles() == tuple(goal))
    check("le premier client aussi", k.get_angles() == tuple(goal))
    k.exit()
sys.exit(1 if failures else 0)
EOF
kx_client_done $? "le client Python"
kx_check "l'image montre le bras à la cible" kx_lt "$(kx_difference "$data/after-motion.png" "$data/direct.png")" 0.002
kx_check "l'image montre la scène" kx_lt 0.2 "$(kx_mean "$data/a.png")"
for texture in ground.tga skydome.tga metal.tga; do
  kx_check "$texture : les mêmes octets" cmp -s "$data/$texture" "$KX_SOURCE/default/$texture"
done
kx_check "aucun fichier en plus des captures demandées" kx_eq "$(ls "$data" | grep -ci '^ground\|^metal\|^skydome' )" 5
kx_check "le journal d'erreur reste vide" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 1
[ -n "${KX_PICTURES:-}" ] && mkdir -p "$KX_PICTURES" && cp "$data"/*.png "$KX_PICTURES/"
kx_finish
