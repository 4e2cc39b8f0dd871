#!/usr/bin/env bash
# Builds Quorbel with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into build-sanitize/ and runs every test leak-checked: a
# leak of ours, a memory error or undefined behaviour fails the run, in the
# test programs and in the quorbel runs they start. Options go to CTest
# (e.g. tools/sanitize.sh -R Bmp). Only the library leaks that
# tools/lsan.supp names are let through.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --packages-only

jobs=$(nproc 2>/dev/null || echo 2)
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
