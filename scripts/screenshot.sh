#!/usr/bin/env bash
# Makes docs/screenshot-main.png: the built vexatron, offscreen, with docs/sample.mem loaded.
# Builds nothing; give the build folder as the first argument (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
app="$build/apps/vexatron"
if [[ ! -x "$app" ]]; then
    echo "screenshot.sh: $app not found; build the vexatron target first" >&2
    exit 1
fi
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
# A fresh program folder: default settings, no state from a previous run. The file is opened
# from a copy, so the picture shows an ordinary file name rather than this checkout's path.
mkdir -p "$folder/scanner"
cp "$root/docs/sample.mem" "$folder/scanner/county.mem"
QT_QPA_PLATFORM=offscreen "$app" --dir "$folder" --screenshot "$root/docs/screenshot-main.png" \
    "$folder/scanner/county.mem"
echo "wrote $root/docs/screenshot-main.png"
