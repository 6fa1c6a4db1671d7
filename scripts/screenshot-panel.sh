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
command -v convert >/dev/null || { echo "screenshot-panel.sh: needs ImageMagick's convert" >&2; exit 1; }
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
QT_QPA_PLATFORM=offscreen "$app" --dir "$folder" --screenshot-panel "$folder/panel.png"
exec 3>&-
wait "$simpid" || true
simpid=""
# The last lines of the trace, as the simulator's terminal shows them.
{
    echo "\$ bct8sim --memory scanner.mem --link ttyBCT8 --trace -"
    tail -n 24 "$folder/trace.txt" | cut -c1-110
} >"$folder/trace-tail.txt"
height="$(identify -format '%h' "$folder/panel.png")"
convert -size "720x$height" -background '#101418' -fill '#b8e8b0' -font DejaVu-Sans-Mono \
    -pointsize 11 -gravity NorthWest caption:@"$folder/trace-tail.txt" "$folder/sim.png"
convert "$folder/panel.png" "$folder/sim.png" -gravity North +append "$root/docs/screenshot-panel.png"
echo "wrote $root/docs/screenshot-panel.png"
