#!/bin/bash
# Usage: tests/print/WithPrivateCups.sh COMMAND [ARG]...
#
# Runs COMMAND against a private CUPS scheduler whose default (and only) queue,
# "Labels", prints to PDF files through cups-pdf, so an end-to-end test can
# print from the desktop program and read the page back. COMMAND gets:
#   CUPS_SERVER          the scheduler's UNIX socket (libcups and Qt follow it)
#   QUILLMARK_PRINTED    the directory where the printed PDFs appear
#   QUILLMARK_PRINT_LIB  tests/print/lib.sh; its wait_for_printed_pdf is also
#                        exported to bash commands with `export -f`
# The exit status is COMMAND's. Everything lives in one mktemp directory that
# is removed, with cupsd stopped, on any exit, including SIGINT and SIGTERM.
#
# Needs root: cupsd runs the cups-pdf backend (mode 0700) only as root, and
# cups-pdf reads its settings from the fixed path /etc/cups/cups-pdf.conf, so
# the script re-executes itself in a private mount namespace and bind-mounts
# its own file there; the host's /etc/cups is never written.
set -euo pipefail

if (( EUID != 0 )); then
    echo "WithPrivateCups.sh: must run as root (cupsd and cups-pdf need it)" >&2
    exit 1
fi
if (( $# == 0 )); then
    echo "usage: $0 COMMAND [ARG]..." >&2
    exit 2
fi
if [[ ${QUILLMARK_CUPS_NAMESPACE:-} != "$$" ]]; then
    # Without --fork unshare execs us in place, so our PID (and the signals a
    # caller sends to it) stays the same; the marker is that PID.
    export QUILLMARK_CUPS_NAMESPACE=$$
    exec unshare --mount --propagation private -- "$(readlink -f "$0")" "$@"
fi
unset QUILLMARK_CUPS_NAMESPACE

here=$(dirname "$(readlink -f "$0")")
# shellcheck source=tests/print/lib.sh
source "$here/lib.sh"

# Under /tmp, not $TMPDIR: user lp must be able to walk the whole path.
tmp=$(mktemp -d /tmp/quillmark-cups.XXXXXX)
cupsd_pid=''
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [[ -n $cupsd_pid ]]; then
        kill -TERM "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    umount /etc/cups/cups-pdf.conf 2>/dev/null || true
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT
# A signal to this script is acted on once the foreground COMMAND returns;
# signals sent to the whole process group (Ctrl-C, timeout(1)) end it too.
trap 'exit 130' INT
trap 'exit 143' TERM

# Filters run as user lp and must reach the PPD and spool files below $tmp.
chmod 755 "$tmp"
mkdir -p "$tmp"/{etc/ppd,etc/ssl,spool,cache,state,log,cups-pdf,out}
chmod 1777 "$tmp/cups-pdf"   # ghostscript scratch for cups-pdf, any job user
install -d -m 1770 -g lp "$tmp/tmp"   # cupsd's TempDir: filters write there
socket=$tmp/cups.sock
printed=$tmp/out

cat > "$tmp/etc/cups-files.conf" <<EOF
ServerRoot $tmp/etc
ServerKeychain $tmp/etc/ssl
CreateSelfSignedCerts no
RequestRoot $tmp/spool
CacheDir $tmp/cache
StateDir $tmp/state
TempDir $tmp/tmp
AccessLog $tmp/log/access_log
ErrorLog $tmp/log/error_log
PageLog $tmp/log/page_log
Printcap $tmp/etc/printcap
User lp
Group lp
SystemGroup root
EOF
# Only the UNIX socket: no TCP port, no browsing, no DNS-SD, no sharing.
cat > "$tmp/etc/cupsd.conf" <<EOF
LogLevel warn
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
# New queues get A4 whatever the machine's /etc/papersize says.
DefaultPaperSize A4
# Anyone who can reach the socket (root, the test) may do anything.
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
# Both Out (job user known) and AnonDirName (unknown user) point at $printed.
# Files are named TITLE-job_N.pdf from the job's title: cups-pdf 3.0.1's own
# %%Title parsing sometimes appends stray bytes, and without a job number a
# second job of the same title silently replaces the first.
cat > "$tmp/cups-pdf.conf" <<EOF
Out $printed
AnonDirName $printed
TitlePref 1
Label 2
Spool $tmp/cups-pdf
GSTmp $tmp/cups-pdf
Log $tmp/log
LogType 3
Grp lp
EOF
mount --bind "$tmp/cups-pdf.conf" /etc/cups/cups-pdf.conf

# cupsd ignores SIGINT as a background job of a script; cleanup() sends SIGTERM.
# --pdeathsig stops it even if this script is killed with SIGKILL.
setpriv --pdeathsig TERM cupsd -f -c "$tmp/etc/cupsd.conf" -s "$tmp/etc/cups-files.conf" \
    > "$tmp/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$socket
for (( tick = 0; ; tick++ )); do    # up to 30 s; it takes ~0.1 s
    # lpstat -r exits 0 either way; only its text tells.
    [[ $(lpstat -r 2>/dev/null) == 'scheduler is running' ]] && break
    if (( tick >= 300 )) || ! kill -0 "$cupsd_pid" 2>/dev/null; then
        echo "WithPrivateCups.sh: cupsd did not come up" >&2
        cat "$tmp/log/cupsd.out" "$tmp/log/error_log" >&2 2>/dev/null || true
        exit 1
    fi
    sleep 0.1
done

# -E after -p enables the queue and accepts jobs. _noopt: its output follows
# cups-pdf.conf alone (PDF 1.4); the _opt PPD defaults to PDF 1.2 and debug
# logging. lpadmin's warning that PPDs are deprecated goes to the log.
if ! lpadmin -p Labels -E -v cups-pdf:/ \
        -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd > "$tmp/log/lpadmin" 2>&1 ||
   ! lpadmin -d Labels >> "$tmp/log/lpadmin" 2>&1; then
    echo "WithPrivateCups.sh: could not create the Labels queue" >&2
    cat "$tmp/log/lpadmin" >&2
    exit 1
fi

export QUILLMARK_PRINTED=$printed QUILLMARK_PRINT_LIB=$here/lib.sh
export -f wait_for_printed_pdf
status=0
"$@" || status=$?
exit "$status"
