#!/usr/bin/env bash
# Builds the libraries without a toolkit, elkcat and their tests with
# ThreadSanitizer into build-tsan/ and runs every test there: the page
# workers, snapshots swapped under them, the strip's thumbnail fill, the
# catalog preload and the site writer among them. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DELK_BUILD_GUI=OFF -DELK_THREAD_SANITIZE=ON \
  >/dev/null
cmake --build build-tsan
cd build-tsan
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j2
