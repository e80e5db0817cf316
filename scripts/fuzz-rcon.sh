#!/usr/bin/env bash
# Fuzzes the remote console with libFuzzer under AddressSanitizer and UBSan:
# the line reader's buffer, the client's reads over a loopback connection,
# and the chat-buffer parser with the chat commands behind it.
#
#   scripts/fuzz-rcon.sh [RUNS] [more libFuzzer options]
#
# Builds fuzz/ with clang in its own folder (build-fuzz/, or $QVR_FUZZ_BUILD),
# seeds each corpus with the bad and odd inputs of fuzz/corpus-rcon and runs
# RUNS executions of each target (default 300000, about six minutes in all).
# Exits non-zero on any finding; the crashing input is left in the build
# folder.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${QVR_FUZZ_BUILD:-$ROOT/build-fuzz}
RUNS=${1:-300000}
shift || true

cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target fuzz_line_reader fuzz_tcp_reader fuzz_chat

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$BUILD"

# run TARGET RUNS MAX_LEN [options]: one target over its own corpus.
run() {
    local Target=$1 Runs=$2 MaxLen=$3
    shift 3
    local Corpus=$BUILD/corpus-${Target#fuzz_}
    mkdir -p "$Corpus"
    cp -n "$ROOT"/fuzz/corpus-rcon/* "$Corpus"/
    echo "== $Target: $Runs runs"
    ./"$Target" -runs="$Runs" -max_len="$MaxLen" -malloc_limit_mb=64 -rss_limit_mb=2048 \
        -timeout=10 -print_final_stats=1 "$@" "$Corpus"
}

run fuzz_line_reader "$RUNS" 4096 "$@"
run fuzz_chat "$RUNS" 4096 "$@"
# Long enough to pass the real line limit of 16384.
run fuzz_tcp_reader "$RUNS" 40000 "$@"
