#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo database when none is configured, starts Lexivar.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

BIN="$PWD/build/bin"
INI="$BIN/Lexivar.ini"
if ! grep -qiE '^[[:space:]]*Path[[:space:]]*=[[:space:]]*[^[:space:]]' "$INI" 2>/dev/null; then
    DEMO="$BIN/Lexivar4.mdb"
    if [ ! -f "$DEMO" ]; then
        "$BIN/lexivar-admin" demo "$DEMO"
    fi
    printf '[Database]\r\nPath=%s\r\n' "$DEMO" >"$INI"
    echo "Base de démonstration : $DEMO (usager « admin », mot de passe « admin »)"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Lexivar under a virtual X server (xvfb-run)." >&2
    exec xvfb-run -a "$BIN/lexivar" "$@"
fi
exec "$BIN/lexivar" "$@"
