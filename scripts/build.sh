#!/usr/bin/env bash
# Configures and builds Orvella into build/ (the build tree runs as it is). Arguments name
# the targets to build (default: everything, tests and benchmarks included). With
# ORVELLA_SANITIZE=1 it builds the address and undefined-behaviour checking tree into
# build-sanitize/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
extra=()
if [ "${CI:-}" = "true" ]; then extra+=(-DORVELLA_WERROR=ON); fi
# A compiler cache, where one is installed, makes rebuilds and second build trees cheap.
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
dir=build
type=RelWithDebInfo
# The checking tree is built at -O1 (set by the option): quicker to build, and the
# sanitizers' reports stay exact.
if [ "${ORVELLA_SANITIZE:-}" = 1 ]; then dir=build-sanitize; type=Debug; extra+=(-DORVELLA_SANITIZE=ON); fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${extra[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
