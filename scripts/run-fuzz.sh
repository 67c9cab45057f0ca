#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for SECONDS (default 60),
# printing libFuzzer's summary per target. Every executable named fuzz_* of build-fuzz/fuzz is run,
# seeded from fuzz/corpus/<name>/ when that folder exists (the inputs of a past failure are kept
# there, so each run starts by replaying them). New inputs go to build-fuzz/corpus/<name>/; an input
# that fails is saved as build-fuzz/artifacts/<name>-crash-... and the script exits with 1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

compiler="${CXX_FUZZ:-}"
if [ -z "$compiler" ]; then
  for candidate in clang++-14 clang++; do
    if command -v "$candidate" > /dev/null; then compiler="$candidate"; break; fi
  done
fi
[ -n "$compiler" ] || { echo "run-fuzz.sh: clang++ not found (scripts/install-deps.sh installs it)" >&2; exit 2; }

launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DPAVISOR_FUZZ=ON \
  -DPAVISOR_BUILD_TESTS=OFF -DPAVISOR_BUILD_BENCH=OFF "${launcher[@]}" > /dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target fuzzers

mkdir -p build-fuzz/corpus build-fuzz/artifacts
failed=()
for target in build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpora=("build-fuzz/corpus/$name")
  mkdir -p "${corpora[0]}"
  [ -d "fuzz/corpus/$name" ] && corpora+=("fuzz/corpus/$name")
  log="build-fuzz/artifacts/$name.log"
  echo "== $name: ${seconds} s"
  status=0
  "$target" -max_total_time="$seconds" -max_len=8192 -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$name-" "${corpora[@]}" > "$log" 2>&1 || status=$?
  # libFuzzer's summary: the last coverage line, the run count and its final statistics.
  grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
  if [ "$status" != 0 ]; then
    grep -E 'ERROR:|SUMMARY:|Test unit written|^artifact_prefix' "$log" || tail -n 20 "$log"
    failed+=("$name")
  fi
done

if [ "${#failed[@]}" != 0 ]; then
  echo "run-fuzz.sh: failed: ${failed[*]} (logs in build-fuzz/artifacts/)" >&2
  exit 1
fi
echo "run-fuzz.sh: every target ran clean"
