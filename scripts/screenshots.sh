#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots under a virtual X server, on a demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
need=()
for p in xvfb xauth trayer xdotool imagemagick openbox poppler-utils; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if ((${#need[@]})); then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi
scripts/build.sh

OUT="$PWD/docs/screenshots"
mkdir -p "$OUT"
WORK="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$WORK"' EXIT
cp build/bin/lexivar "$WORK/"
build/bin/lexivar-admin demo "$WORK/Lexivar4.mdb" >/dev/null
printf '[Database]\r\nPath=%s\r\n' "$WORK/Lexivar4.mdb" >"$WORK/Lexivar.ini"

export XDG_RUNTIME_DIR="$WORK" LANG=fr_CA.UTF-8 LC_ALL=fr_CA.UTF-8
# The server takes a free display itself, so that other runs are never disturbed.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x640x24 -nolisten tcp -noreset 2>/dev/null &
    echo "$!")
read -r -t 20 xvfb <&3
read -r -t 20 display <&3
trap 'kill $(jobs -p) "$xvfb" 2>/dev/null || true; rm -rf "$WORK"' EXIT
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
trayer --edge top --align right --widthtype pixel --width 60 --heighttype pixel --height 28 \
    --transparent false --tint 0xdddddd >/dev/null 2>&1 &
sleep 1
"$WORK/lexivar" >/dev/null 2>&1 &
sleep 1.5
shot() { import -window root "$OUT/$1.png"; }
shot splash
sleep 2.5 # the splash closes by itself
xdotool mousemove 1010 14 click 1
sleep 1.2 # the menu waits out the double-click interval
shot tray-menu
xdotool key Escape
sleep 0.3
xdotool mousemove 1010 14 click 1
sleep 1
xdotool key Up Up Up Return # "Configuration de la base de données"
sleep 1
xdotool type --delay 40 admin
xdotool key Tab
xdotool type --delay 40 admin
sleep 0.4
shot sign-in
xdotool key Return
sleep 1
shot configuration
xdotool key Escape
sleep 0.5
xdotool mousemove 1010 14 click 1
sleep 1
xdotool key Down Down Return # "Rechercher une fiche"
sleep 1
xdotool key alt+r # "&Rechercher": every record
sleep 1.5
shot search
xdotool mousemove 200 189 click 1 # the second record
sleep 0.3
xdotool key alt+a # "&Afficher"
sleep 1.2
shot record-editor
xdotool key alt+q # "&Quitter"
sleep 0.5
xdotool key alt+q
sleep 0.5
xdotool mousemove 1010 14 click 1
sleep 1
xdotool key Down Down Down Return # "Imprimer des fiches"
sleep 1
xdotool key alt+r
sleep 1.5
xdotool mousemove 200 210 click 1
xdotool keydown ctrl mousemove 200 238 click 1 mousemove 200 266 click 1 keyup ctrl
sleep 0.5
shot print-selection
xdotool key alt+q
sleep 0.5
xdotool mousemove 1010 14 click 1
sleep 1
xdotool key Down Down Down Down Return # "Gestion des domaines"
sleep 1
xdotool key alt+u # "F&usion"
sleep 0.8
shot domains
xdotool key alt+q
sleep 0.5
xdotool mousemove 1010 14 click 1
sleep 1
xdotool key Down Down Down Down Down Return # "Gestion des usagers"
sleep 1.2
shot accounts
# The search window on a base of 100 000 records.
xdotool key Escape
xdotool mousemove 1010 14 click 1
sleep 1.2
xdotool key Up Return # "Quitter"
sleep 1
build/bin/lexivar-bench --dir "$WORK/bench" >/dev/null
printf '[Database]\r\nPath=%s\r\n' "$WORK/bench/bench-100000.mdb" >"$WORK/Lexivar.ini"
"$WORK/lexivar" >/dev/null 2>&1 &
sleep 6
xdotool mousemove 1010 14 click --repeat 2 --delay 60 1 # a double click: the search window
sleep 1.5
xdotool key alt+r
sleep 8
shot search-100000
# A full and a short listing printed to PDF through the print path, first pages as pictures.
LEXIVAR_KEEP_PDF="$WORK/listing.pdf" QT_QPA_PLATFORM=offscreen build/bin/lexivar_tests \
    --gtest_filter='PrintFlowTest.AReportIsPrintedOnceLoadedThenDeleted' >/dev/null
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$WORK/listing.pdf" "$OUT/full-listing"
LEXIVAR_KEEP_SHORT_PDF="$WORK/short.pdf" QT_QPA_PLATFORM=offscreen build/bin/lexivar_tests \
    --gtest_filter='ReportTest.PrintDocumentBreaksNoWordAndRulesTheFullWidth' >/dev/null
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$WORK/short.pdf" "$OUT/short-listing"
echo "Screenshots written to $OUT"
