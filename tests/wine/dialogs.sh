#!/usr/bin/env bash
# The dialogs as real windows under Wine, on an Xvfb screen of their own,
# operated by ui_driver.exe through window messages as a person's tools
# would. Screenshots go to BIN_DIR/../screenshots/. Usage:
#   dialogs.sh BIN_DIR
set -uo pipefail

bin=$(cd "$1" && pwd)
shots=$(cd "$bin/.." && pwd)/screenshots
mkdir -p "$shots"
# A prefix of its own: its Wine server and desktop must belong to this
# display, not to a test that runs without one.
export WINEPREFIX="$bin/../wine-dialogs-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine

. "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
expect_line() { # what line output
  grep -aqxF -- "$2" <<<"$3" || fail "$1: no line $(printf '%q' "$2")"
}

work=$(mktemp -d "${TMPDIR:-/tmp}/tv-dialogs.XXXXXX")
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and tells it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
wineserver -k 2>/dev/null  # one left from an earlier display
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || { echo "FAIL: wineboot could not make a prefix"; exit 1; }
fi
# Without a window manager Wine draws the frames itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

cp "$bin/bavhost.exe" "$bin/tvvexal.bav" "$bin/ui_driver.exe" "$bin/throwing_form.exe" "$bin/scan.exe" "$work/"
winwork="Z:${work//\//\\}"
winshots="Z:${shots//\//\\}"

