#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, clang with ASan and UBSan) into
# build-fuzz and runs each one, starting from its committed seed corpus.
# Usage: scripts/fuzz.sh [--seconds N | --runs N] [--fork N] [target...]
#        scripts/fuzz.sh --corpus        writes the seed corpora and the
#                                        dictionaries anew (fuzz/make-corpus.sh)
#   scripts/fuzz.sh                      every target for 60 s (CI)
#   scripts/fuzz.sh --runs 10000000      the long run (docs/HARDENING.md)
#   --fork N                             N processes at once, the count or
#                                        time shared among them
#   scripts/fuzz.sh --seconds 600 request_stream
# Targets: request_stream, event_translation, record_text. What a run finds
# new goes to build-fuzz/corpus/<target>; an input that fails is kept as
# build-fuzz/findings/<target>-<kind>-<hash> and fails the script. A run
# first checks that the committed corpora and dictionaries are those the
# host's tables make.
# TAVMO_FUZZ_BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=60)
fork=()
targets=()
corpus=""
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --fork) fork=(-fork="$2"); shift 2 ;;
    --corpus) corpus=write; shift ;;
    -*) echo "usage: $0 [--seconds N | --runs N] [--fork N] [target...] | --corpus" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(request_stream event_translation record_text)

bash scripts/install-deps.sh fuzz
build=${TAVMO_FUZZ_BUILD_DIR:-build-fuzz}
clang=$(command -v clang-14 || command -v clang)
clangxx=$(command -v clang++-14 || command -v clang++)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# clang warns about things GCC does not; the GCC builds hold the warning bar.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER="$clang" \
  -DCMAKE_CXX_COMPILER="$clangxx" -DTAVMO_FUZZ=ON -DTAVMO_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
if [ -n "$corpus" ]; then
  cmake --build "$build" --target fuzz_tables
  exec bash fuzz/make-corpus.sh "$build/bin/fuzz_tables"
fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}" fuzz_tables
bash fuzz/make-corpus.sh "$build/bin/fuzz_tables" --check

build=$(cd "$build" && pwd)
symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
[ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH="$symbolizer"
# The caller's options come last and win, e.g. cheaper ones for a long run.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
rm -rf "$build/findings"
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
  echo "== fuzz_$target ${limit[*]} ${fork[*]}"
  mkdir -p "$build/corpus/$target" "$build/run/$target"
  options=(-max_len=4096 -print_final_stats=1 -artifact_prefix="$build/findings/$target-")
  [ -f "fuzz/$target.dict" ] && options+=(-dict="$PWD/fuzz/$target.dict")
  log=$build/run/$target/fuzz.log
  # Each target in a folder of its own: libFuzzer may write files there.
  if ! (cd "$build/run/$target" && "$build/bin/fuzz_$target" "${options[@]}" "${limit[@]}" "${fork[@]}" "$build/corpus/$target" "$OLDPWD/fuzz/corpus/$target") >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$target: failed (whole output: $log)" >&2
    status=1
  fi
  grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' "$log" || true
  # A forked run reports its progress in lines of its own.
  grep -E '^#[0-9]+: ' "$log" | tail -n 1 || true
done
shopt -s nullglob
found=("$build"/findings/*)
if [ ${#found[@]} -gt 0 ]; then
  echo "Inputs that fail (reproduce with $build/bin/fuzz_<target> <file>):" >&2
  printf '  %s\n' "${found[@]}" >&2
  status=1
fi
exit $status
