#!/usr/bin/env bash
# Installs the Debian packages Kalimbrax needs, only those that are missing.
# Sourced by run.sh and test.sh; quiet when everything is already there.
KX_PACKAGES=(
  cmake g++ make pkg-config clang-format        # build, and the format check
  libgtest-dev libbenchmark-dev                 # tests and benchmarks
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri # window and drawing (Mesa)
  libimgui-dev libstb0                          # control panel
  libpng-dev                                    # PNG screenshots
  liborocos-kdl-dev                             # kinematics peer in the benchmarks
  libutfcpp-dev                                 # UTF-8 checks of the command replies
  libassimp-dev libmeshoptimizer-dev            # mesh import tool
  liburdfdom-dev                                # robot descriptions (kalimbrax-arm)
  libfcl-dev                                    # collision checks (FCL, libccd, Eigen)
  xvfb xdotool x11-utils imagemagick            # headless runs and end-to-end tests
  python3                                       # the Python client and its tests
  valgrind clang libclang-rt-14-dev             # memory checks, sanitizers, fuzzing
)

kx_install_deps() {
  local missing=()
  local pkg
  for pkg in "${KX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Paquets manquants (${missing[*]}) et ni root ni sudo." >&2; return 1; }
    sudo="sudo"
  fi
  echo "Installation de : ${missing[*]}"
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# Builds into ROOT/build, showing the build's progress (the first build
# takes a few minutes).
kx_build() {
  local root="$1"
  echo "Construction dans $root/build..."
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
  cmake --build "$root/build" -j"$(nproc)" -- --no-print-directory || return 1
  echo "Construction terminée."
}
