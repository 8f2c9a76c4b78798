#!/usr/bin/env bash
# Sourced by test_command_fairness.sh, whose burst of screenshots it runs
# beside: slow_senders, in a subshell of its own, starts a program of its own
# on a display of its own, where three clients that each send one byte every
# 2 s, never ending their line, are closed with an error line, while a
# client silent between lines stays, and a client that was turned away
# meanwhile gets in. That the limit is 10 s, not less, is shown on the
# program's clock by the unit test
# CommandServerTest.ALineUnfinishedForTenSecondsClosesItsConnection. Its
# checks' lines go to standard output and its exit status is the number of
# failures. It only waits (for the port's 10 s limit), so it costs the burst
# beside it nothing.
slow_senders() {
  trap kx_stop_all EXIT
  KX_WORK="$KX_WORK/slow-senders"
  mkdir -p "$KX_WORK"
  kx_start_xvfb || exit 1
  local data port
  data=$(kx_data_copy)
  kx_launch "$data" KX-E2E-Slow --port 0 || { kx_fail "la fenêtre n'apparaît pas"; exit 1; }
  port=$(kx_command_port) || { kx_fail "pas de port annoncé"; cat "$KX_WORK/run/console.txt"; exit 1; }
  PYTHONPATH="$KX_SOURCE/clients/python" python3 - "$port" >"$KX_WORK/client.txt" 2>&1 <<'EOF'
import socket, sys, time
from kalimbrax import Kalimbrax

port = int(sys.argv[1])
failures = 0

def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "ÉCHEC: ") + what + ("" if ok else "  " + str(detail)))
    failures += not ok

def admitted():
    """A connection the server took: it answers a line."""
    for _ in range(100):
        s = socket.create_connection(("127.0.0.1", port), timeout=5)
        s.sendall(b"get angles\n")
        if s.makefile("rb").readline().startswith(b"ok "):
            return s
        s.close()
        time.sleep(0.1)
    raise RuntimeError("aucune place libre")

silent = admitted()
slow = [admitted() for _ in range(3)]
for s in slow:
    s.setblocking(False)
started = time.monotonic()
closed, served_at, turned_away, byte = {}, None, 0, 0
while time.monotonic() - started < 30 and (len(closed) < 3 or served_at is None):
    due = time.monotonic() - started >= 2 * byte
    for i, s in enumerate(slow):
        if i in closed:
            continue
        try:
            got = s.recv(4096)
            closed[i] = (time.monotonic() - started, got)
        except BlockingIOError:
            if due:
                s.send(b"get pose"[byte % 8:byte % 8 + 1])
    byte += due
    if served_at is None:
        try:
            with Kalimbrax(port, timeout=1) as newcomer:
                newcomer.get_angles()
                served_at = time.monotonic() - started
        except Exception:
            turned_away += 1
    time.sleep(0.2)
for s in slow:
    s.close()
check("les lignes inachevées sont fermées avec une ligne d'erreur",
      sorted(got for _, got in closed.values()) ==
      [b"erreur : ligne inachev\xc3\xa9e depuis 10 s, connexion ferm\xc3\xa9e\n"] * 3, closed)
check("un client refusé entre ensuite (%s essais refusés, servi à %s s)" % (turned_away, served_at),
      served_at is not None and turned_away > 0, served_at)
silent.sendall(b"get pose\nexit\n")
replies = silent.makefile("rb")
check("le client silencieux entre ses lignes reste", replies.readline().startswith(b"ok ") and
      replies.readline() == b"ok\n")
silent.close()
sys.exit(1 if failures else 0)
EOF
  kx_client_done $? "les clients lents" "exit : statut 0 (clients lents)"
  exit $((KX_FAILURES > 255 ? 255 : KX_FAILURES))
}
