#!/usr/bin/env bash
# Starts a throwaway PostgreSQL 15 on a free port: `source scripts/pg.sh start` exports
# VARNOSET_TEST_PG and PG_DIR; `scripts/pg.sh stop DIR` stops it and removes DIR.
PGBIN=/usr/lib/postgresql/15/bin
pg_start() {
  PG_DIR=$(mktemp -d /tmp/varnoset-pg.XXXXXX)
  local port
  port=$(( 20000 + RANDOM % 20000 ))
  local as=()
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$PG_DIR"; as=(runuser -u postgres --); fi
  "${as[@]}" "$PGBIN/initdb" -D "$PG_DIR/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$PG_DIR/initdb.log" 2>&1
  "${as[@]}" "$PGBIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/log" -w \
      -o "-p $port -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null
  export PG_DIR
  export VARNOSET_TEST_PG="host=127.0.0.1 port=$port user=postgres dbname=postgres"
}
pg_stop() {
  local dir=$1
  [ -n "$dir" ] && [ -d "$dir/data" ] || return 0
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$PGBIN/pg_ctl" -D "$dir/data" -m fast stop >/dev/null 2>&1 || true
  else
    "$PGBIN/pg_ctl" -D "$dir/data" -m fast stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}
case "${1:-}" in
  start) pg_start ;;
  stop) pg_stop "${2:-}" ;;
esac
