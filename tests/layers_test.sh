#!/usr/bin/env bash
# The layer check passes on this repository and fails on includes planted
# against the table: upwards, sideways, and into tests/.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
check="$here/scripts/check-layers"
failures=0
"$check" "$here" >/dev/null || { echo "FAIL: the repository itself breaks the layer table"; failures=1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
plant() { # folder file include expected-exit
  rm -rf "${scratch:?}"/*
  mkdir -p "$scratch/$1"
  printf '#include "%s"\n' "$3" > "$scratch/$1/$2"
  "$check" "$scratch" >/dev/null
  local status=$?
  if [ "$status" -ne "$4" ]; then
    echo "FAIL: $1/$2 including $3 gave exit $status, expected $4"
    failures=$((failures + 1))
  fi
}
plant data/types value.h "data/storage/row_storage.h" 1          # upwards
plant data/conditions criteria.h "platform/ui/form.h" 1          # sideways
plant data/elements data_row.h "platform/system/process.h" 1     # beyond the two services allowed
plant platform/rtl lists.h "tests/support/test_support.h" 1      # into the tests
plant data/storage row_storage.h "data/types/value.h" 0          # downwards, two rows
plant data/elements data_field.h "platform/system/user.h" 0      # the service allowed
[ "$failures" -eq 0 ] && echo "layers: ok"
exit "$failures"
