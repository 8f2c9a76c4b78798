#!/usr/bin/env bash
# No client holds the program. While one client pipelines 120 screenshots,
# another asks "get pose" every 50 ms and never waits a second, F5 pressed
# in the middle of the burst shows in the pictures after it, and every
# picture is a whole PNG of the window. Beside the burst, on a program of
# their own (slow-senders.sh), clients that never end their line are closed
# after 10 s: that half only waits, the burst works.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/slow-senders.sh"
( slow_senders ) >"$KX_WORK/slow-senders.txt" 2>&1 &
slow=$!
# However this test ends, the slow senders' half ends first (by itself,
# within half a minute), its program and display with it.
trap 'wait "$slow" 2>/dev/null; kx_cleanup' EXIT
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
port=$(kx_command_port) || { kx_fail "pas de port annoncé"; cat "$KX_WORK/run/console.txt"; kx_finish; }

PYTHONPATH="$KX_SOURCE/clients/python" python3 - "$port" "$data" "$KX_WID" >"$KX_WORK/client.txt" 2>&1 <<'EOF'
import os, socket, struct, subprocess, sys, time, zlib
from kalimbrax import Kalimbrax

port, data, wid = int(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = 0
BURST = 120

def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "ÉCHEC: ") + what + ("" if ok else "  " + str(detail)))
    failures += not ok

def whole_png(path, width, height):
    """True when the file is a PNG of that size whose every chunk checks and
    whose pixels all decode, not all black."""
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:8] != b"\x89PNG\r\n\x1a\n":
        return False
    at, pixels, size = 8, b"", None
    while at + 8 <= len(blob):
        length, kind = struct.unpack(">I4s", blob[at:at + 8])
        body = blob[at + 8:at + 8 + length]
        crc = blob[at + 8 + length:at + 12 + length]
        if len(body) != length or len(crc) != 4 or zlib.crc32(kind + body) != struct.unpack(">I", crc)[0]:
            return False
        if kind == b"IHDR":
            size = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            pixels += body
        elif kind == b"IEND":
            break
        at += 12 + length
    raw = zlib.decompress(pixels)
    return size == (width, height) and len(raw) == height * (1 + width * 3) and raw.count(0) < len(raw)

def shots_done():
    return sum(os.path.exists(os.path.join(data, "burst-%03d.png" % i)) for i in range(BURST))

# --- A burst of screenshots beside a client that asks every 50 ms ------------
burst = socket.create_connection(("127.0.0.1", port), timeout=120)
burst.sendall("".join("screenshot burst-%03d.png\n" % i for i in range(BURST)).encode())
worst, asked, f5_at = 0.0, 0, None
with Kalimbrax(port, timeout=30) as other:
    deadline = time.monotonic() + 120
    while shots_done() < BURST and time.monotonic() < deadline:
        begun = time.monotonic()
        try:
            other.get_pose()
        except TimeoutError:
            worst = max(worst, time.monotonic() - begun)
            break
        worst = max(worst, time.monotonic() - begun)
        asked += 1
        if f5_at is None and shots_done() >= 10:
            f5_at = shots_done()
            subprocess.run(["xdotool", "key", "--window", wid, "F5"], stderr=subprocess.DEVNULL)
        time.sleep(0.05)
    check("un autre client n'attend jamais plus d'une seconde (pire : %.2f s sur %d get pose)" % (worst, asked),
          worst < 1.0, worst)
with burst, burst.makefile("rb") as replies:
    answers = [replies.readline() for _ in range(BURST)]
check("chaque capture répond par son nom",
      answers == [b"ok burst-%03d.png\n" % i for i in range(BURST)], answers[:3])
bad = [i for i in range(BURST) if not whole_png(os.path.join(data, "burst-%03d.png" % i), 800, 600)]
check("chaque capture est un PNG entier de la fenêtre", not bad, bad)
print("F5 pressée après %s captures" % f5_at)

with Kalimbrax(port) as closing:
    closing.exit()
sys.exit(1 if failures else 0)
EOF
kx_client_done $? "les clients"
# In wireframe the picture changes wholly: the last capture differs from the
# first only if F5 was handled while the burst went on.
kx_check "F5 pendant la rafale change les captures suivantes" \
  kx_lt 0.02 "$(kx_difference "$data/burst-000.png" "$data/burst-119.png")"

wait "$slow"
slow_failures=$?
cat "$KX_WORK/slow-senders.txt"
KX_FAILURES=$((KX_FAILURES + slow_failures))
kx_finish
