#!/usr/bin/env bash
# Independent programs from the npm registry that tests check our decoders against.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
peers=tests/peers
[ -f "$peers/package.json" ] || exit 0
[ -d "$peers/node_modules" ] && exit 0
npm ci --prefix "$peers" --no-audit --no-fund --loglevel=error
