#!/usr/bin/env bash
# The plug-in's daemon route (Scanner=clamd://) on 200 small files: against
# a bare INSTREAM client (bench_clamd, goal: ratio <= 1.3), and against the
# route through tvclam --clamd, a process per attachment (goal: at least 5x
# faster). One clamd of the benchmark's own, on a free port.
#   usage: bench/clamd.sh BIN_DIR
set -uo pipefail
bin=$(cd "$1" && pwd)
command -v clamd >/dev/null || { echo "ClamAV's daemon is not installed"; exit 0; }
work=$(mktemp -d "${TMPDIR:-/tmp}/tv-clamd-bench.XXXXXX")
clamd_pid=
trap '[ -n "$clamd_pid" ] && kill $clamd_pid 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/db" "$work/mail"
echo "Tv.Test.Pattern-1:0:*:$(printf 'tevrinVexal test pattern 0815' | od -An -tx1 | tr -d ' \n')" >"$work/db/tv.ndb"
files=()
for i in $(seq 200); do
  printf 'attachment %d, nothing to find\n' "$i" >"$work/mail/f$i.txt"
  files+=("$work/mail/f$i.txt")
done
port=$(perl -MIO::Socket::INET -e 'print IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 1)->sockport')
printf 'TCPSocket %s\nTCPAddr 127.0.0.1\nLocalSocket %s\nDatabaseDirectory %s\nForeground yes\n' \
  "$port" "$work/clamd.sock" "$work/db" >"$work/clamd.conf"
clamd --config-file="$work/clamd.conf" >/dev/null 2>&1 &
clamd_pid=$!
for _ in $(seq 150); do [ -S "$work/clamd.sock" ] && break; sleep 0.2; done

out=$(TV_BENCH_CLAMD_PORT=$port TV_BENCH_MAIL="$work/mail" "$bin/bench_clamd" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true 2>/dev/null)
echo "$out"
awk '/_median/ && /BM_BareInstream/ { bare = $2 } /_median/ && /BM_PluginDaemonCheck/ { plugin = $2 }
     END { if (bare > 0) printf "plug-in vs bare INSTREAM ratio (median wall time): %.3f (goal <= 1.3)\n", plugin / bare }' <<<"$out"

cp "$bin/bavhost" "$bin/tvvexal.so" "$bin/tvclam" "$work/"
now() { date +%s%N; }
per_file() { # scanner options -> microseconds per file through the plug-in
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=%s\r\n' "$1" "$2" >"$work/tvvexal.ini"
  local start end
  start=$(now)
  "$work/bavhost" "$work/tvvexal.so" check "${files[@]}" >/dev/null
  end=$(now)
  echo $(((end - start) / 1000 / ${#files[@]}))
}
direct=$(per_file "clamd://127.0.0.1:$port" "")
through_tvclam=$(per_file "$work/tvclam" "--clamd=127.0.0.1:$port")
echo "per file through the plug-in: clamd:// ${direct} us, tvclam --clamd ${through_tvclam} us"
awk -v a="$direct" -v b="$through_tvclam" 'BEGIN { printf "clamd:// speed-up over tvclam --clamd: %.1fx (goal >= 5)\n", b / a }'
