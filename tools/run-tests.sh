#!/usr/bin/env bash
# Runs every test: on SQLite, and on PostgreSQL against a throwaway cluster started here and stopped
# afterwards.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cluster=$(mktemp -d /tmp/parcelon-pg.XXXXXX)
port=${PARCELON_PG_PORT:-$(( 20000 + RANDOM % 20000 ))}
trap '"$here/test-postgres.sh" stop "$cluster"' EXIT
"$here/test-postgres.sh" start "$cluster" "$port"
export PARCELON_PG_HOST=127.0.0.1 PARCELON_PG_PORT=$port
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
