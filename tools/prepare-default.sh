#!/usr/bin/env bash
# Prepares the embedded default register for this user, once: an SQLite register in the user's data
# folder with the data source `land` pointing at it (written only when there is no `land` yet), and the
# PARAS-N font installed for the user.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
register=$data/parcelon/land.db

if [ ! -f "$register" ]; then
  echo "Creating the register $register (with a few demonstration records)"
  "$build/bin/parcelon-setup" --sqlite "$register" --demo
fi

font=$root/fonts/PARAS-N.ttf
if [ -f "$font" ] && ! cmp -s "$font" "$data/fonts/PARAS-N.ttf"; then
  mkdir -p "$data/fonts"
  cp "$font" "$data/fonts/PARAS-N.ttf"
  fc-cache -f "$data/fonts" >/dev/null 2>&1 || true
  echo "Installed the PARAS-N font for $(id -un)"
fi
