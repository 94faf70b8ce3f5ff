#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and benchmarks need.
set -euo pipefail
PKGS=(qt6-base-dev qt6-image-formats-plugins libqt6sql6-sqlite libqt6sql6-psql libqt6svg6
      libxlsxwriter-dev libsqlite3-dev sqlite3 libpq-dev libjpeg62-turbo fonts-farsiweb fonts-noto-core qt6-translations-l10n postgresql-15 pkg-config cmake
      ninja-build g++ libbenchmark-dev xvfb xauth poppler-utils unzip)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
