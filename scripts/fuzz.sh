#!/usr/bin/env bash
# Fuzzes the program's readers of outside input with libFuzzer under
# AddressSanitizer and UBSan.
#
#   scripts/fuzz.sh storage|rcon [RUNS] [more libFuzzer options]
#
# storage: the installer's stored-file container (payload reader and
#          extraction), seeded with the bad-input fixtures; default 1000000 runs.
# rcon:    the remote console: the line reader's buffer, the client's reads
#          over a loopback connection, and the chat-buffer parser with the
#          chat commands behind it, seeded with fuzz/corpus-rcon; default
#          300000 runs of each target (about six minutes in all).
#
# Builds fuzz/ with clang in its own folder (build-fuzz/, or $QVR_FUZZ_BUILD).
# Exits non-zero on any finding; the crashing input is left in the build folder.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${QVR_FUZZ_BUILD:-$ROOT/build-fuzz}
AREA=${1:?"which readers: storage or rcon"}
shift
case "$AREA" in
storage) TARGETS=(fuzz_storage) SEEDS=("$ROOT"/tests/data/storage/*.qvrp "$ROOT"/tests/data/storage/*.bin) DEFAULT_RUNS=1000000 ;;
rcon) TARGETS=(fuzz_line_reader fuzz_chat fuzz_tcp_reader) SEEDS=("$ROOT"/fuzz/corpus-rcon/*) DEFAULT_RUNS=300000 ;;
*) echo "unknown area: $AREA (storage or rcon)" >&2; exit 2 ;;
esac
RUNS=${1:-$DEFAULT_RUNS}
shift || true

cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target "${TARGETS[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"

for Target in "${TARGETS[@]}"; do
    Corpus=$BUILD/corpus-${Target#fuzz_}
    mkdir -p "$Corpus"
    cp -n "${SEEDS[@]}" "$Corpus"/
    # The TCP reader's inputs must be long enough to pass the real line limit
    # of 16384; elsewhere 4 KiB is plenty.
    MaxLen=4096
    [ "$Target" = fuzz_tcp_reader ] && MaxLen=40000
    echo "== $Target: $RUNS runs"
    # A bogus length must never turn into a big allocation: 64 MiB is far
    # above anything these inputs can legitimately need.
    ./"$Target" -runs="$RUNS" -max_len="$MaxLen" -malloc_limit_mb=64 -rss_limit_mb=2048 \
        -timeout=10 -print_final_stats=1 "$@" "$Corpus"
done
