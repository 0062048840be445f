#!/usr/bin/env bash
# The test command CI runs (.ci/run): the steps below in order, each timed,
# stopping at the first that fails. Warnings are errors in every build.
#   build/            RelWithDebInfo, as shipped: the whole suite, the installation,
#                     the benchmarks built
#   build-sanitize/   Debug under AddressSanitizer and UndefinedBehaviorSanitizer:
#                     the whole suite again, nothing inlined away
#   build-fuzz/       clang, the fuzz targets only, each run for 30 s
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
timings=()
# The time each step took, also when one fails.
report() {
  echo "== time taken"
  printf '%s\n' "${timings[@]}"
}
trap report EXIT

step() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%5d s  %s' $((SECONDS - start)) "$name")")
}

# build DIR CMAKE_ARGUMENTS... [-- TARGETS...]
build() {
  local dir=$1 targets=()
  shift
  local args=()
  while (($#)) && [ "$1" != -- ]; do args+=("$1"); shift; done
  (($#)) && shift && targets=(--target "$@")
  cmake -S . -B "$dir" -DDIALVAULT_WERROR=ON "${launcher[@]}" "${args[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs" "${targets[@]}"
}

suite() {
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
}

# What the sanitizers find fails the test that meets it: a leak at exit, a
# stack frame used after its return, undefined behaviour (with its stack).
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1

step "dependencies" bash tools/install-deps.sh
step "style" bash tools/check-format.sh
step "one definition per type name" python3 tools/check-type-names.py
step "build" build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
step "tests" suite build
step "installation" bash tools/check-install.sh build
# Built, not run: speed is measured by hand, but a benchmark that no longer
# compiles is found here.
step "benchmarks build" build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -- benchmarks
step "sanitizer build (Debug)" build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DDIALVAULT_SANITIZE=ON
step "tests under the sanitizers" suite build-sanitize
step "fuzz build" build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DDIALVAULT_FUZZ=ON \
  -DBUILD_TESTING=OFF -- fuzzers
step "fuzzing, 30 s a target" bash tools/fuzz.sh build-fuzz 30
