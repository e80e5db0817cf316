#!/usr/bin/env bash
# Fuzzes the installer's stored-file container (payload reader and
# extraction) with libFuzzer under AddressSanitizer and UBSan.
#
#   scripts/fuzz-storage.sh [RUNS] [more libFuzzer options]
#
# Builds fuzz/ with clang in its own folder (build-fuzz/, or $QVR_FUZZ_BUILD),
# seeds the corpus with the bad-input fixtures and runs RUNS executions
# (default 1000000). Exits non-zero on any finding; the crashing input is left
# in the build folder.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${QVR_FUZZ_BUILD:-$ROOT/build-fuzz}
RUNS=${1:-1000000}
shift || true

cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target fuzz_storage

CORPUS=$BUILD/corpus-storage
mkdir -p "$CORPUS"
cp -n "$ROOT"/tests/data/storage/*.qvrp "$ROOT"/tests/data/storage/*.bin "$CORPUS"/

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"
# A bogus length must never turn into a big allocation: 64 MiB is far above
# anything a 4 KiB input can legitimately need.
exec ./fuzz_storage -runs="$RUNS" -max_len=4096 -malloc_limit_mb=64 -rss_limit_mb=2048 \
    -timeout=10 -print_final_stats=1 "$@" "$CORPUS"
