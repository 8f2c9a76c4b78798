#!/usr/bin/env bash
# The sanitizer build: kx_core and its window-free tests (kalimbrax-core-tests),
# and the tools with kalimbrax-arm's tests (kalimbrax-arm-tests: the crafted
# descriptions and data sheets that overflowed the stack or read NaN), under
# AddressSanitizer and UndefinedBehaviorSanitizer, any report fatal.
# With clang the same build also holds the libFuzzer targets (tools/fuzz.sh).
#
#   tools/sanitize.sh build [DIR]   configure and build (default DIR: build/asan)
#   tools/sanitize.sh run [DIR]     run the core tests of a built DIR
#   tools/sanitize.sh [test] [DIR]  both
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
action="${1:-test}"
dir="${2:-$root/build/asan}"

configure_and_build() {
  local cc=gcc cxx=g++ fuzz=OFF
  if command -v clang >/dev/null && command -v clang++ >/dev/null; then
    cc=clang; cxx=clang++; fuzz=ON
  fi
  # -fno-sanitize-recover=all: UBSan stops at its first report instead of
  # printing it and going on, so the test fails.
  local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DKALIMBRAX_GL=OFF -DKALIMBRAX_BENCH=OFF -DKALIMBRAX_TOOLS=ON \
    -DKALIMBRAX_SANITIZER_TESTS=OFF -DKALIMBRAX_FUZZ="$fuzz" >"$dir.configure.log" 2>&1 || {
    cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j2 --target kalimbrax-core-tests kalimbrax-arm-tests $([ "$fuzz" = ON ] && echo fuzz-targets) \
    -- --no-print-directory -s >"$dir.build.log" 2>&1 || {
    tail -n 60 "$dir.build.log"; return 1; }
  echo "construction avec sanitizers ($cxx) : $dir"
}

run_tests() {
  [ -x "$dir/tests/kalimbrax-core-tests" ] || { echo "pas de $dir/tests/kalimbrax-core-tests : construire d'abord" >&2; return 1; }
  # The tests write their scratch files in the temporary directory; running
  # from the build directory keeps any other file out of the source tree.
  cd "$dir" || return 1
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ./tests/kalimbrax-core-tests --gtest_brief=1 && ./tools/arm/kalimbrax-arm-tests --gtest_brief=1
}

mkdir -p "$(dirname "$dir")"
case "$action" in
  build) configure_and_build ;;
  run) run_tests ;;
  test) configure_and_build && run_tests ;;
  *) echo "usage : tools/sanitize.sh [build|run|test] [RÉPERTOIRE]" >&2; exit 2 ;;
esac
