#!/usr/bin/env bash
# The release archive as a user meets it. Made twice: the same bytes; its
# checksum file verifies; it holds exactly the files of the release, texts
# with CR LF, programs without time stamps or build paths and the DLLs with
# the version of the archive's name. Unpacked into a fresh folder and a
# fresh Wine prefix, each edition's DLL is loaded by that edition's
# bavhost.exe from a mail client's folder laid out with the archive's
# settings example and checks the anti-virus test file: through the
# stand-in scanner, through a real clamd (clamd://) and through the
# archive's tvclam.exe asking that clamd. The last line gives the totals:
#   N passed, M failed, K skipped
# Usage: tests/dist/check.sh (from anywhere; needs the win32 and win64 builds)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
wine="$root/scripts/wine"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

passed=0 failed=0 skipped=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
expect_eq() { # what expected actual
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    fail "$1"
    echo "  expected: $(printf '%q' "$2")"
    echo "  actual:   $(printf '%q' "$3")"
  fi
}
expect() { # what command...
  if "${@:2}"; then passed=$((passed + 1)); else fail "$1"; fi
}

version=$(head -n 1 VERSION)
name=tevrinVexal-$version
work=$(mktemp -d "${TMPDIR:-/tmp}/tv-dist-check.XXXXXX")
stopped=()
trap 'kill "${stopped[@]}" 2>/dev/null; WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

# --- made twice, the same bytes; the checksums verify
scripts/dist "$work/first" >/dev/null && scripts/dist "$work/second" >/dev/null ||
  { fail "scripts/dist"; echo "$passed passed, $failed failed, $skipped skipped"; exit 1; }
expect_eq "archive made twice" "$(cat "$work/first/SHA256SUMS")" "$(cat "$work/second/SHA256SUMS")"
expect "SHA256SUMS verifies" bash -c "cd '$work/first' && sha256sum --quiet -c SHA256SUMS"

# --- what it holds
expect_eq "the archive's files" "$name/32-bit/tvclam.exe
$name/32-bit/tvvexal.bav
$name/64-bit/tvclam.exe
$name/64-bit/tvvexal.bav
$name/LICENSE.txt
$name/LIESMICH.txt
$name/README.txt
$name/tvvexal.ini.example" "$(unzip -Z1 "$work/first/$name.zip" | LC_ALL=C sort)"
unzip -q "$work/first/$name.zip" -d "$work/unpacked" || fail "unzip"
top="$work/unpacked/$name"
for text in LICENSE.txt LIESMICH.txt README.txt tvvexal.ini.example; do
  lines=$(wc -l <"$top/$text")
  expect_eq "$text: every line ends in CR LF" "$lines" "$(grep -c $'\r$' "$top/$text")"
  expect_eq "$text: ends with a line end" "0a" "$(tail -c 1 "$top/$text" | od -An -tx1 | tr -d ' ')"
done
for text in LICENSE.txt LIESMICH.txt README.txt; do
  expect_eq "$text: UTF-8 with a byte order mark" "efbbbf" "$(head -c 3 "$top/$text" | od -An -tx1 | tr -d ' ')"
  expect "$text: valid UTF-8" iconv -f UTF-8 -t UTF-8 -o /dev/null "$top/$text"
done
expect "LIESMICH.txt is German" grep -q "Ausgabe des Mail-Clients" "$top/LIESMICH.txt"
expect "LICENSE.txt says freeware" grep -q "is freeware" "$top/LICENSE.txt"
expect_eq "tvvexal.ini.example: plain ASCII" "" "$(LC_ALL=C grep -n '[^[:print:][:space:]]' "$top/tvvexal.ini.example")"
# The source and build folders named in a program: paths of our own code's
# folders, which a short checkout path ("/src") alone would not tell from a
# library's file names.
build_paths() {
  local folder
  for folder in build platform plugin scanners data translator dialogs tools; do
    grep -a -o -F "$root/$folder/" "$1" | head -n 1
  done
}
# The time stamp of a program's PE file header (at the offset that the DOS
# header's 0x3C names, plus 8).
pe_time() {
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -tu4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}
for edition in 32 64; do
  case $edition in 32) objdump=i686-w64-mingw32-objdump windres=i686-w64-mingw32-windres ;;
                   64) objdump=x86_64-w64-mingw32-objdump windres=x86_64-w64-mingw32-windres ;; esac
  for program in tvvexal.bav tvclam.exe; do
    file="$top/$edition-bit/$program"
    expect_eq "$edition-bit/$program: as built" "$(sha256sum <"build/win$edition/bin/$program")" "$(sha256sum <"$file")"
    expect_eq "$edition-bit/$program: no time stamp" "0" "$(pe_time "$file")"
    expect_eq "$edition-bit/$program: no build path" "" "$(build_paths "$file")"
  done
  expect_eq "$edition-bit/tvvexal.bav: no time stamp in its exports" "0" \
    "$("$objdump" -p "$top/$edition-bit/tvvexal.bav" | sed -n 's/^Time\/Date stamp[[:space:]]*\([0-9a-f]*\).*/\1/p')"
  resource=$("$windres" -i "$top/$edition-bit/tvvexal.bav" -O rc 2>/dev/null)
  expect_eq "$edition-bit/tvvexal.bav: version resource" " FILEVERSION ${version%%.*}, $((10#${version#*.})), 0, 0
      VALUE \"FileVersion\", \"$version\"
      VALUE \"ProductVersion\", \"$version\"" \
    "$(grep -E '^ FILEVERSION|"FileVersion"|"ProductVersion"' <<<"$resource")"
