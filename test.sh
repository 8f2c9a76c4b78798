#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (the
# end-to-end tests start their own virtual displays). --help says so and
# does nothing else.
set -u
case "${1:-}" in
  "") ;;
  -h|--help)
    cat <<'USAGE'
usage : ./test.sh

Installe les paquets Debian qui manquent (apt-get, en root ou par sudo),
construit dans build/ et lance toute la suite avec ctest : tests unitaires,
tests de bout en bout (le vrai programme sous Xvfb), construction avec
AddressSanitizer et UndefinedBehaviorSanitizer dans build/asan, un nombre
fixe d'entrées par cible de fuzzing et un passage sous valgrind. Plusieurs
minutes sur deux cœurs.

Pour une partie seulement, après une première construction :
  cd build && ctest -LE long -j2      # tout sauf fuzzing, sanitizers et valgrind
  cd build && ctest -R command        # les tests dont le nom contient « command »
  cd build && ctest -L e2e            # les tests de bout en bout
USAGE
    exit 0 ;;
  *)
    echo "option inconnue « $1 » (./test.sh --help)" >&2
    exit 2 ;;
esac
root="$(cd "$(dirname "$0")" && pwd)"
. "$root/tools/install-deps.sh"
kx_install_deps || exit 1
kx_build "$root" || exit 1
cd "$root/build" && ctest --output-on-failure -j2 --timeout 600
