#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/lexivar_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && cpack -G DEB)
ls -1 "$PWD"/build/lexivar_*.deb
