#!/usr/bin/env bash
# Configures and builds everything into build/ (programs land in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null 2>&1; then
    # Paths relative to the checkout, so several checkouts share one cache.
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
