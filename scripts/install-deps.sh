#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the fuzzers need, skipping what is there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-serialport-dev qt6-httpserver-dev qt6-websockets-dev
    libqt6svg6  # draws the program's SVG icons (loaded as a plug-in, so not linked)
    libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev xvfb xauth
    dpkg-dev file poppler-utils gcovr
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
