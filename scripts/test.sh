#!/usr/bin/env bash
# Installs what is needed, builds, starts a throwaway PostgreSQL and runs every test:
# each database test runs on SQLite and on PostgreSQL.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
bash scripts/install-deps.sh
bash scripts/build.sh build
source scripts/pg.sh start
trap 'bash "$ROOT/scripts/pg.sh" stop "$PG_DIR"' EXIT
export VARNOSET_TEST_REQUIRE_PG=1
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 900
