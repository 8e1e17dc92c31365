#!/usr/bin/env bash
# Checks of the office's Debian package, made by cpack from the build folder's own programs (nothing is
# rebuilt). Most checks read it unpacked with dpkg -x into a scratch root; `installs` installs it for real
# over copy-on-write layers of this machine (dpkg --root would need every dependency inside that root, a
# whole system, and runs the maintainer scripts chrooted).
#   check-package.sh build BUILD WORK CPACK     make the package in WORK and unpack it into WORK/root
#   check-package.sh CHECK WORK VERSION          contents | control | lintian | runs | installs | desktop |
#                                                metainfo
set -euo pipefail
check=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$check" = build ]; then
  build=$2 work=$3 cpack=${4:-cpack}
  rm -rf "$work"; mkdir -p "$work"
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
  deb=$(ls "$work"/parcelon_*.deb)
  dpkg-deb -x "$deb" "$work/root"
  echo "$deb"
  exit 0
fi

work=$2 version=$3
deb=$(ls "$work"/parcelon_"$version"_*.deb) || fail "no package parcelon_${version}_<arch>.deb in $work"
root=$work/root
metainfo=usr/share/metainfo/org.parcelon.Parcelon.metainfo.xml

case $check in
contents)
  listed=$(dpkg-deb -c "$deb" | awk '{print $6}')
  expected=(usr/bin/parcelon usr/bin/parcelon-setup usr/share/fonts/truetype/parcelon/PARAS-N.ttf
    usr/share/applications/parcelon.desktop usr/share/icons/hicolor/scalable/apps/parcelon.svg "$metainfo"
    usr/share/man/man1/parcelon.1.gz usr/share/man/man1/parcelon-setup.1.gz
    usr/share/doc/parcelon/copyright usr/share/doc/parcelon/changelog.gz)
  # Every report layout of the sources, where the installed program looks for them (bin/../share).
  for layout in "$(dirname "$0")"/../../src/reports/layouts/*; do
    expected+=("usr/share/parcelon/reports/$(basename "$layout")")
  done
  for path in "${expected[@]}"; do
    grep -qxF "./$path" <<<"$listed" || fail "$path is not in the package"
  done
  for page in parcelon parcelon-setup; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep "^\.SH DESCRIPTION" >/dev/null || fail "$page(1) has no description"
  done
  echo "all ${#expected[@]} files present"
  ;;
control)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # Loaded at run time, so dpkg-shlibdeps cannot find them; the Qt libraries it must find itself.
  for pkg in libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc qt6-qpa-plugins libsqliteodbc odbc-postgresql \
    unixodbc fontconfig fonts-liberation libqt6widgets6 libqt6printsupport6 libqt6sql6 libodbc2; do
    grep -qE "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg"
  done
  scripts=$(mktemp -d); trap 'rm -rf "$scripts"' EXIT
  dpkg-deb -e "$deb" "$scripts"
  for script in postinst postrm; do
    [ -x "$scripts/$script" ] && grep -q fc-cache "$scripts/$script" || fail "$script does not refresh the font cache"
  done
  ;;
lintian)
  # Errors fail the check; warnings are printed for the log.
  lintian --fail-on error --tag-display-limit 0 "$deb"
  ;;
installs)
  # A real installation by dpkg, maintainer scripts and triggers included, into copy-on-write layers over
  # the machine's /usr, /etc and /var in a private mount namespace: the machine itself never sees it.
  [ "$(id -u)" = 0 ] || exec sudo -n "$0" "$@"
  layer=$(mktemp -d /tmp/parcelon-install.XXXXXX)
  trap 'rm -rf "$layer"' EXIT
  XDG_CACHE_HOME=$layer/cache unshare --mount --propagation private bash -c '
    set -euo pipefail
    deb=$1 layer=$2 version=$3
    for d in usr etc var; do
      mkdir -p "$layer/$d.up" "$layer/$d.work"
      mount -t overlay overlay -o "lowerdir=/$d,upperdir=$layer/$d.up,workdir=$layer/$d.work" "/$d"
    done
    dpkg -i "$deb" >"$layer/dpkg.log" 2>&1 || { cat "$layer/dpkg.log"; exit 1; }
    [ "$(/usr/bin/parcelon --version)" = "parcelon $version" ] || { echo "FAIL: parcelon does not run" >&2; exit 1; }
    [ "$(/usr/bin/parcelon-setup --version)" = "parcelon-setup $version" ] || { echo "FAIL: parcelon-setup" >&2; exit 1; }
    # Every program of the machine finds the font (the package refreshed the cache), the application
    # its layouts beside its own folder.
    fc-list -f "%{family}\n" | grep -x PARAS-N >/dev/null || { echo "FAIL: fontconfig does not list PARAS-N" >&2; exit 1; }
    [ -f /usr/bin/../share/parcelon/reports/land.rpt ] || { echo "FAIL: no report layouts" >&2; exit 1; }
    dpkg -r parcelon >"$layer/dpkg.log" 2>&1 || { cat "$layer/dpkg.log"; exit 1; }
    if fc-list -f "%{family}\n" | grep -x PARAS-N >/dev/null; then echo "FAIL: PARAS-N listed after removal" >&2; exit 1; fi
    echo "installed, ran and removed"
  ' sh "$deb" "$layer" "$version"
  ;;
runs)
  for program in parcelon parcelon-setup; do
    said=$("$root/usr/bin/$program" --version)
    [ "$said" = "$program $version" ] || fail "$program --version said \"$said\""
  done
  ;;
desktop)
  entry=$root/usr/share/applications/parcelon.desktop
  desktop-file-validate "$entry"
  # The entry names the installed program, not the folder the package was staged in.
  grep -qxF 'Exec="/usr/bin/parcelon"' "$entry" || fail "$(grep ^Exec "$entry")"
  ;;
metainfo)
  appstreamcli validate --no-net "$root/$metainfo"
  grep -qF "<release version=\"$version\"" "$root/$metainfo" || fail "the metainfo names another release"
  ;;
*)
  fail "unknown check $check"
  ;;
esac
