#!/usr/bin/env bash
# Installs the Debian packages Lexivar needs to build, run and test, when any is missing.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-translations-l10n libgl-dev
    libsqlcipher-dev sqlcipher
    postgresql libpq-dev
    mdbtools-dev
    googletest libgtest-dev
    xvfb xauth
    openbox trayer xdotool x11-utils imagemagick
    desktop-file-utils lintian dpkg-dev file
    libxcb1-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installation des paquets manquants : ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
