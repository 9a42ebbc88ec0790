#!/usr/bin/env bash
# Fails when a program meant to run on the core alone loads Qt Gui, Widgets or PrintSupport.
# usage: check_links.sh <program>...
set -euo pipefail
status=0
for program in "$@"; do
    needed=$(readelf -d "$program" | grep NEEDED || true)
    if grep -E 'libQt6(Gui|Widgets|PrintSupport|OpenGL)' <<<"$needed"; then
        echo "$program loads a Qt library above the core"
        status=1
    else
        echo "$program: Qt Core only"
    fi
done
exit $status
