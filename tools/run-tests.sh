#!/usr/bin/env bash
# Runs every test: on SQLite, and on PostgreSQL against a throwaway cluster started here and stopped
# afterwards.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cluster=$(mktemp -d /tmp/parcelon-pg.XXXXXX)
port=${PARCELON_PG_PORT:-$(( 20000 + RANDOM % 20000 ))}
# The print server is started and stopped by ctest itself (tests/reports); this only makes sure an
# interrupted run leaves none behind.
printserver=$(realpath -m "$build/test-cups")
trap '"$here/test-postgres.sh" stop "$cluster"; "$here/test-cups.sh" stop "$printserver"' EXIT
"$here/test-postgres.sh" start "$cluster" "$port"
export PARCELON_PG_HOST=127.0.0.1 PARCELON_PG_PORT=$port
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
