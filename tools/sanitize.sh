#!/usr/bin/env bash
# Builds Quorbel with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into build-sanitize/ and runs every test leak-checked: a
# leak of ours, a memory error or undefined behaviour fails the run, in the
# test programs and in the quorbel runs they start. Options go to CTest
# (e.g. tools/sanitize.sh -R Bmp). Only the library leaks that
# tools/lsan.supp names are let through.
#
# tools/sanitize.sh --threads builds with ThreadSanitizer into build-tsan/
# instead and runs the recording tests (every container, stopping early,
# the encoding threads handing over): a data race fails the run. Only the
# races inside the libraries tools/tsan.supp names are let through. Other
# options go to CTest as above and replace the choice of tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --packages-only

jobs=$(nproc 2>/dev/null || echo 2)

if [[ "${1:-}" == "--threads" ]]; then
  shift
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBEL_TSAN=ON -DQUORBEL_BENCH=OFF
  cmake --build build-tsan -j"$jobs" --target quorbel test_recording test_recording_formats test_avi_writer \
    test_headless_record
  export TSAN_OPTIONS="suppressions=$PWD/tools/tsan.supp:halt_on_error=1:second_deadlock_stack=1:print_suppressions=0"
  cd build-tsan
  if [[ $# -eq 0 ]]; then
    set -- -R '^(FramePipeline|RecordingLoop|AviWriterFiles|HeadlessRecord|HeadlessFormats|Recording)'
  fi
  ctest --output-on-failure -j"$jobs" "$@"
  exit
fi

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBEL_SANITIZE=ON -DQUORBEL_BENCH=OFF
cmake --build build-sanitize -j"$jobs"

# Leak checking is on by default on Linux; said here so nobody wonders. Fast
# unwinding stays on: the slow unwinder deadlocks inside llvmpipe's JIT. The
# runtime's dynamic-TLS bookkeeping records bogus blocks on this glibc, and
# the leak checker then crashes scanning them ("Tracer caught signal 11"),
# so it is left out; the threads' stacks and static TLS are still scanned.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:check_initialization_order=1:strict_init_order=1"
ASAN_OPTIONS+=":intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd build-sanitize
ctest --output-on-failure -j"$jobs" "$@"
