#!/usr/bin/env bash
# Builds the Debian package vexatron_VERSION_ARCH.deb in the repository's root, from the same
# build folder as the other scripts (only the programs are needed, not the tests).
# Install it with: sudo apt install ./vexatron_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vexatron vexa bct8sim
(cd build && cpack -G DEB >/dev/null)
rm -f vexatron_*.deb
cp build/vexatron_*.deb .
ls vexatron_*.deb
