#!/usr/bin/env bash
# The plug-in as the mail client meets it, driven through bavhost. Usage:
#   suite.sh wine BIN_DIR OBJDUMP CASE    bavhost.exe, tvvexal.bav, scan.exe under Wine
#   suite.sh native BIN_DIR - CASE        bavhost, tvvexal.so, scan.exe of the Linux build
# The wine case "setup" makes the fresh Wine prefix that the other cases share.
set -uo pipefail

mode=$1 bin=$2 objdump=$3 case=$4
export WINEPREFIX="$bin/../wine-suite-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine
if [ "$mode" = wine ]; then
  runner=("$wine") hostexe=bavhost.exe plugin=tvvexal.bav exe=.exe
else
  runner=() hostexe=bavhost plugin=tvvexal.so exe=
fi

. "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
# A case that does not apply to this mode ends here, reported as skipped
# (the tests' SKIP_RETURN_CODE) with its reason, never as passed.
skip() { echo "$case: skipped: $*"; exit 77; }
# ClamAV's command-line scanner here is a Linux program that takes Linux
# paths; under Wine tvclam meets ClamAV through its daemon (clamd_route).
clamscan_only="clamscan is a Linux program: under Wine tvclam is tested through clamd (clamd_route)"
# The path of a Linux file as the programs under test see it.
winpath() {
  local p=$1
  if [ "$mode" = wine ]; then echo "Z:${p//\//\\}"; else echo "$p"; fi
}