done

# The About dialog shows the version that the options dialog's stored form
# gives its project information: it must be the release's too.
form=dialogs/forms/wTevrinBAVOptions.dfm
major=$(sed -n 's/^ *VersionMajor = \([0-9]*\)\r*$/\1/p' "$form")
minor=$(sed -n 's/^ *VersionMinor = \([0-9]*\)\r*$/\1/p' "$form")
expect_eq "the About dialog's version" "$version" "${major:-0}.$(printf '%02d' "${minor:-0}")"

# --- installed as a user would, each edition from the unpacked folder
export WINEPREFIX="$work/prefix"
"$wine" wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a fresh prefix"
winpath() { echo "Z:${1//\//\\}"; }
eicar() { printf '%s%s\r\n' 'X5O!P%@AP[4\PZX54(P^)7CC)7}$' 'EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*' >"$1"; }
free_port() {
  perl -MIO::Socket::INET -e 'print IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 1)->sockport'
}

# A clamd whose database knows the test file by the name ClamAV's own does.
mkdir -p "$work/db" "$work/mail"
eicar "$work/mail/eicar.com"
printf 'nothing to find\r\n' >"$work/mail/clean.txt"
printf '%s:%s:Win.Test.EICAR_HDB-1\n' "$(md5sum <"$work/mail/eicar.com" | cut -d' ' -f1)" \
  "$(stat -c %s "$work/mail/eicar.com")" >"$work/db/eicar.hdb"
port=$(free_port)
printf 'TCPSocket %s\nTCPAddr 127.0.0.1\nLocalSocket %s\nDatabaseDirectory %s\nForeground yes\nLogFile %s\n' \
  "$port" "$work/clamd.sock" "$work/db" "$work/clamd.log" >"$work/clamd.conf"
clamd --config-file="$work/clamd.conf" >/dev/null 2>&1 &
stopped+=($!)
for _ in $(seq 150); do [ -S "$work/clamd.sock" ] && break; sleep 0.2; done
[ -S "$work/clamd.sock" ] || fail "clamd did not start: $(cat "$work/clamd.log" 2>/dev/null)"

bad=$(winpath "$work/mail/eicar.com") good=$(winpath "$work/mail/clean.txt")
# bavhost's answer for the two files, and the log's lines without their time.
expect_check() { # what finding-name
  local out
  rm -f "$client/tvvexal.log"
  out=$(cd "$client" && "$wine" ./bavhost.exe tvvexal.bav check "$bad" "$good" 2>&1)
  expect_eq "$1: the finding" "$bad: 1 (finding)
  finding: \\n$bad\\n$2
$good: 0 (clean)" "${out//$'\r'/}"
  expect_eq "$1: the log" "$bad ... Found the $2" \
    "$(sed -E 's/^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} //; s/\r$//' "$client/tvvexal.log" 2>/dev/null)"
}
for edition in 32 64; do
  if [ "$edition" = 32 ] && ! "$wine" --runs-32-bit; then
    echo "32-bit: SKIPPED: this machine runs no 32-bit code and has no i386 emulator; the edition is NOT TESTED"
    skipped=$((skipped + 1))
    continue
  fi
  client="$work/client$edition"
  mkdir -p "$client"
  cp "build/win$edition/bin/bavhost.exe" "build/win$edition/bin/scan.exe" "$top/$edition-bit/tvvexal.bav" \
    "$top/$edition-bit/tvclam.exe" "$client/"
  cp "$top/tvvexal.ini.example" "$client/tvvexal.ini"
  expect_check "$edition-bit, the settings example's scanner" "EICAR test file NOT a virus."
  # As the example tells: the default's line off, the daemon's on.
  sed -i -e 's|^Scanner=scan.exe|;&|' -e "s|^;Scanner=clamd://127.0.0.1:3310|Scanner=clamd://127.0.0.1:$port|" \
    "$client/tvvexal.ini"
  expect_check "$edition-bit, clamd://" "Win.Test.EICAR_HDB-1.UNOFFICIAL"
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=--clamd=127.0.0.1:%s\r\n' "$(winpath "$client/tvclam.exe")" "$port" \
    >"$client/tvvexal.ini"
  expect_check "$edition-bit, the archive's tvclam.exe" "Win.Test.EICAR_HDB-1.UNOFFICIAL"
done

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
