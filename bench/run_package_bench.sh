#!/usr/bin/env bash
# Builds and runs the package tools benchmark; needs about 4 GiB free in the work folder
# (default: a fresh folder under /tmp, removed afterwards) and the npm peer in tests/peers.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${BUILD_DIR:-build}"
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target package_bench >/dev/null
scripts/install-test-peers.sh
work="$(mktemp -d "${TMPDIR:-/tmp}/verada-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
VERADA_SAMPLES="${VERADA_SAMPLES:-$PWD/../shared/samples}" \
    "$build/bench/package_bench" qfs "$work" "$PWD/tests/peers/qfs_peer.js"
"$build/bench/package_bench" archive "$work"
