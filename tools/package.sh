#!/usr/bin/env bash
# Builds the Debian package with CPack from a Release tree of its own (build-package/ unless
# PACKAGE_BUILD names another) and leaves velmora_<version>_amd64.deb there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PACKAGE_BUILD:-build-package}
jobs=${JOBS:-$(nproc)}
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF "${launcher[@]}"
cmake --build "$build" -j "$jobs"
# An older version's package would otherwise sit beside the new one.
rm -f "$build"/velmora_*.deb
(cd "$build" && cpack -G DEB)
