#!/usr/bin/env bash
# Independent programs from the npm registry that tests check our decoders and exporters against.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
peers=tests/peers
[ -f "$peers/package.json" ] || exit 0
# npm ci leaves its own copy of the lock file; an older one means the peers changed since.
[ "$peers/node_modules/.package-lock.json" -nt "$peers/package-lock.json" ] && exit 0
npm ci --prefix "$peers" --no-audit --no-fund --loglevel=error
