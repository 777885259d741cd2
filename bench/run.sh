#!/usr/bin/env bash
# Builds the benchmarks in Release, runs them on a big shop workbook and prints each figure beside
# its target: the engine and the windows in process, then whole processes side by side in the same
# run (our copy against LibreOffice converting the same file, the fresh-process open, the start-up
# to the login window). Exits non-zero when a target is missed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_BENCH_BUILD_DIR:-$here/build-bench}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVIN_TESTS=OFF >/dev/null
cmake --build "$build" --target store_bench search_bench sales_bench catalogue_bench reports_bench archive_bench euro_bench \
  showcase_bench startup_probe tervin-workbook -j"$(nproc)" >/dev/null

shop="$work/Danni.xls"
json() { echo --benchmark_out="$work/$1.json" --benchmark_out_format=json --benchmark_format=console; }
TERVIN_BENCH_SHOP="$shop" "$build/bench/store_bench" $(json store) 2>"$work/stderr.txt"
peak=$(awk '/^peak_memory_mb/ {print $2}' "$work/stderr.txt")
# Searching, sorting and choosing an article with their windows, on the same workbook.
TERVIN_BENCH_SHOP="$shop" "$build/bench/search_bench" $(json search)
TERVIN_BENCH_SHOP="$shop" "$build/bench/showcase_bench" $(json showcase)
# Selling, the catalogue's windows, the reports over the ledgers and the archive copy before the
# day's first save, on the same shop.
TERVIN_BENCH_SHOP="$shop" "$build/bench/sales_bench" $(json sales)
TERVIN_BENCH_SHOP="$shop" "$build/bench/catalogue_bench" $(json catalogue)
TERVIN_BENCH_SHOP="$shop" "$build/bench/reports_bench" $(json reports)
TERVIN_BENCH_SHOP="$shop" "$build/bench/archive_bench" $(json archive)
TERVIN_BENCH_SHOP="$shop" "$build/bench/euro_bench" $(json euro)

# A program folder holding the big shop, for the start-up.
"$build/tervin-workbook" demo "$work/program" >/dev/null
cp "$shop" "$work/program/Danni.xls"
/usr/bin/python3 "$here/bench/whole_process.py" "$build" "$shop" "$work" "$work/program" "$work/whole.json"

/usr/bin/python3 "$here/bench/report.py" "$work"/{store,search,showcase,sales,catalogue,reports,archive,euro}.json \
  "$work/whole.json" "$peak" "$(stat -c %s "$shop")"
