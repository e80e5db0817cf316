#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# only those that are missing.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins fonts-dejavu-core
    zlib1g-dev libssl-dev libcurl4-openssl-dev libpulse-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    pulseaudio pulseaudio-utils xvfb xauth python3
    shared-mime-info desktop-file-utils xdg-utils libglib2.0-bin
    wine wine64 fonts-wine gcc-mingw-w64-x86-64-win32
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
