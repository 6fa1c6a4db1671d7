#!/usr/bin/env bash
# Installs what is missing, builds the program alone (not the tests), and starts Vexatron.
# Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vexatron
exec build/apps/vexatron "$@"
