#!/usr/bin/env bash
# A throwaway PostgreSQL cluster on loopback for the tests.
#   tools/test-postgres.sh start DIR PORT   initdb in DIR, start, build the template database
#   tools/test-postgres.sh stop DIR
set -euo pipefail
action=$1 dir=$2 port=${3:-55432}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }
me=$(id -un)
# The server refuses to run as root: root runs it as the postgres user.
as_owner() { if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

case $action in
start)
  rm -rf "$dir"; mkdir -p "$dir"
  [ "$(id -u)" = 0 ] && chown postgres "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -E UTF8 --locale=C.UTF-8 -A trust -U postgres >"$dir/initdb.log"
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-h 127.0.0.1 -p $port -k $dir -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start >/dev/null
  psql() { command psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" "$@"; }
  [ "$me" = postgres ] || psql -U postgres -d postgres -c "CREATE ROLE \"$me\" SUPERUSER LOGIN"
  psql -U "$me" -d postgres -c "CREATE DATABASE parcelon_template ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8' TEMPLATE template0"
  psql -U "$me" -d parcelon_template -f "$(dirname "$0")/../schema/postgresql.sql" >/dev/null
  ;;
stop)
  [ -d "$dir/data" ] && as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null || true
  rm -rf "$dir"
  ;;
esac
