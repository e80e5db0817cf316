#!/usr/bin/env bash
# Screenshots of every page of the launcher's window (each run mode, each
# settings sub-page) in the four shipped languages, and of the installer's
# five pages, for review: in Tahoma, and in the stand-in font used where
# Tahoma is missing ("-standin" in the name). The windows run on a real X
# server (Xvfb); the same run checks that no caption is cut.
#
#   scripts/screenshots.sh [FOLDER]     (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
out="${1:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

[ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target shell_layout_tests installer_wizard_test

status=0
shoot() {
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
        env QT_QPA_PLATFORM=xcb QVR_SCREENSHOTS="$out" "$@" --gtest_brief=1 || status=$?
}
shoot build/tests/launcher/shell/shell_layout_tests --gtest_filter='Languages/*'
shoot build/tests/installer/installer_wizard_test --gtest_filter='Fonts/WizardLayoutTest.*'
echo "Screenshots: $out ($(find "$out" -name '*.png' | wc -l) pages)"
exit "$status"
