#!/usr/bin/env bash
# Runs the hostile-settings sweep (tests/test_hostile_settings.cpp) under
# AddressSanitizer and UndefinedBehaviorSanitizer, float-to-integer overflow
# included, in a build folder of its own (build-sanitize-sweep; only the
# sweep is built there). The first report stops the run and fails it.
# Takes about two minutes on two cores once built.
set -euo pipefail
cd "$(dirname "$0")/.."
# Leaks are the business of the leak-checked run of the whole suite; here
# the libraries' own would only hide what the sweep is looking for.
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
folder=build-sanitize-sweep
if [ ! -f "$folder/CMakeCache.txt" ]; then
  cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBEL_SANITIZE=ON -DQUORBEL_BENCH=OFF \
        -DCMAKE_CXX_FLAGS=-fsanitize=float-cast-overflow
fi
cmake --build "$folder" -j"$(nproc 2>/dev/null || echo 2)" --target test_hostile_settings
"$folder/tests/test_hostile_settings" --gtest_brief=1