# Starts HOST (bavhost.exe unless set) with ARGS in the background; the
# driver takes the steps, one per line; the host has HOST_SECONDS (10) more
# to end. Sets out (without CRs) and status.
run() { # steps args...
  local steps=$1
  shift
  (cd "$work" && exec "$wine" "./${HOST:-bavhost.exe}" "$@" >"$work/host.out" 2>&1) &
  local host=$!
  out=$(cd "$work" && printf '%s\n' "$steps" | timeout 300 "$wine" ./ui_driver.exe 2>&1)
  status=$?
  out=${out//$'\r'/}
  # A failed step is named in the driver's output: shown, or a failure on a
  # loaded machine could not be told from one in the dialog.
  [ "$status" -eq 0 ] || printf 'driver (status %s):\n%s\n' "$status" "$out" | sed 's/^/  | /'
  # The dialog gone, the host ends; a stuck one is ended so the run is not.
  for _ in $(seq $((${HOST_SECONDS:-10} * 10))); do kill -0 "$host" 2>/dev/null || break; sleep 0.1; done
  kill "$host" 2>/dev/null
  wait "$host" 2>/dev/null
}

shot_ok() { # name size
  local line colours
  line=$(grep -a -m 1 '^shot ' <<<"$out")
  expect_eq "$1 screenshot size" "$2" "$(cut -d' ' -f2 <<<"$line")"
  colours=$(cut -d' ' -f4 <<<"$line")
  [ "${colours:-0}" -ge 8 ] || fail "$1 screenshot looks blank (${colours:-no} colours)"
  [ -s "$shots/$1.png" ] || fail "no $1.png"
}

# --- the options dialog: layout, texts, keys, a setting changed, the log
# page and its deletion, Ok
printf 'first line\r\nsecond line\r\n' >"$work/tvvexal.log"
scanner="$winwork\\scan 2.exe"
run "wait tevrinVexal
client
window
controls
focus
key alt+o
focus
key alt+s
focus
shot $winshots\\options.png
type Edit@20,164 $scanner
click Button@20,272
checked Button@20,272
tab SysTabControl32@8,4 1
text Edit@16,36
shot $winshots\\options-log.png
click Button@312,368
text Edit@16,36
click Button@152,408
gone" tvvexal.bav setup
expect_eq "options driver status" 0 "$status"
expect_line "client area" "client 404x441" "$out"
expect_line "window" "window 410x466" "$out"
for line in 'SysTabControl32@8,4 389x397 ""' 'Button@152,408 75x25 "Ok"' 'Button@236,408 75x25 "Abbrechen"' \
  $'Button@320,408 75x25 "\xdcber..."' 'TvContainer@12,28 381x369 ""' 'Static@20,144 60x13 "&SCAN.EXE:"' \
  'Static@20,204 60x13 "&Optionen:"' 'Edit@20,164 277x21 "scan.exe"' 'Edit@20,224 277x21 "/MIME /UNZIP"' \
  $'Button@20,272 309x17 "Konsolenfenster w\xe4hrend des Scannens &verbergen"' \
  $'Button@310,160 75x25 "&Ausw\xe4hlen"' 'Static@20,308 358x78 "" hidden' \
  $'Button@312,368 75x25 "L\xf6schen" hidden'; do
  expect_line "options control" "$line" "$out"
done
expect_eq "focus: first, Alt+O, Alt+S" "Edit@20,164
Edit@20,224
Edit@20,164" "$(grep -ax 'Edit@[0-9,]*' <<<"$out")"
grep -aqxF 'Edit@16,36 373x325 "first line' <<<"$out" || fail "the log page's text box: $out"
expect_line "check box cleared" "unchecked" "$out"
expect_line "the log shown" "second line" "$out"
shot_ok options 410x466
shot_ok options-log 410x466
expect_eq "settings saved by Ok" "[tevrin.BAV]
Scanner=$scanner
Hide=0
Options=/MIME /UNZIP" "$(tr -d '\r' <"$work/tvvexal.ini")"
[ -e "$work/tvvexal.log" ] && fail "the log was not deleted"
expect_eq "setup result" "result: 0" "$(tr -d '\r' <"$work/host.out" | tail -n 1)"

# --- the About dialog from the options, which wait for it; Ctrl+Tab
about_caption=$'Info \xfcber tevrinVexal'
run "wait tevrinVexal
key ctrl+tab
controls
click Button@320,408
wait $about_caption
enabled tevrinVexal
key enter
gone
wait tevrinVexal
enabled tevrinVexal
click Button@236,408
gone" tvvexal.bav setup
expect_eq "about from options driver status" 0 "$status"
expect_line "Ctrl+Tab shows the log page" 'TvContainer@12,28 381x369 "" hidden' "$out"
expect_eq "the options wait for the About dialog" "tevrinVexal disabled
tevrinVexal enabled" "$(grep -a '^tevrinVexal ' <<<"$out")"

# --- Escape writes nothing
saved=$(cat "$work/tvvexal.ini")
run "wait tevrinVexal
type Edit@20,164 other.exe
key escape
gone" tvvexal.bav setup
expect_eq "escape driver status" 0 "$status"
expect_eq "settings after Escape" "$saved" "$(cat "$work/tvvexal.ini")"

# --- both About dialogs in both languages
about() { # name caption size args...
  local name=$1 caption=$2 size=$3
  shift 3
  run "wait $caption
controls
shot $winshots\\$name.png
key enter
gone" "$@"
  expect_eq "$name driver status" 0 "$status"
  shot_ok "$name" "$size"
}
about about1 $'Info \xfcber tevrinVexal' 345x280 about 1
grep -aqF $'Dieses Programm ist Freeware. Es darf ohne Beschr\xe4nkung weitergegeben werden.' <<<"$out" ||
  fail "German freeware text: $out"
about about2 $'Info \xfcber tevrinVexal' 446x335 about 2
expect_line "second About: version" 'Static@152,68 80x13 "Version 1.00"' "$out"
about about1-en 'About tevrinVexal' 345x280 about 1 English
grep -aqF 'This program is freeware. It may be freely distributed without any restrictions.' <<<"$out" ||
  fail "English freeware text: $out"
about about2-en 'About tevrinVexal' 446x335 about 2 English

# --- twenty loads of the library, each showing the real options dialog,
# cancelled; one loaded with the previous address reserved, one freed
# without BAV_Uninitialize before the next load: every library leaves
# memory and the host lives on to its end
steps=""
for _ in $(seq 20); do steps+=$'wait tevrinVexal\nkey escape\ngone\n'; done
run "${steps%$'\n'}" tvvexal.bav cycles 20 --no-uninitialize 13 --elsewhere 14
expect_eq "cycles driver status" 0 "$status"
cycles=$(tr -d '\r' <"$work/host.out")
expect_eq "cycles done" 20 "$(grep -c '^cycle [0-9]*: .*, unloaded$' <<<"$cycles")"
expect_line "cycle 14" "cycle 14: elsewhere, uninitialized, unloaded" "$cycles"
grep -aqx "cycle 13: .*, not uninitialized, unloaded" <<<"$cycles" || fail "cycle 13: $cycles"

# --- four threads checking attachments while the real options dialog opens
# and closes twenty times: every verdict right, every finding logged once
mkdir -p "$work/mail"
printf '%s%s\r\n' 'X5O!P%@AP[4\PZX54(P^)7CC)7}$' 'EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*' >"$work/mail/bad.com"
printf 'nothing\r\n' >"$work/mail/good.txt"
printf '[tevrin.BAV]\r\nScanner=scan.exe\r\n' >"$work/tvvexal.ini"
rm -f "$work/tvvexal.log"
# Each check starts scan.exe: 800 Wine processes take about two minutes where
# 32-bit code runs natively and four through an i386 emulator; the host's
# limit only ends a hang.
HOST_SECONDS=600 run "${steps%$'\n'}" tvvexal.bav threads 4 200 20 "$winwork\\mail\\bad.com" "$winwork\\mail\\good.txt"
expect_eq "threads driver status" 0 "$status"
expect_eq "verdicts in every thread" "thread 1: 100 clean, 100 findings, 0 failures
thread 2: 100 clean, 100 findings, 0 failures
thread 3: 100 clean, 100 findings, 0 failures
thread 4: 100 clean, 100 findings, 0 failures" "$(tr -d '\r' <"$work/host.out" | grep '^thread ')"
grep -a '^failed check' "$work/host.out"
expect_eq "dialogs shown" 20 "$(tr -d '\r' <"$work/host.out" | grep -c '^result: 0$')"
expect_eq "findings logged once each" "400 $winwork\\mail\\bad.com ... Found the EICAR test file NOT a virus." \
  "$(sed -E 's/^[0-9.]+ [0-9:]+ (.*)\r$/\1/' "$work/tvvexal.log" | sort | uniq -c | sed 's/^ *//')"

# --- a click handler that throws, in a form and in one shown from a
# handler: each run ends cleanly with the exception in the caller, the host
# window takes input again, the form shows again
HOST=throwing_form.exe run "wait Throwing (1)
click Button@8,8
gone
wait Throwing (2)
click Button@8,40
wait Inner
click Button@8,8
gone
wait Throwing (3)
click Button@8,72
gone"
expect_eq "throwing driver status ($out)" 0 "$status"
expect_eq "throwing handlers" "caught: thrown by a click
host enabled: 1
caught: thrown by a click
host enabled: 1
result: 1
host enabled: 1" "$(tr -d '\r' <"$work/host.out")"

if [ "$failures" -gt 0 ]; then
  echo "dialogs: $failures failure(s)"
  exit 1
fi
echo "dialogs: all passed; screenshots in $shots"
