#!/usr/bin/env bash
# Screenshots of every page of the launcher's window (each run mode, each
# settings sub-page) in the four shipped languages, for review. The window
# runs on a real X server (Xvfb), in the fonts it is laid out for; the same
# run checks that no caption is cut.
#
#   scripts/screenshots.sh [FOLDER]     (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
out="${1:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

[ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target shell_layout_tests

status=0
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
    env QT_QPA_PLATFORM=xcb QVR_SCREENSHOTS="$out" \
    build/tests/launcher/shell/shell_layout_tests --gtest_brief=1 || status=$?
echo "Screenshots: $out ($(find "$out" -name '*.png' | wc -l) pages)"
exit "$status"
