# The checks that the Wine and host suites share; sourced. A failed check
# is counted in failures and printed with what was expected.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { # what expected actual
  if [ "$2" != "$3" ]; then
    fail "$1"
    echo "  expected: $(printf '%q' "$2")"
    echo "  actual:   $(printf '%q' "$3")"
  fi
}
