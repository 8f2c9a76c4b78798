#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (the
# end-to-end tests start their own virtual displays).
set -u
root="$(cd "$(dirname "$0")" && pwd)"
. "$root/tools/install-deps.sh"
kx_install_deps || exit 1
kx_build "$root" || exit 1
cd "$root/build" && ctest --output-on-failure -j2 --timeout 600
