#!/usr/bin/env bash
# Installs the npm package dxf-parser (a pinned version, once, into MODULES_DIR) and reads every
# DXF of the given folders with it. Exit status 77 (skipped) when node or npm are missing or
# the npm registry cannot be reached.
#   dxf_parser.sh MODULES_DIR FOLDER...
set -uo pipefail
modules=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "SKIPPED: node and npm are needed to read the drawings with dxf-parser"
    exit 77
fi
if [ ! -d "$modules/node_modules/dxf-parser" ]; then
    mkdir -p "$modules"
    if ! npm install --prefix "$modules" --no-save --no-audit --no-fund dxf-parser@1.1.2 >"$modules/npm.log" 2>&1; then
        echo "SKIPPED: dxf-parser could not be installed from the npm registry:"
        tail -5 "$modules/npm.log"
        exit 77
    fi
fi
exec node "$here/read_dxf.js" "$modules" "$@"