# A fresh folder laid out as the mail client's: host, plug-in and scanner.
layout() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/tv-wine.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  cp "$bin/$hostexe" "$bin/$plugin" "$bin/scan.exe" "$work/"
  mkdir "$work/mail"
}
# Runs bavhost.exe from the folder hostcwd (default: the work folder); sets
# out (without CRs) and status.
host() {
  out=$(cd "${hostcwd:-$work}" && "${runner[@]}" "$work/$hostexe" "$(winpath "$work/$plugin")" "$@" 2>&1)
  status=$?
  out=${out//$'\r'/}
}
eicar_text="EICAR test file NOT a virus."
# What bavhost prints for an infected file that the scanner names.
finding() { printf '%s: 1 (finding)\n  finding: \\n%s\\n%s' "$1" "$1" "$eicar_text"; }
eicar() { printf '%s%s\r\n' 'X5O!P%@AP[4\PZX54(P^)7CC)7}$' 'EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*' > "$1"; }

case_setup() {
  [ "$mode" = wine ] || return
  rm -rf "$WINEPREFIX"
  # Under load (the unit suite runs Wine beside this) a first boot can fail
  # on its own; a second one from scratch settles it.
  "$wine" wineboot --init >/dev/null 2>&1 ||
    { wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"; "$wine" wineboot --init >/dev/null 2>&1; } ||
    fail "wineboot could not make a prefix"
  wineserver -w
  [ -d "$WINEPREFIX/drive_c" ] || fail "no drive C in the new prefix"
}

case_export_table() {
  local names="BAV_CheckFile BAV_CheckMemory BAV_CheckStream BAV_ConfigNeeded BAV_CureFile BAV_CureMemory
BAV_CureStream BAV_FileChecking BAV_GetCfgData BAV_GetName BAV_GetStatus BAV_GetVersion BAV_Initialize
BAV_MemoryChecking BAV_SetCfgData BAV_Setup BAV_StreamChecking BAV_Uninitialize"
  if [ "$mode" = native ]; then
    expect_eq "exported names" "$(tr ' \n' '\n\n' <<<"$names")" \
      "$(nm -D --defined-only "$bin/tvvexal.so" | awk '{ print $3 }' | sort)"
    return
  fi
  local dll="$bin/tvvexal.bav" dump
  dump=$("$objdump" -p "$dll")
  # The edition the cross tools build: i386 for the 32-bit mail client, x86-64 for the 64-bit one.
  grep -qE "file format pei-(i386|x86-64)" <<<"$("$objdump" -f "$dll")" || fail "not a Windows PE file"
  expect_eq "ordinal base" "1" "$(sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p' <<<"$dump")"
  local table
  table=$(awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && /^\t\[/ { gsub(/[][]/, " "); printf "%d %s\n", $1 + 1, $2; next } on { exit }' <<<"$dump" | sort -n)
  expect_eq "exports and ordinals" "1 BAV_CureStream
2 BAV_CheckStream
3 BAV_CureMemory
4 BAV_CheckMemory
5 BAV_CureFile
6 BAV_CheckFile
7 BAV_StreamChecking
8 BAV_FileChecking
9 BAV_MemoryChecking
10 BAV_ConfigNeeded
11 BAV_Setup
12 BAV_GetStatus
13 BAV_GetCfgData
14 BAV_SetCfgData
15 BAV_GetVersion
16 BAV_GetName
17 BAV_Uninitialize
18 BAV_Initialize" "$table"
  local dlls
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
  for d in $dlls; do
    case "$d" in
      KERNEL32.DLL | USER32.DLL | MSVCRT.DLL | ADVAPI32.DLL | SHELL32.DLL | GDI32.DLL | COMCTL32.DLL | COMDLG32.DLL | WS2_32.DLL) ;;
      *) fail "imports a DLL that Windows does not ship: $d" ;;
    esac
  done
  local version
  version=$(strings -el "$dll" | tr '\n' '|')
  for pair in "ProductName|tevrinVexal" "FileVersion|1.00" "ProductVersion|1.00"; do
    grep -qF "$pair" <<<"$version" || fail "version resource lacks $pair"
  done
  # The first About dialog shows the module's own icon by this name.
  grep -qF "|MAINICON|" <<<"|$version" || fail "no icon resource MAINICON"
}

case_name_and_version() {
  layout
  host call BAV_GetName 11
  expect_eq "name cut to 11" "result: 11
buffer: \"tevrinVexal\"" "$out"
  host call BAV_GetName 52
  expect_eq "name whole" "result: 52
buffer: \"tevrinVexal (McAfee Viruscan Interface for The Bat!)\"" "$out"
  expect_eq "no overrun at 52" 0 "$status"
  host call BAV_GetName 100
  expect_eq "name in a larger buffer" "result: 52
buffer: \"tevrinVexal (McAfee Viruscan Interface for The Bat!)\"" "$out"
  for size in 0 -5; do
    host call BAV_GetName $size
    expect_eq "name length asked with $size" "result: 52" "$out"
    expect_eq "nothing written with $size" 0 "$status"
  done
  host call BAV_GetName 20 null
  expect_eq "name with a null buffer" "result: 52" "$out"
  host call BAV_GetVersion 4
  expect_eq "version whole" "result: 4
buffer: \"1.00\"" "$out"
  host call BAV_GetVersion 2
  expect_eq "version cut" "result: 2
buffer: \"1.\"" "$out"
}

case_capabilities() {
  layout
  host info
  expect_eq "info" "name:    tevrinVexal (McAfee Viruscan Interface for The Bat!)
version: 1.00
BAV_FileChecking    0 (yes)
BAV_MemoryChecking  -1 (not supported)
BAV_StreamChecking  -1 (not supported)
BAV_ConfigNeeded    0 (yes)
BAV_GetStatus       0 (yes)" "$out"
  host call BAV_CureFile 1 2
  expect_eq "cure file" "result: -3 (not carried out)" "$out"
  host call BAV_CheckMemory 1 2 3
  expect_eq "check memory" "result: -1 (not supported)" "$out"
  host call BAV_SetCfgData 0 0
  expect_eq "set cfg data" "result: -1 (not supported)" "$out"
  host call BAV_CheckStream
  expect_eq "check stream" "result: -1 (not supported)
references after the call: 1 (1 before)" "$out"
  host call BAV_CureStream
  expect_eq "cure stream" "result: -1 (not supported)
references after the call: 1, 1 (1 before)" "$out"
  # Closed by a step, as a person would close it.
  host setup --click btCancel
  expect_eq "setup" "result: 0" "$(tail -n 1 <<<"$out")"
  [ -e "$work/tvvexal.ini" ] && fail "a cancelled setup wrote settings"
}

case_clean_and_finding() {
  layout
  printf 'Hello\r\n' > "$work/mail/clean.txt"
  eicar "$work/mail/eicar.com"
  local clean infected
  clean=$(winpath "$work/mail/clean.txt") infected=$(winpath "$work/mail/eicar.com")
  host check "$clean"
  expect_eq "clean verdict" "$clean: 0 (clean)" "$out"
  expect_eq "clean exit status" 0 "$status"
  [ -e "$work/tvvexal.log" ] && fail "a clean file wrote a log line"
  host check "$infected"
  expect_eq "finding" "$infected: 1 (finding)
  finding: \\n$infected\\nEICAR test file NOT a virus." "$out"
  expect_eq "finding exit status" 1 "$status"
  local log
  log=$(cat "$work/tvvexal.log")
  expect_eq "log lines" 1 "$(grep -c . <<<"$log")"
  [[ "$(head -n1 <<<"$log")" =~ ^[0-3][0-9]\.[01][0-9]\.20[0-9][0-9]\ [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\ (.*)$'\r'$ ]] \
    || fail "log line format: $(head -n1 <<<"$log" | od -c | head -3)"
  expect_eq "logged report line" "$infected ... Found the EICAR test file NOT a virus." "${BASH_REMATCH[1]}"
  [ -e "$work/mail/eicar.~tv" ] && fail "the report was left behind"
  [ -e "$work/mail/clean.~tv" ] && fail "the clean file's report was left behind"
  expect_eq "no settings file was made" "" "$(ls "$work" | grep -i '\.ini$')"
}

case_missing_scanner() {
  layout
  printf '[tevrin.BAV]\r\nScanner=C:\\nowhere\\scan.exe\r\n' > "$work/tvvexal.ini"
  printf 'x' > "$work/mail/a.txt"
  printf 'stale' > "$work/mail/a.~tv"
  local file
  file=$(winpath "$work/mail/a.txt")
  host check "$file"
  expect_eq "missing scanner" "$file: -3 (not carried out)" "$out"
  expect_eq "missing scanner exit status" 3 "$status"
  [ -e "$work/mail/a.~tv" ] && fail "the stale report was left behind"
  [ -e "$work/tvvexal.log" ] && fail "a failed start wrote a log line"
}

case_saved_settings() {
  layout
  # As the options dialog saves them, with a tag the user added by hand.
  printf '[tevrin.BAV]\r\nScanner=%s\r\nHide=0\r\nOptions=/MIME\r\nFoundTag="Found "\r\n' \
    "$(winpath "$work/scan.exe")" > "$work/tvvexal.ini"
  eicar "$work/mail/eicar.com"
  local infected
  infected=$(winpath "$work/mail/eicar.com")
  host check "$infected"
  # With Hide=0 a Linux scanner writes into the host's own terminal.
  out=$(tail -n 2 <<<"$out")
  expect_eq "finding with the saved tag" "$infected: 1 (finding)
  finding: \\n$infected\\nhe EICAR test file NOT a virus." "$out"
}

# The options dialog from a terminal: steps operate it, Ok saves the three
# keys beside the host and leaves a hand-made tag, "Löschen" deletes the log
# at once; leaving without Ok, or a step that cannot be done, saves nothing.
case_options_dialog() {
  layout
  printf '[tevrin.BAV]\r\nFoundTag=Gefunden:\r\n' > "$work/tvvexal.ini"
  printf 'old line\r\n' > "$work/tvvexal.log"
  local scanner
  scanner=$(winpath "$work/scan 2.exe")
  host setup --set "edScanExe=$scanner" --set cbHide=0 --set edOptions=/ALL --click tsLog --click btDeleteLog \
    --click btOk
  expect_eq "setup exit status" 0 "$status"
  expect_eq "setup result" "result: 0" "$(tail -n 1 <<<"$out")"
  grep -qF "TEdit edScanExe at 8,136 size 277x21 \"$scanner\"" <<<"$out" || fail "the dialog was not printed: $out"
  grep -qF "TMemo edLog at 4,8 size 373x325 \"\" readonly" <<<"$out" ||
    grep -qF "TMemo edLog at 4,8 size 373x325 readonly" <<<"$out" || fail "the log page was not cleared: $out"
  [ -e "$work/tvvexal.log" ] && fail "the log was not deleted"
  local saved
  saved=$(tr -d '\r' < "$work/tvvexal.ini")
  expect_eq "saved settings" "[tevrin.BAV]
FoundTag=Gefunden:
Scanner=$scanner
Hide=0
Options=/ALL" "$saved"

  host setup --set edScanExe=other.exe --click btInfo
  grep -q "^TwTevrinAboutV2 wTevrinAboutV2 " <<<"$out" || fail "the About dialog was not shown: $out"
  host setup --set edScanExe=other.exe --click btMissing --click btOk
  grep -qF "dialog step: wTevrinBAVOptions: there is no control btMissing" <<<"$out" ||
    fail "the failed step was not reported: $out"
  expect_eq "settings after cancelled runs" "$saved" "$(tr -d '\r' < "$work/tvvexal.ini")"
  host setup --set edScanExe
  expect_eq "a step without value" 2 "$status"

  # The dialog's Windows-1252 texts reach a UTF-8 terminal in its code, any
  # other as they are.
  if [ "$mode" = native ]; then
    local info='TButton btInfo at 320,408 size 75x25 '
    LC_ALL= LC_CTYPE=de_DE.utf8 host setup
    grep -qF "$info\"Über...\"" <<<"$out" || fail "not UTF-8 on a UTF-8 terminal: $out"
    LC_ALL=C host setup
    grep -qF "$info"$'"\xdcber..."' <<<"$out" || fail "not Windows-1252 on a C terminal: $out"
  fi
}

# tvclam in the scanner's place, against a scripted ClamAV beside it: a
# clean file, a finding named by ClamAV's signature, and ClamAV's failures
# reported as findings, never as clean files.
case_tvclam() {
  layout
  local ext="" file
  [ "$mode" = wine ] && ext=.exe
  cp "$bin/tvclam$ext" "$work/"
  cp "$bin/fakeclam$ext" "$work/clamscan$ext"
  printf '[tevrin.BAV]\r\nScanner=%s\r\n' "$(winpath "$work/tvclam$ext")" >"$work/tvvexal.ini"
  printf 'hello' >"$work/mail/a.txt"
  file=$(winpath "$work/mail/a.txt")
  TV_FAKECLAM='0|%FILE%: OK' host check "$file"
  expect_eq "clean" "$file: 0 (clean)" "$out"
  TV_FAKECLAM='1|%FILE%: Win.Test.EICAR_HDB-1 FOUND' host check "$file"
  expect_eq "finding" "$file: 1 (finding)
  finding: \\n$file\\nWin.Test.EICAR_HDB-1" "$out"
  TV_FAKECLAM='2|%FILE%: Access denied. ERROR' host check "$file"
  expect_eq "ClamAV's error" "$file: 1 (finding)
  finding: \\n$file\\nscanner error: Access denied" "$out"
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=/MIME --clamscan=%s\r\n' "$(winpath "$work/tvclam$ext")" \
    "$(winpath "$work/gone/clamscan$ext")" >"$work/tvvexal.ini"
  host check "$file"
  expect_eq "no ClamAV" "$file: 1 (finding)
  finding: \\n$file\\nscanner error: $(winpath "$work/gone/clamscan$ext") not found" "$out"
  expect_eq "log lines" 3 "$(grep -c ' \.\.\. Found the ' "$work/tvvexal.log")"
  [ -e "$work/mail/a.~tv" ] && fail "a report was left behind"
  [ -e "$work/mail/a.~tv.clamav" ] && fail "ClamAV's log was left behind"

  # A file where ClamAV's log once lay is not tvclam's: left as it is.
  printf '%s: Planted FOUND\n' "$file" >"$work/mail/a.~tv.clamav"
  cp "$work/mail/a.~tv.clamav" "$work/planted"
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=/MIME --timeout=2\r\n' "$(winpath "$work/tvclam$ext")" \
    >"$work/tvvexal.ini"
  TV_FAKECLAM='0' host check "$file"
  expect_eq "clean beside a planted log" "$file: 0 (clean)" "$out"
  cmp -s "$work/planted" "$work/mail/a.~tv.clamav" || fail "the planted file was changed or removed"
  TV_FAKECLAM='0|Known viruses: 0' host check "$file"
  expect_eq "no signatures" "$file: 1 (finding)
  finding: \\n$file\\nscanner error: no signatures loaded" "$out"
  local started=$SECONDS
  TV_FAKECLAM_SLEEP=60 TV_FAKECLAM='0' host check "$file"
  expect_eq "no answer in time" "$file: 1 (finding)
  finding: \\n$file\\nscanner error: timed out" "$out"
  [ $((SECONDS - started)) -le 20 ] || fail "the silent ClamAV was waited for $((SECONDS - started)) s"
}

# tvclam with Debian's ClamAV and a signature database of our own, through
# the plug-in: clamscan, then the daemon route against a clamd that the case starts
# on a socket in its folder and always stops.
case_clamav() {
  [ "$mode" = native ] || skip "$clamscan_only"
  clamav_layout
  printf 'harmless\n' >"$work/mail/clean.txt"
  printf '%s\n' "$pattern" >"$work/mail/bad.txt"
  (cd "$work/mail" && cmake -E tar cf bad.zip --format=zip bad.txt)
  clamav_settings --database="$work/db"
  clamav_checks clamscan
  start_clamd
  clamav_settings --clamd --config-file="$work/clamd.conf"
  clamav_checks clamd
  stop_clamd
  host check "$work/mail/bad.txt"
  grep -q "^  finding: .*scanner error: " <<<"$out" || fail "no clamd is no scanner error: $out"
}

# The folder with tvclam beside the plug-in and a database of two signatures.
pattern="tevrinVexal test pattern 0815" pattern2="tevrinVexal other pattern 4711"
clamav_layout() {
  layout
  cp "$bin/tvclam$exe" "$work/"
  mkdir "$work/db"
  local hex hex2
  hex=$(printf '%s' "$pattern" | od -An -tx1 | tr -d ' \n')
  hex2=$(printf '%s' "$pattern2" | od -An -tx1 | tr -d ' \n')
  printf 'Tv.Test.Pattern-1:0:*:%s\nTv.Test.Pattern-2:0:*:%s\n' "$hex" "$hex2" >"$work/db/tv.ndb"
}
# The plug-in's settings: tvclam with these options.
clamav_settings() {
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=/MIME %s\r\n' "$work/tvclam" "$*" >"$work/tvvexal.ini"
}
# A clamd on a socket in the work folder, with the test's database; stopped
# whatever way the case ends.
# It listens on the socket and on a free TCP port of 127.0.0.1 (clamd_port),
# reports what exceeds its limits, and takes streams of at most 1 MB.
start_clamd() {
  clamd_port=$(free_port)
  printf 'LocalSocket %s\nTCPSocket %s\nTCPAddr 127.0.0.1\nDatabaseDirectory %s\nForeground yes\nLogFile %s\n' \
    "$work/clamd.sock" "$clamd_port" "$work/db" "$work/clamd.log" >"$work/clamd.conf"
  printf 'AlertExceedsMax yes\nStreamMaxLength 1M\n' >>"$work/clamd.conf"
  clamd --config-file="$work/clamd.conf" >/dev/null 2>&1 &
  clamd_pid=$!
  stop_at_exit "$clamd_pid"
  for _ in $(seq 150); do [ -S "$work/clamd.sock" ] && break; sleep 0.2; done
  [ -S "$work/clamd.sock" ] || fail "clamd did not start: $(cat "$work/clamd.log" 2>/dev/null)"
}
stop_clamd() {
  kill "$clamd_pid" 2>/dev/null
  wait "$clamd_pid" 2>/dev/null
}
# Processes that the case started are ended with it, whatever way it ends.
stopped=()
stop_at_exit() {
  stopped+=("$1")
  trap 'kill "${stopped[@]}" 2>/dev/null; rm -rf "$work"' EXIT
}
# A TCP port of 127.0.0.1 that nobody listens on (for now).
free_port() {
  perl -MIO::Socket::INET -e 'print IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 1)->sockport'
}
# A peer that is no clamd, on a free port of 127.0.0.1 (its port in
# listener_port): "close" accepts and closes at once, "silent" accepts and
# never answers, "garbage" answers what no clamd says.
start_listener() { # kind
  local ready="$work/listener.$RANDOM"
  perl -MIO::Socket::INET -e '
    my ($kind, $ready) = @ARGV;
    my $s = IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 16, ReuseAddr => 1) or die;
    open(my $f, ">", "$ready.tmp") or die; print $f $s->sockport; close $f; rename "$ready.tmp", $ready;
    my @held;
    while (my $c = $s->accept()) {
      if ($kind eq "close") { close $c }
      elsif ($kind eq "garbage") { my $b; sysread($c, $b, 64); print $c "HTTP/1.1 400 Bad Request\r\n\r\n"; close $c }
      else { push @held, $c }
    }' "$1" "$ready" &
  stop_at_exit $!
  for _ in $(seq 50); do [ -s "$ready" ] && break; sleep 0.1; done
  listener_port=$(cat "$ready")
}
# What bavhost prints for a file that tvclam reports (a signature, or
# "scanner error: TEXT").
clamav_finding() { printf '%s: 1 (finding)\n  finding: \\n%s\\n%s' "$1" "$1" "$2"; }

# What ClamAV skips as beyond its limits or encrypted is reported through
# the plug-in, not passed as clean; ClamAV's own options turn that off. A
# database that loads no signatures is an error, not a clean file.
case_clamav_limits() {
  [ "$mode" = native ] || skip "$clamscan_only"
  clamav_layout
  local f
  truncate -s 200M "$work/mail/big.bin"
  printf '%s\n' "$pattern" | dd of="$work/mail/big.bin" conv=notrunc status=none
  mkdir "$work/nest"
  printf '%s\n' "$pattern" >"$work/nest/l0"
  for f in $(seq 25); do (cd "$work/nest" && cmake -E tar cf "l$f" --format=zip "l$((f - 1))"); done
  mv "$work/nest/l25" "$work/mail/nested.zip"
  (cd "$work/nest" && cmake -E tar cf "$work/mail/enc.zip" --format=zip l0)
  # The general purpose flag's bit 0 in the local and the central header: encrypted.
  perl -0777 -pi -e 's/(PK\x03\x04..)(.)/$1.chr(ord($2)|1)/se; s/(PK\x01\x02....)(.)/$1.chr(ord($2)|1)/se' \
    "$work/mail/enc.zip"
  clamav_settings --database="$work/db"
  for f in "big.bin|Heuristics.Limits.Exceeded.MaxFileSize" "nested.zip|Heuristics.Limits.Exceeded.MaxRecursion" \
    "enc.zip|Heuristics.Encrypted.Zip"; do
    host check "$work/mail/${f%%|*}"
    expect_eq "${f%%|*}" "$(clamav_finding "$work/mail/${f%%|*}" "${f#*|}")" "$out"
  done
  clamav_settings --database="$work/db" --alert-encrypted=no --alert-exceeds-max=no
  for f in big.bin nested.zip enc.zip; do
    host check "$work/mail/$f"
    expect_eq "$f with ClamAV's own policy" "$work/mail/$f: 0 (clean)" "$out"
  done
  clamav_settings --database="$work/db" --alert-encrypted-doc=no
  host check "$work/mail/enc.zip"
  expect_eq "encrypted archives with documents passed" \
    "$(clamav_finding "$work/mail/enc.zip" Heuristics.Encrypted.Zip)" "$out"
  mkdir "$work/empty"
  printf 'not a database\n' >"$work/db.unknown"
  for f in "$work/empty" "$work/db.unknown"; do
    clamav_settings --database="$f"
    host check "$work/mail/nested.zip"
    expect_eq "database $f" "$(clamav_finding "$work/mail/nested.zip" "scanner error: no signatures loaded")" "$out"
  done
}

# ClamAV's answers reach the right file: a planted log beside the report, a
# name too long to add to, several names on one command line that contain
# each other, ": " and a line break, and three runs at a time that share one
# report.
case_clamav_runs() {
  [ "$mode" = native ] || skip "$clamscan_only"
  clamav_layout
  clamav_settings --database="$work/db"
  printf 'harmless\n' >"$work/mail/a.txt"
  printf '%s: Planted FOUND\n' "$work/mail/a.txt" >"$work/mail/a.~tv.clamav"
  cp "$work/mail/a.~tv.clamav" "$work/planted"
  host check "$work/mail/a.txt"
  expect_eq "clean beside a planted log" "$work/mail/a.txt: 0 (clean)" "$out"
  cmp -s "$work/planted" "$work/mail/a.~tv.clamav" || fail "the planted file was changed or removed"
  local long
  long="$work/mail/$(printf 'n%.0s' {1..246}).txt"
  printf '%s\n' "$pattern" >"$long"
  host check "$long"
  expect_eq "a 250-character name" "$(clamav_finding "$long" Tv.Test.Pattern-1.UNOFFICIAL)" "$out"

  mkdir "$work/m"
  printf 'harmless\n' >"$work/m/x"
  printf '%s\n' "$pattern" >"$work/m/x: y"
  printf '%s\n' "$pattern2" >"$work/m/xx"
  printf '%s\n' "$pattern" >"$work/m/"$'n\nl'
  printf 'harmless\n' >"$work/m/"$'x\n'
  out=$(cd "$work/m" && "$work/tvclam" x "x: y" xx $'n\nl' $'x\n' --database="$work/db" /REPORT "$work/m.~tv" 2>/dev/null)
  expect_eq "several files: exit" 13 "$?"
  expect_eq "several files: report" "x: y ... Found the Tv.Test.Pattern-1.UNOFFICIAL
xx ... Found the Tv.Test.Pattern-2.UNOFFICIAL
n
l ... Found the Tv.Test.Pattern-1.UNOFFICIAL" "$(tr -d '\r' <"$work/m.~tv")"

  printf '%s\n' "$pattern" >"$work/mail/one.com"
  printf '%s\n' "$pattern2" >"$work/mail/two.com"
  printf 'harmless\n' >"$work/mail/three.com"
  local round f wrong=0
  for round in $(seq 100); do
    for f in one two three; do
      "$work/tvclam" "$work/mail/$f.com" --database="$work/db" /REPORT "$work/mail/shared.~tv" \
        >"$work/$f.out" 2>/dev/null &
      echo $! >"$work/$f.pid"
    done
    for f in one two three; do wait "$(cat "$work/$f.pid")"; echo $? >"$work/$f.code"; done
    [ "$(cat "$work/one.code") $(cat "$work/two.code") $(cat "$work/three.code")" = "13 13 0" ] &&
      grep -qx "$work/mail/one.com ... Found the Tv.Test.Pattern-1.UNOFFICIAL"$'\r' "$work/one.out" &&
      grep -qx "$work/mail/two.com ... Found the Tv.Test.Pattern-2.UNOFFICIAL"$'\r' "$work/two.out" &&
      ! grep -q "Found the" "$work/three.out" || wrong=$((wrong + 1))
  done
  expect_eq "rounds of three runs sharing a report with a wrong verdict or name" 0 "$wrong"
  expect_eq "no log left in the temporary folder" "" "$(ls "${TMPDIR:-/tmp}" | grep '^tvclam-')"
}

# Through the daemon: a link to an infected file is the file; a daemon that
# accepts and never answers is given up at the time limit.
case_clamav_daemon() {
  [ "$mode" = native ] || skip "links and clamd's local socket are the Linux side's: under Wine the daemon is tested over TCP (clamd_route)"
  clamav_layout
  printf '%s\n' "$pattern" >"$work/mail/bad.txt"
  ln -s bad.txt "$work/mail/link.txt"
  start_clamd
  clamav_settings --clamd --config-file="$work/clamd.conf"
  host check "$work/mail/link.txt"
  expect_eq "a link to an infected file" "$(clamav_finding "$work/mail/link.txt" Tv.Test.Pattern-1.UNOFFICIAL)" "$out"
  (cd "$work/mail" && "$work/tvclam" link.txt --clamd --config-file="$work/clamd.conf" >"$work/rel.out" 2>&1)
  expect_eq "a relative name through the daemon" 13 "$?"
  stop_clamd
  start_listener silent
  printf 'TCPSocket %s\n' "$listener_port" >"$work/silent.conf"
  clamav_settings --clamd --config-file="$work/silent.conf" --timeout=2
  local started=$SECONDS
  host check "$work/mail/bad.txt"
  expect_eq "a silent daemon" "$(clamav_finding "$work/mail/bad.txt" \
    "scanner error: no clamd answered (127.0.0.1:$listener_port: timed out)")" "$out"
  [ $((SECONDS - started)) -le 10 ] || fail "the silent daemon was waited for $((SECONDS - started)) s"
}

# The plug-in streams the file to clamd itself: Scanner=clamd://..., over
# TCP (and natively a local socket), with failover; tvclam --clamd=... the
# same way. Natively and under Wine, against one real daemon.
case_clamd_route() {
  command -v clamd >/dev/null || { fail "clamd is not installed"; return; }
  clamav_layout
  local m="$work/mail" long f
  printf 'harmless\n' >"$m/clean.txt"
  printf '%s\n' "$pattern" >"$m/bad.txt"
  (cd "$m" && cmake -E tar cf bad.zip --format=zip bad.txt)
  : >"$m/empty.txt"
  head -c 2097152 /dev/zero >"$m/big.bin"
  printf '%s\n' "$pattern" >"$m/with blank.txt"
  long="$m/$(printf 'd%.0s' {1..120})/$(printf 'e%.0s' {1..120})"
  mkdir -p "$long"
  printf '%s\n' "$pattern" >"$long/over 259.txt"
  [ "$mode" = native ] && printf '%s\n' "$pattern" >"$m/caf"$'\xe9'".txt" && ln -s bad.txt "$m/link.txt"
  start_clamd
  local servers="127.0.0.1:$clamd_port"
  daemon_checks "clamd://$servers"
  [ "$mode" = native ] && daemon_checks "CLAMD://$work/clamd.sock"

  # Failover: a closed port, a peer that closes at once, then the daemon.
  start_listener close
  daemon_settings "clamd://127.0.0.1:$(free_port),127.0.0.1:$listener_port,$servers"
  host check "$(winpath "$m/bad.txt")"
  expect_eq "failover" "$(clamav_finding "$(winpath "$m/bad.txt")" Tv.Test.Pattern-1.UNOFFICIAL)" "$out"
  echo "$(winpath "$m/bad.txt") ... Found the Tv.Test.Pattern-1.UNOFFICIAL" >>"$work/expected.log"
  local started=$SECONDS
  daemon_settings "clamd://127.0.0.1:$(free_port),127.0.0.1:$listener_port"
  host check "$(winpath "$m/bad.txt")"
  expect_eq "every server down" "$(winpath "$m/bad.txt"): -3 (not carried out)" "$out"
  [ $((SECONDS - started)) -le 10 ] || fail "every server down took $((SECONDS - started)) s"
  start_listener garbage
  daemon_settings "clamd://127.0.0.1:$listener_port"
  host check "$(winpath "$m/bad.txt")"
  expect_eq "a peer that answers garbage" "$(winpath "$m/bad.txt"): -3 (not carried out)" "$out"
  for f in "clamd://" "clamd://nohost" "clamd://[::1]" "clamd://a:1,,$servers"; do
    daemon_settings "$f"
    host check "$(winpath "$m/bad.txt")"
    expect_eq "server list $f" "$(winpath "$m/bad.txt"): -3 (not carried out)" "$out"
  done
  expect_eq "log lines" "$(cat "$work/expected.log")" "$(sed -E 's/^[0-9.]+ [0-9:]+ //; s/\r$//' "$work/tvvexal.log")"

  # tvclam, straight to the daemon with the same client.
  out=$(cd "$work" && "${runner[@]}" "./tvclam$exe" "$(winpath "$m/bad.txt")" /MIME "--clamd=127.0.0.1:$(free_port),$servers" \
    /REPORT "$(winpath "$m/bad.~tv")" 2>&1)
  expect_eq "tvclam --clamd" 13 "$?"
  expect_eq "tvclam's report" "$(winpath "$m/bad.txt") ... Found the Tv.Test.Pattern-1.UNOFFICIAL" \
    "$(tr -d '\r' <"$m/bad.~tv")"
  start_listener silent
  started=$SECONDS
  out=$(cd "$work" && "${runner[@]}" "./tvclam$exe" "$(winpath "$m/bad.txt")" "--clamd=127.0.0.1:$listener_port" \
    --timeout=2 2>&1)
  expect_eq "tvclam and a silent daemon" 2 "$?"
  [ $((SECONDS - started)) -le 10 ] || fail "tvclam waited for the silent daemon $((SECONDS - started)) s"
  stop_clamd
}
daemon_settings() {
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=--ignored\r\nFoundTag=ignored\r\n' "$1" >"$work/tvvexal.ini"
}
# Clean, infected, in a zip, empty, over the daemon's stream limit, missing,
# odd names; the log gets a line per finding, as a report line would give it.
daemon_checks() { # scanner setting
  local f file name="Tv.Test.Pattern-1.UNOFFICIAL"
  daemon_settings "$1"
  for f in clean.txt empty.txt; do
    file=$(winpath "$m/$f")
    host check "$file"
    expect_eq "$1: $f" "$file: 0 (clean)" "$out"
  done
  for f in big.bin gone.txt; do
    file=$(winpath "$m/$f")
    host check "$file"
    expect_eq "$1: $f" "$file: -3 (not carried out)" "$out"
  done
  for f in bad.txt bad.zip "with blank.txt" "${long#"$m/"}/over 259.txt" "caf"$'\xe9'".txt" link.txt; do
    [ -e "$m/$f" ] || continue
    file=$(winpath "$m/$f")
    host check "$file"
    expect_eq "$1: $f" "$(clamav_finding "$file" "$name")" "$out"
    echo "$file ... Found the $name" >>"$work/expected.log"
  done
}


# FIFOs in place of the settings and the log never hold a check or the
# dialog: the settings take their defaults, the log line is dropped, the log
# page says it cannot show the log. A read-only settings file is not replaced.
case_odd_files() {
  [ "$mode" = native ] || skip "FIFOs and Unix file modes have no counterpart under Windows"
  layout
  mkfifo "$work/tvvexal.ini" "$work/tvvexal.log"
  eicar "$work/mail/eicar.com"
  runner=(timeout 20)  # a hang fails the case, not the suite's time
  host check "$work/mail/eicar.com"
  expect_eq "a check beside FIFOs" "$(finding "$work/mail/eicar.com")" "$out"
  host setup --click tsLog --click btCancel
  grep -qF "Protokoll kann nicht angezeigt werden." <<<"$out" || fail "the log page with a FIFO: $out"
  rm "$work/tvvexal.ini" "$work/tvvexal.log"
  printf '[tevrin.BAV]\r\nScanner=scan.exe\r\n' >"$work/tvvexal.ini"
  chmod 0444 "$work/tvvexal.ini"
  host setup --set edScanExe=other.exe --click btOk --click btCancel
  grep -qF "kann nicht geschrieben werden" <<<"$out" || fail "no save error for a read-only file: $out"
  expect_eq "the read-only settings" "[tevrin.BAV]
Scanner=scan.exe" "$(tr -d '\r' <"$work/tvvexal.ini")"
  expect_eq "their mode" 444 "$(stat -c %a "$work/tvvexal.ini")"
}

# Twenty loads of the library, each with the options dialog operated and
# closed, freed after BAV_Uninitialize; one loaded with the previous address
# reserved and, under Wine, one freed without BAV_Uninitialize before the
# next load. Every library leaves memory, and in the asan build its exit
# reports no leak. Under Wine the real dialog does the same in dialogs.sh.
case_unload_cycles() {
  layout
  local keep=() expected="" i
  [ "$mode" = wine ] && keep=(--no-uninitialize 13)
  host cycles 20 --elsewhere 14 "${keep[@]}" --click btCancel
  expect_eq "cycles status $(tail -n 3 <<<"$out")" 0 "$status"
  for i in $(seq 20); do
    if [ "$i" = 13 ] && [ "$mode" = wine ]; then
      expected+="cycle $i: not uninitialized, unloaded"$'\n'
    else
      expected+="cycle $i: uninitialized, unloaded"$'\n'
    fi
  done
  expect_eq "every cycle" "${expected%$'\n'}" "$(sed -n 's/^\(cycle [0-9]*: \)[a-z ]*, /\1/p' <<<"$out")"
  grep -qx "cycle 14: elsewhere, .*" <<<"$out" || fail "cycle 14 was not loaded elsewhere: $(grep "^cycle 14" <<<"$out")"
  expect_eq "dialogs shown" 20 "$(grep -c '^result: 0$' <<<"$out")"
}

# A clean file, the pattern alone and in a zip archive, a missing and (not
# as root, who reads any file) an unreadable file.
clamav_checks() { # what
  local f name="Tv.Test.Pattern-1.UNOFFICIAL"
  host check "$work/mail/clean.txt"
  expect_eq "$1: clean" "$work/mail/clean.txt: 0 (clean)" "$out"
  for f in bad.txt bad.zip; do
    host check "$work/mail/$f"
    expect_eq "$1: $f" "$work/mail/$f: 1 (finding)
  finding: \\n$work/mail/$f\\n$name" "$out"
  done
  host check "$work/mail/gone.txt"
  grep -q "^  finding: .*scanner error: " <<<"$out" || fail "$1: a missing file is no scanner error: $out"
  if [ "$(id -u)" -ne 0 ]; then
    printf 'x' >"$work/mail/locked.txt"
    chmod 000 "$work/mail/locked.txt"
    host check "$work/mail/locked.txt"
    grep -q "^  finding: .*scanner error: " <<<"$out" || fail "$1: an unreadable file is no scanner error: $out"
  fi
}

case_bad_input() {
  layout
  host call BAV_CheckFile null
  expect_eq "null file name" "result: -3 (not carried out)
buffer: \"\"" "$out"
  host check 'C:\a"b.txt'
  expect_eq "name with a quote" 'C:\a"b.txt: -3 (not carried out)' "$out"
  local odd
  odd="$work/mail/with  blanks.txt"
  printf 'fine' > "$odd"
  host check "$(winpath "$odd")"
  expect_eq "blanks in the name" "$(winpath "$odd"): 0 (clean)" "$out"
  host
  expect_eq "no command" 2 "$status"
  out=$(cd "$work" && "${runner[@]}" "./$hostexe" missing.bav info 2>&1 | tr -d '\r')
  grep -q "cannot load missing.bav" <<<"$out" || fail "load error not reported: $out"
}

# Windows takes "q.~tv " for "q.~tv", a link leads anywhere: the check must
# never take the attachment for its report, overwrite it or delete it.
case_report_is_never_the_file() {
  layout
  local file passed
  if [ "$mode" = wine ]; then
    file="$work/mail/q.~tv" passed="$(winpath "$file") "
  else
    file="$work/mail/q.txt" passed="$file"
    ln -s q.txt "$work/mail/q.~tv"
  fi
  eicar "$file"
  local before
  before=$(cat "$file")
  host check "$passed"
  expect_eq "finding under the other name" "$(finding "$passed")" "$out"
  expect_eq "the attachment is untouched" "$before" "$(cat "$file" 2>/dev/null)"
  [ -e "$file.~tv" ] || [ -e "$file .~tv" ] && fail "a report was left behind"
}

# Beyond the classic 259 characters the scanner still writes its report; the
# plug-in must read and delete it.
case_long_path() {
  layout
  local folder="$work/mail"
  while [ ${#folder} -lt 300 ]; do folder="$folder/$(printf 'd%.0s' {1..40})"; done
  mkdir -p "$folder"
  eicar "$folder/att.com"
  local file
  file=$(winpath "$folder/att.com")
  host check "$file"
  expect_eq "finding on a long path" "$(finding "$file")" "$out"
  expect_eq "log line" 1 "$(grep -c "Found the" "$work/tvvexal.log" 2>/dev/null)"
  [ -e "$folder/att.~tv" ] && fail "the report was left behind"
}

# x.com and x.txt report into x.~tv: two hosts checking them at the same time
# must each get their own verdict and text.
case_shared_report() {
  layout
  eicar "$work/mail/x.com"
  printf 'Hello\r\n' > "$work/mail/x.txt"
  local infected clean rounds=10 i
  infected=$(winpath "$work/mail/x.com") clean=$(winpath "$work/mail/x.txt")
  local infected_args=() clean_args=()
  for ((i = 0; i < rounds; i++)); do infected_args+=("$infected"); clean_args+=("$clean"); done
  (cd "$work" && "${runner[@]}" "./$hostexe" "./$plugin" check "${infected_args[@]}" > "$work/infected.out" 2>&1) &
  (cd "$work" && "${runner[@]}" "./$hostexe" "./$plugin" check "${clean_args[@]}" > "$work/clean.out" 2>&1) &
  wait
  local expected_infected="" expected_clean=""
  for ((i = 0; i < rounds; i++)); do
    expected_infected+="$(finding "$infected")"$'\n'
    expected_clean+="$clean: 0 (clean)"$'\n'
  done
  expect_eq "the infected file's verdicts" "${expected_infected%$'\n'}" "$(tr -d '\r' < "$work/infected.out")"
  expect_eq "the clean file's verdicts" "${expected_clean%$'\n'}" "$(tr -d '\r' < "$work/clean.out")"
  expect_eq "one log line per finding" "$rounds" "$(grep -c "Found the" "$work/tvvexal.log" 2>/dev/null)"
  [ -e "$work/mail/x.~tv" ] && fail "the report was left behind"
}

# Eight mail clients at once, fifty findings each: every finding is logged
# exactly once, on a line of its own.
case_concurrent_checks() {
  layout
  local hosts=8 files=50 h f
  for ((h = 0; h < hosts; h++)); do
    local args=()
    for ((f = 0; f < files; f++)); do
      eicar "$work/mail/c${h}_$f.com"
      args+=("$(winpath "$work/mail/c${h}_$f.com")")
    done
    (cd "$work" && "${runner[@]}" "./$hostexe" "./$plugin" check "${args[@]}" > "$work/host$h.out" 2>&1) &
  done
  wait
  local expected="" actual
  for ((h = 0; h < hosts; h++)); do
    for ((f = 0; f < files; f++)); do
      expected+="$(winpath "$work/mail/c${h}_$f.com") ... Found the $eicar_text"$'\n'
    done
  done
  expected=$(sort <<<"${expected%$'\n'}")
  actual=$(sed -E 's/^[0-3][0-9]\.[01][0-9]\.20[0-9]{2} [0-2][0-9]:[0-5][0-9]:[0-5][0-9] (.*)\r$/\1/' "$work/tvvexal.log" | sort)
  expect_eq "every finding logged once, whole" "$expected" "$actual"
  expect_eq "every host saw only findings" "$((hosts * files))" "$(cat "$work"/host*.out | grep -c ': 1 (finding)')"
}

# An attachment saved in the current directory under the scanner's name is
# never run: with no scanner beside the host the check is not carried out.
case_scanner_search() {
  layout
  rm "$work/scan.exe"
  mkdir "$work/current"
  cp "$bin/scan.exe" "$work/current/scan.exe"
  printf 'x' > "$work/mail/a.txt"
  local file
  file=$(winpath "$work/mail/a.txt")
  hostcwd="$work/current" host check "$file"
  expect_eq "scanner only in the current directory" "$file: -3 (not carried out)" "$out"
  cp "$bin/scan.exe" "$work/scan.exe"
  hostcwd="$work/current" host check "$file"
  expect_eq "scanner beside the host" "$file: 0 (clean)" "$out"
}

# A scanner that crashes has not found the file clean.
case_scanner_crash() {
  layout
  local fake=fakescan
  [ "$mode" = wine ] && fake=fakescan.exe
  printf '[tevrin.BAV]\r\nScanner=%s\r\n' "$(winpath "$bin/$fake")" > "$work/tvvexal.ini"
  printf 'x' > "$work/mail/a.txt"
  local file
  file=$(winpath "$work/mail/a.txt")
  FAKESCAN_CRASH=1 host check "$file"
  expect_eq "crashed scanner" "$file: 1 (finding)
  finding: (no text)" "$out"
}

# Every export cleans its own arguments off the stack and keeps the
# callee-saved registers, as stdcall requires.
case_stdcall() {
  layout
  cp "$bin/stdcall_probe.exe" "$work/"
  printf 'Hello\r\n' > "$work/mail/clean.txt"
  eicar "$work/mail/eicar.com"
  # BAV_Setup's dialog is closed by the probe's own step (tvDialogTerminal).
  out=$(cd "$work" && "$wine" ./stdcall_probe.exe ./tvvexal.bav "$(winpath "$work/mail/clean.txt")" \
    "$(winpath "$work/mail/eicar.com")" 2>&1 | tr -d '\r')
  status=$?
  # (The dialog prints itself between the probe's lines.)
  out=$(grep -a '^BAV_' <<<"$out")
  expect_eq "every export kept the convention" "" "$(grep -v ': ok (result' <<<"$out")"
  expect_eq "exports probed" 19 "$(grep -c ': ok (result' <<<"$out")"
}

# Windows' own Defender in the scanner's place, played by a stand-in that
# prints what MpCmdRun.exe prints: verdicts only where exit code and output
# agree, and under Wine the stand-in found where Defender installs itself.
case_defender() {
  layout
  local tools="$work/Defender Tools" m="$work/mail" long
  mkdir -p "$tools"
  cp "$bin/MpCmdRun$exe" "$tools/MpCmdRun$exe"
  printf '[tevrin.BAV]\r\nScanner=defender:%s\r\n' "$(winpath "$tools/MpCmdRun$exe")" > "$work/tvvexal.ini"
  printf 'Hello\r\n' > "$m/clean.txt"
  eicar "$m/eicar.com"
  # Stored, not deflated: the stand-in finds the test file in the member.
  (cd "$m" && cp eicar.com inner.com && zip -q -0 packed.zip inner.com && rm inner.com)
  printf 'tvdefender: disabled\r\n' > "$m/off.txt"
  printf 'tvdefender: exit2-silent\r\n' > "$m/silent.txt"
  long="$m/$(printf 'd%.0s' {1..120})/$(printf 'e%.0s' {1..120})"
  mkdir -p "$long"
  eicar "$long/over 259.com"
  local f
  host check "$(winpath "$m/clean.txt")"
  expect_eq "clean" "$(winpath "$m/clean.txt"): 0 (clean)" "$out"
  host check "$(winpath "$m/eicar.com")" "$(winpath "$m/packed.zip")" "$(winpath "$long/over 259.com")"
  local expected="" name
  for name in "$m/eicar.com" "$m/packed.zip" "$long/over 259.com"; do
    f=$(winpath "$name")
    expected+="$f: 1 (finding)"$'\n'"  finding: \\n$f\\nVirus:DOS/EICAR_Test_File"$'\n'
  done
  expect_eq "findings" "${expected%$'\n'}" "$out"
  expect_eq "log lines" 3 "$(grep -c "Found the Virus:DOS/EICAR_Test_File" "$work/tvvexal.log")"
  host check "$(winpath "$m/off.txt")" "$(winpath "$m/silent.txt")"
  expect_eq "switched off, and exit 2 without a threat" \
    "$(winpath "$m/off.txt"): -3 (not carried out)"$'\n'"$(winpath "$m/silent.txt"): -3 (not carried out)" "$out"
  expect_eq "log lines after them" 3 "$(grep -c . "$work/tvvexal.log")"
  [ "$mode" = wine ] && defender_places
}

# Where the plug-in finds Defender under Wine: the registry's InstallLocation
# first, then the newest version folder of its platform that holds the
# program, then Windows Defender in the 64-bit Program Files folder.
defender_places() {
  local c="$WINEPREFIX/drive_c" key='HKLM\SOFTWARE\Microsoft\Windows Defender'
  local platform="$c/ProgramData/Microsoft/Windows Defender/Platform" files="$c/Program Files/Windows Defender"
  local registered="$c/tvdefender registered" v
  trap '"$wine" reg delete "$key" /f /reg:64 >/dev/null 2>&1; rm -rf "$platform" "$files" "$registered" "$work"' EXIT
  for v in 4.18.2001.10-0 4.18.24090.11-0 4.18.30000.1-0; do mkdir -p "$platform/$v"; done
  mkdir -p "$files" "$registered"
  for v in "$platform/4.18.2001.10-0" "$platform/4.18.24090.11-0" "$files" "$registered"; do
    cp "$bin/MpCmdRun.exe" "$v/MpCmdRun.exe"
  done
  "$wine" reg add "$key" /v InstallLocation /t REG_SZ /d 'C:\tvdefender registered\' /reg:64 /f >/dev/null 2>&1 ||
    fail "the registry value was not set"
  printf '[tevrin.BAV]\r\nScanner=Defender:\r\n' > "$work/tvvexal.ini"
  FAKEDEFENDER_LOG=$(winpath "$work/ran.txt")
  export FAKEDEFENDER_LOG
  local place
  for place in 'C:\tvdefender registered\MpCmdRun.exe' \
    'C:\ProgramData\Microsoft\Windows Defender\Platform\4.18.24090.11-0\MpCmdRun.exe' \
    'C:\Program Files\Windows Defender\MpCmdRun.exe'; do
    rm -f "$work/ran.txt"
    host check "$(winpath "$work/mail/eicar.com")"
    expect_eq "finding through $place" 1 "$(grep -c '^  finding: .*Virus:DOS/EICAR_Test_File$' <<<"$out")"
    expect_eq "the program that ran" "$place" "$(tr -d '\r' < "$work/ran.txt" 2>/dev/null)"
    case $place in
      *registered*) "$wine" reg delete "$key" /v InstallLocation /f /reg:64 >/dev/null 2>&1 ;;
      *Platform*) rm -f "$platform"/*/MpCmdRun.exe ;;
      *) rm -f "$files/MpCmdRun.exe" ;;
    esac
  done
  host check "$(winpath "$work/mail/eicar.com")"
  expect_eq "no Defender anywhere" "$(winpath "$work/mail/eicar.com"): -3 (not carried out)" "$out"
}

if ! declare -F "case_$case" >/dev/null; then
  echo "no such case: $case"
  exit 2
fi
"case_$case"
if [ "$failures" -gt 0 ]; then
  echo "$case: $failures failure(s)"
  exit 1
fi
echo "$case: ok"
