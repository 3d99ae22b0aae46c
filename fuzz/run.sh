#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and
# runs each for SECONDS (default 60). Inputs they learn are kept in
# build-fuzz/corpus/ for the next run; an input that breaks a harness is
# written to build-fuzz/findings/TARGET/ and the script fails.
#
#   fuzz/run.sh [SECONDS] [TARGET...]     targets: catalog picture ini request search
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(catalog picture ini request search)

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DELK_FUZZ=ON -DELK_SANITIZE=ON -DELK_BUILD_GUI=OFF -DELK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target make-fuzz-seeds $(printf 'fuzz_%s ' "${targets[@]}")

# The seeds are made by our own tools from the sources of this checkout.
rm -rf "$build/seeds"
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make-fuzz-seeds" "$build/seeds" .

failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1)
  # A search whose one input takes seconds has gone beyond linear-times-
  # pattern work (the rest of the run takes microseconds per input).
  if [ "$target" = search ]; then options+=(-timeout=5); else options+=(-timeout=10); fi
  [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
  echo "== fuzz_$target for $seconds s"
  if ! "$build/fuzz/fuzz_$target" "${options[@]}" "$corpus" "$build/seeds/$target" 2>"$build/fuzz-$target.log"; then
    failed+=("$target")
  fi
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|cov: " "$build/fuzz-$target.log" | tail -3 || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found inputs that break: ${failed[*]} (see $build/findings/ and $build/fuzz-TARGET.log)" >&2
  exit 1
fi
