#!/usr/bin/env bash
# Checks the sources before the tests run: every C++ file follows .clang-format, the base library uses
# no widgets, and no area includes another area or the shell (areas meet only through the screen
# registry and the hand-back helper).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t files < <(find src tools tests -name '*.cpp' -o -name '*.h' | sort)
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/parcelon-format.$$; then
  echo "These files differ from .clang-format (run: clang-format -i FILE):" >&2
  grep -o '^[^:]*\.\(cpp\|h\)' /tmp/parcelon-format.$$ | sort -u >&2
  status=1
fi
rm -f /tmp/parcelon-format.$$

if grep -rnE '#include "(ui|shell|admin|registry|lifecycle|reports)/|#include <Q(Widget|Dialog|Label|LineEdit|PushButton|Application)' src/base; then
  echo "src/base must not use widgets, the screen kit or any area" >&2
  status=1
fi
areas=(admin registry lifecycle reports)
for area in "${areas[@]}"; do
  others=$(printf '%s|' shell "${areas[@]/$area}" | sed 's/||/|/g; s/^|//; s/|$//')
  if grep -rnE "#include \"($others)/" "src/$area"; then
    echo "src/$area includes another area or the shell: open its screens through the registry" >&2
    status=1
  fi
done
exit $status
