#!/usr/bin/env bash
# Report search against grep on the same generated report: 1,000,000 lines,
# about 100 MB, with the only line carrying the found tag last. Prints both
# throughputs and the search's peak memory.
set -euo pipefail
bin="${1:-build/native/bin}"
data="${BENCH_DATA:-build/native/bench-data}"
mkdir -p "$data"
report="$data/report.~tv"
checked='C:\TEMP\MAIL\ATT.ZIP'

if [ ! -f "$report" ]; then
  awk -v f="$checked" 'BEGIN {
    pad = sprintf("%52s", ""); gsub(/ /, ".", pad);
    for (i = 1; i < 1000000; i++) printf "%s\\member%07d.exe %s is OK.\r\n", f, i, pad;
    printf "%s\\member.exe ... Found the EICAR test file NOT a virus.\r\n", f;
  }' > "$report"
fi
bytes=$(stat -c %s "$report")

# grep: best of five, the file already in the page cache.
LC_ALL=C grep -i -F "found the" "$report" > /dev/null
best=""
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  LC_ALL=C grep -i -F "found the" "$report" > /dev/null
  end=$(date +%s%N)
  ns=$((end - start))
  if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
done
grep_mbs=$(awk -v b="$bytes" -v ns="$best" 'BEGIN { printf "%.0f", b / 1048576 / (ns / 1e9) }')

out=$(REPORT_FILE="$report" REPORT_CHECKED_FILE="$checked" "$bin/bench_report_search" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true 2>/dev/null)
echo "$out"
ours_mbs=$(awk '/_median/ { for (i = 1; i <= NF; i++) if ($i ~ /^bytes_per_second=/) { v = $i; sub(/bytes_per_second=/, "", v); print v } }' <<<"$out")
echo "report: $bytes bytes, $(wc -l < "$report") lines"
echo "grep -i -F: $grep_mbs MiB/s (best of 5)"
echo "report search: ${ours_mbs:-see above} (median of 5)"
