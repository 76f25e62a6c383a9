#!/usr/bin/env bash
# Builds and runs the POV-Ray export benchmark; needs about 100 MB free in the work folder
# (default: a fresh folder under /tmp, removed afterwards).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${BUILD_DIR:-build}"
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target pov_bench >/dev/null
work="$(mktemp -d "${TMPDIR:-/tmp}/verada-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
"$build/bench/pov_bench" "$work"
