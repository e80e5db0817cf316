#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# Started in its own folder, as the installer and its shortcuts start it.
cd build/stage
exec ./qvr "$@"
