#!/usr/bin/env bash
# Installs what is needed, builds and starts the program on its embedded database,
# filled with the sample data the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec build/varnoset --sample-data "$@"
