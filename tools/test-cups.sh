#!/usr/bin/env bash
# A throwaway print server for the tests: a private cupsd listening only on a socket in DIR, with one
# queue, QUEUE, whose cups-pdf backend writes each job as a PDF into DIR/printed.
#   tools/test-cups.sh start DIR [QUEUE]   clients reach it with CUPS_SERVER=DIR/cups.sock
#   tools/test-cups.sh stop DIR
# cups-pdf reads its settings only from /etc/cups and runs only under a cupsd started as root (through
# sudo when the tests do not run as root). The server runs in a mount namespace of its own where DIR/etc
# is bound over /etc/cups, so the machine's own files stay untouched.
set -euo pipefail
if [ "$(id -u)" != 0 ]; then
  sudo -n true 2>/dev/null || { echo "test-cups: the print server needs root (sudo without a password)" >&2; exit 1; }
  exec sudo -n "$0" "$@"
fi
action=$1 dir=$(realpath -m "$2") queue=${3:-parcelon-office}

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

case $action in
start)
  cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
  [ -x "$cupsd" ] && [ -x /usr/lib/cups/backend/cups-pdf ] \
    || { echo "test-cups: cupsd or cups-pdf missing (tools/install-deps.sh test)" >&2; exit 1; }
  stop
  mkdir -p "$dir"/{etc/ppd,etc/ssl,spool/tmp,cache,state/certs,log,printed,pdfspool}
  # Filters run as lp and must reach the spool; the PDFs are written by cups-pdf as the job's user.
  chmod 755 "$dir" "$dir"/{spool,cache,state,log,printed,pdfspool}
  chmod 1777 "$dir/spool/tmp"
  cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/spool/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
EOF
  cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$dir/etc/cups-pdf.conf" <<EOF
Out $dir/printed
AnonDirName $dir/printed
Spool $dir/pdfspool
Log $dir/log
Grp root
Label 1
EOF
  : >"$dir/etc/printers.conf"
  setsid unshare --mount --propagation private sh -c \
    'mount --bind "$1/etc" /etc/cups && exec "$2" -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' \
    sh "$dir" "$cupsd" >"$dir/log/cupsd.out" 2>&1 </dev/null &
  echo $! >"$dir/cupsd.pid"
  export CUPS_SERVER=$dir/cups.sock
  for _ in $(seq 100); do
    LC_ALL=C lpstat -r 2>/dev/null | grep -q "is running" && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.1
  done
  if ! LC_ALL=C lpstat -r 2>/dev/null | grep -q "is running"; then
    echo "test-cups: the print server did not start:" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop
    exit 1
  fi
  # cups-pdf takes PostScript. Ghostscript's conversion (the default) flattens a page with any transparency
  # into one picture and turns the report's fonts into Type 3 glyphs without their text; Poppler's cairo
  # conversion keeps the page as text, so the printed PDF can be read back.
  lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -D "Parcelon test queue" \
    -o pdftops-renderer-default=pdftocairo -o PDFVer=1.4 2> >(grep -v 'deprecated' >&2)
  ;;
stop)
  stop
  ;;
esac
