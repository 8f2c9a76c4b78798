#!/usr/bin/env bash
# No client holds the program. While one client pipelines 60 screenshots,
# another's lines wait at most two ticks of the command timer each (counted
# by the program, `get ticks`), F5 pressed in the middle of the burst shows
# in the pictures after it, and every picture is a whole PNG of the window.
# Beside the burst, on a program of their own (slow-senders.sh), clients
# that never end their line are closed after 10 s: that half only waits, the
# burst works.
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
import os, socket, struct, subprocess, sys, zlib
from kalimbrax import Kalimbrax

port, data, wid = int(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = 0
BURST = 60

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

# --- A burst of screenshots beside a client that asks again and again -------
# Judged in the program's own unit, the ticks of its command timer (`get
# ticks`), not in seconds: the hub serves its sources in turn, one line each
# per turn, and a screenshot, longer than a tick's budget, ends its tick;
# the next tick starts with the source after it. So while the burst goes on,
# a line the other client has waiting runs in the next tick, or in the one
# after when its own line spent the budget (a loaded machine): K = 2 ticks
# between two of its pipelined lines, as CommandServerTest shows tick by
# tick. Each screenshot of the burst is followed by a `get ticks` of its
# own: their answers rising at every screenshot show that a tick holds one
# screenshot at most, so two ticks are two screenshots.
K = 2
burst = socket.create_connection(("127.0.0.1", port), timeout=120)
burst.sendall("".join("screenshot burst-%03d.png\nget ticks\n" % i for i in range(BURST)).encode())
gaps, batches, f5_at = [], [], None
with socket.create_connection(("127.0.0.1", port), timeout=60) as other, other.makefile("r") as answers:
    while shots_done() < BURST:
        # Five lines in one send: they arrive together and wait together,
        # whatever this client's own pace.
        other.sendall(b"get ticks\nget pose\nget ticks\nget pose\nget ticks\n")
        replies = [answers.readline().strip() for _ in range(5)]
        if not all(r.startswith("ok ") for r in replies):
            check("get ticks et get pose répondent", False, replies)
            break
        ticks = [int(replies[i].split()[1]) for i in (0, 2, 4)]
        gaps += [b - a for a, b in zip(ticks, ticks[1:])]
        batches.append(ticks)
        if f5_at is None and shots_done() >= 10:
            f5_at = shots_done()
            subprocess.run(["xdotool", "key", "--window", wid, "F5"], stderr=subprocess.DEVNULL)
with burst, burst.makefile("rb") as replies:
    answers = [replies.readline() for _ in range(2 * BURST)]
names = answers[0::2]
check("chaque capture répond par son nom", names == [b"ok burst-%03d.png\n" % i for i in range(BURST)], names[:3])
stamps = [int(a.split()[1]) if a.startswith(b"ok ") else -1 for a in answers[1::2]]
check("la rafale : un tick au moins par capture (%s ... %s)" % (stamps[:3], stamps[-3:]),
      all(b > a for a, b in zip(stamps, stamps[1:])), stamps)
during = [b for b in batches if b[-1] < stamps[-1]]
check("l'autre client servi pendant la rafale (%d séries de ses lignes sur %d)" % (len(during), len(batches)),
      len(during) >= 3, batches)
# Two lines apart (get ticks, get pose, get ticks): 2 K ticks at most.
check("l'autre client attend au plus %d ticks par ligne derrière les captures (pire : %s ticks pour deux lignes)"
      % (K, max(gaps, default=None)), gaps and max(gaps) <= 2 * K, gaps)
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
  kx_lt 0.02 "$(kx_difference "$data/burst-000.png" "$data/burst-059.png")"

wait "$slow"
slow_failures=$?
cat "$KX_WORK/slow-senders.txt"
KX_FAILURES=$((KX_FAILURES + slow_failures))
kx_finish
