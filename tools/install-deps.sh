#!/usr/bin/env bash
# Installs the Debian packages Parcelon needs that are missing: "run" for building and running it,
# "package" for that and making the Debian package (manual pages, dpkg-shlibdeps), "test" for all of that
# and the tests (a PostgreSQL server, the font tools, a print server with its PDF printer, the package
# checkers).
set -euo pipefail
run_pkgs=(build-essential cmake pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc libsqlite3-dev
          unixodbc unixodbc-dev libsqliteodbc odbc-postgresql postgresql-client fontconfig fonts-liberation
          fonts-noto-core)
package_pkgs=(help2man dpkg-dev file)
test_pkgs=(postgresql python3 python3-fonttools libharfbuzz-bin clang-format poppler-utils cups-daemon cups-client
           printer-driver-cups-pdf lintian desktop-file-utils appstream)
pkgs=("${run_pkgs[@]}")
case ${1:-run} in
  package) pkgs+=("${package_pkgs[@]}") ;;
  test) pkgs+=("${package_pkgs[@]}" "${test_pkgs[@]}") ;;
esac

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
