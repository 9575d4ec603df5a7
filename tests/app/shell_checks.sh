# Sourced by the shell tests: a work folder that goes with the test, fail to count a failed
# check, and finish to report and exit with the outcome.
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
finish() {
    [ "$failures" -eq 0 ] && echo "all passed"
    exit $((failures > 0))
}
