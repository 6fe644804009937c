#!/usr/bin/env bash
# Configures and builds Orvella into build/ (the build tree runs as it is). Arguments name
# the targets to build (default: everything, tests and benchmarks included).
set -euo pipefail
cd "$(dirname "$0")/.."
extra=()
if [ "${CI:-}" = "true" ]; then extra+=(-DORVELLA_WERROR=ON); fi
# A compiler cache, where one is installed, makes rebuilds and second build trees cheap.
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
