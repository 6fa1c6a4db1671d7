#!/usr/bin/env bash
# Makes docs/screenshot-panel.png: the Virtual Control Panel of the built vexatron, offscreen,
# polling bct8sim, beside the simulator's serial trace. Builds nothing; give the build folder
# as the first argument (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
app="$build/apps/vexatron"
sim="$build/apps/bct8sim"
for program in "$app" "$sim"; do
    if [[ ! -x "$program" ]]; then
        echo "screenshot-panel.sh: $program not found; build vexatron and bct8sim first" >&2
        exit 1
    fi
done
folder="$(mktemp -d)"
simpid=""
cleanup() {
    [[ -n "$simpid" ]] && kill "$simpid" 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT
cat >"$folder/scanner.mem" <<'MEM'
BCT8SIM MEMORY 1
CH 001 01625500 TF DF LF
CH 002 01545500 TF DN LF
CH 003 04605000 TF DF LF
CH 051 08510250 TN DF LF
CH 052 08515250 TN DF LF
NAME A County
NAME B Trunk
ID B A0 001234
ID B A1 002345
MEM
# The simulator on a fixed link name, so com250.ini can name it.
mkfifo "$folder/control"
"$sim" --memory "$folder/scanner.mem" --link "$folder/ttyBCT8" --trace "$folder/trace.txt" \
    --scan-ms 150 --quit-on-eof <"$folder/control" >"$folder/sim.out" &
simpid=$!
exec 3>"$folder/control"
for _ in $(seq 50); do [[ -e "$folder/ttyBCT8" ]] && break; sleep 0.1; done
printf '[com]\r\nport=1\r\nbaud=19200\r\ndevice=%s\r\n' "$folder/ttyBCT8" >"$folder/com250.ini"
# Let the panel poll for a while first, so the trace holds the conversation.
QT_QPA_PLATFORM=offscreen "$app" --dir "$folder" --screenshot-panel "$folder/first.png"
{
    echo "\$ bct8sim --memory scanner.mem --link ttyBCT8 --trace -"
    tail -n 40 "$folder/trace.txt" | cut -c1-100
} >"$folder/trace-tail.txt"
QT_QPA_PLATFORM=offscreen "$app" --dir "$folder" --screenshot-panel "$root/docs/screenshot-panel.png" \
    --screenshot-beside "$folder/trace-tail.txt"
exec 3>&-
wait "$simpid" || true
simpid=""
echo "wrote $root/docs/screenshot-panel.png"
