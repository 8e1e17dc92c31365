#!/usr/bin/env bash
# Installs the Debian packages Parcelon needs that are missing: "run" for building and running it,
# "test" for that and the tests (a PostgreSQL server, the font tools).
set -euo pipefail
run_pkgs=(build-essential cmake pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc libsqlite3-dev
          unixodbc unixodbc-dev libsqliteodbc odbc-postgresql postgresql-client fontconfig fonts-liberation
          fonts-noto-core)
test_pkgs=(postgresql python3 python3-fonttools libharfbuzz-bin clang-format poppler-utils)
pkgs=("${run_pkgs[@]}")
[ "${1:-run}" = test ] && pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=; [ "$(id -u)" = 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
