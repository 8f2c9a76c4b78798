#!/usr/bin/env bash
# Common frame of the end-to-end tests: a fresh virtual display, a scratch
# start directory for the logs, a copy of the data set, and small checks.
set -u
KX_BUILD="${KX_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build}"
KX_SOURCE="${KX_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
. "$KX_SOURCE/tools/xvfb-lib.sh"

KX_PROGRAM="$KX_BUILD/kalimbrax"
KX_WORK="$(mktemp -d /tmp/kx-e2e.XXXXXX)"
KX_FAILURES=0

kx_cleanup() {
  kx_stop_all
  if [ "$KX_FAILURES" -eq 0 ] && [ -z "${KX_KEEP:-}" ]; then rm -rf "$KX_WORK"; else echo "fichiers gardés dans $KX_WORK"; fi
}
trap kx_cleanup EXIT

# A copy of the default data set, to modify or to receive screenshots.
kx_data_copy() {
  local dir="$KX_WORK/${1:-data}"
  rm -rf "$dir"; cp -r "$KX_SOURCE/default" "$dir"
  echo "$dir"
}

kx_fail() { echo "ÉCHEC: $*" >&2; KX_FAILURES=$((KX_FAILURES + 1)); }
kx_check() { local what="$1"; shift; if "$@"; then echo "ok: $what"; else kx_fail "$what"; fi; }
kx_eq() { [ "$1" = "$2" ] || { echo "  attendu [$2], obtenu [$1]" >&2; return 1; }; }
kx_contains() { grep -qF -- "$2" "$1" || { echo "  [$2] absent de $1" >&2; return 1; }; }
# kx_lt A B: A < B as real numbers
kx_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }' || { echo "  $1 n'est pas < $2" >&2; return 1; }; }

# The error log's messages, without their time field, converted to UTF-8.
kx_log_messages() {
  iconv -f WINDOWS-1252 -t UTF-8 "$1" | sed -E 's/^[0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]+ - //'
}

kx_finish() {
  if [ "$KX_FAILURES" -ne 0 ]; then echo "$KX_FAILURES vérification(s) en échec"; exit 1; fi
  echo "toutes les vérifications passent"
}
