#!/usr/bin/env bash
# Builds the Debian package vexatron_VERSION_ARCH.deb in the repository's root.
# Install it with: sudo apt install ./vexatron_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DVEX_TESTS=OFF -DVEX_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
rm -f vexatron_*.deb
cp build-package/vexatron_*.deb .
ls vexatron_*.deb
