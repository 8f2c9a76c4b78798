#!/usr/bin/env bash
# Installs what is missing, builds, and starts the simulator on default/.
# Without a display the program runs in a virtual one: a picture of the scene
# is saved and its path printed.
set -u
root="$(cd "$(dirname "$0")" && pwd)"
. "$root/tools/install-deps.sh"
kx_install_deps || exit 1
kx_build "$root" || exit 1
cd "$root"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$root/build/kalimbrax" "$root/default"
fi
exec "$root/tools/headless-picture.sh" "$root/build/kalimbrax" "$root/default" "$root/build/kalimbrax.png"
