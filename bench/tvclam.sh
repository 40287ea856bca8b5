#!/usr/bin/env bash
# tvclam through the plug-in on 200 small files: tvclam --clamd against a clamd
# of its own versus clamscan, which loads its database for every file; and
# tvclam's own cost over running clamscan directly on the same file.
#   usage: bench/tvclam.sh BIN_DIR
set -uo pipefail
bin=$(cd "$1" && pwd)
command -v clamscan >/dev/null && command -v clamd >/dev/null || { echo "ClamAV is not installed"; exit 0; }
work=$(mktemp -d "${TMPDIR:-/tmp}/tv-clam-bench.XXXXXX")
clamd_pid=
trap '[ -n "$clamd_pid" ] && kill $clamd_pid 2>/dev/null; rm -rf "$work"' EXIT
cp "$bin/bavhost" "$bin/tvvexal.so" "$bin/tvclam" "$work/"
mkdir "$work/db" "$work/mail"
echo "Tv.Test.Pattern-1:0:*:$(printf 'tevrinVexal test pattern 0815' | od -An -tx1 | tr -d ' \n')" >"$work/db/tv.ndb"
# 100,000 hash signatures, so that loading the database costs clamscan what
# a real one does in kind (the official databases are larger still).
awk 'BEGIN { srand(7); for (i = 0; i < 100000; i++) { h = ""; for (k = 0; k < 32; k++) h = h sprintf("%x", int(rand() * 16))
             printf "%s:%d:Tv.Synthetic-%d\n", h, 100 + i, i } }' >"$work/db/synthetic.hdb"
files=()
for i in $(seq 200); do
  printf 'attachment %d, nothing to find\n' "$i" >"$work/mail/f$i.txt"
  files+=("$work/mail/f$i.txt")
done
now() { date +%s%N; }
per_file() { # settings-options -> microseconds per file
  printf '[tevrin.BAV]\r\nScanner=%s\r\nOptions=%s\r\n' "$work/tvclam" "$1" >"$work/tvvexal.ini"
  local start end
  start=$(now)
  "$work/bavhost" "$work/tvvexal.so" check "${files[@]}" >/dev/null
  end=$(now)
  echo $(((end - start) / 1000 / ${#files[@]}))
}
with_clamscan=$(per_file "--database=$work/db")
printf 'LocalSocket %s\nDatabaseDirectory %s\nForeground yes\n' "$work/clamd.sock" "$work/db" >"$work/clamd.conf"
clamd --config-file="$work/clamd.conf" >/dev/null 2>&1 &
clamd_pid=$!
for _ in $(seq 150); do [ -S "$work/clamd.sock" ] && break; sleep 0.2; done
with_clamd=$(per_file "--clamd --config-file=$work/clamd.conf")
echo "per file through the plug-in: clamscan ${with_clamscan} us, clamd ${with_clamd} us"
awk -v a="$with_clamd" -v b="$with_clamscan" 'BEGIN { printf "clamd vs clamscan ratio: %.3f\n", a / b }'

# tvclam against clamscan alone on one file, alternating, 31 runs each:
# medians.
file="$work/mail/f1.txt"
for _ in $(seq 31); do
  start=$(now)
  clamscan --no-summary --database="$work/db" --log="$work/direct.log" "$file" >/dev/null
  end=$(now)
  echo $((end - start)) >>"$work/times.direct"
  start=$(now)
  "$work/tvclam" "$file" /MIME --database="$work/db" /REPORT "$work/r.~tv" >/dev/null
  end=$(now)
  echo $((end - start)) >>"$work/times.tvclam"
done
median() { sort -n "$1" | sed -n 16p; }
awk -v t="$(median "$work/times.tvclam")" -v d="$(median "$work/times.direct")" \
  'BEGIN { printf "tvclam %.1f ms vs clamscan %.1f ms: ratio %.3f (goal <= 1.05)\n", t / 1e6, d / 1e6, t / d }'
