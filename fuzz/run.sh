#!/usr/bin/env bash
# Builds the fuzz targets with AddressSanitizer and UndefinedBehaviorSanitizer (clang, libFuzzer)
# and runs each of them.
#   fuzz/run.sh MINUTES   runs each target for MINUTES minutes (30 when not given), one after the
#                         other; new inputs go to build-fuzz/found/TARGET, crashes to
#                         build-fuzz/findings/
#   fuzz/run.sh --check   runs each target once over its seed corpus and fuzz/regressions (CI)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_FUZZ_BUILD_DIR:-$here/build-fuzz}"
mode="${1:-30}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERVIN_FUZZ=ON -DTERVIN_TESTS=OFF -DTERVIN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_xls_reader fuzz_formula_parser fuzz_workbook_dump make_fuzz_corpus

seeds="$build/seeds"
rm -rf "$seeds"
"$build/fuzz/make_fuzz_corpus" "$seeds"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

corpus_of() { case "$1" in formula_parser) echo formula ;; *) echo xls ;; esac; }

for target in xls_reader formula_parser workbook_dump; do
  kind=$(corpus_of "$target")
  regressions="$here/fuzz/regressions/$kind"
  mkdir -p "$regressions"
  if [ "$mode" = "--check" ]; then
    "$build/fuzz/fuzz_$target" -runs=0 "$seeds/$kind" "$regressions"
  else
    found="$build/found/$target"
    mkdir -p "$found" "$build/findings"
    "$build/fuzz/fuzz_$target" -max_total_time=$((mode * 60)) -print_final_stats=1 -timeout=20 -rss_limit_mb=4096 \
      -artifact_prefix="$build/findings/$target-" "$found" "$seeds/$kind" "$regressions"
  fi
done
