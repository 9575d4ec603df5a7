#!/usr/bin/env bash
# The two commands as a user meets them, with the package manager, cmake and the program faked:
# a normal user is told the sudo line and nothing is built; root installs what is missing; the
# tests are always built, also after scripts/run configured the same folder; scripts/run without
# a display says how to use Xvfb before building anything; .ci/run runs scripts/test.
set -uo pipefail
SOURCE="$(cd "$(dirname "$0")/../.." && pwd)"
source "$(dirname "$0")/shell_checks.sh"

# A copy of the scripts in a tree of its own, so that nothing touches the real build folders.
mkdir -p "$WORK/bin" "$WORK/repo/build/app" "$WORK/repo/build-asan"
cp -r "$SOURCE/scripts" "$SOURCE/.ci" "$WORK/repo/"
LOG="$WORK/calls.log"

fake() {
    printf '#!/usr/bin/env bash\n%s\n' "$2" >"$WORK/bin/$1"
    chmod +x "$WORK/bin/$1"
}
# Every package is installed except the one named in MISSING.
fake dpkg-query 'p="${@: -1}"; [ "$p" = "${MISSING:-}" ] && exit 1; printf "install ok installed"'
fake id '[ "$1" = "-u" ] && echo "${FAKE_UID:-1000}" || exec /usr/bin/id "$@"'
for tool in apt-get cmake ctest; do
    fake "$tool" "echo \"$tool \$*\" >>\"$LOG\""
done
# The throw-away PostgreSQL cluster around ctest only passes the command on.
fake pg_virtualenv 'exec "$@"'
fake korbi-programmer "echo \"program \$*\" >>\"$LOG\""
mv "$WORK/bin/korbi-programmer" "$WORK/repo/build/app/"

# run NAME [VAR=value...] -- COMMAND...: runs COMMAND with the fakes first on PATH and no
# display; leaves its exit code in rc, its error output in err and the calls in calls.
run() {
    : >"$LOG"
    local name="$1"
    shift
    local vars=()
    while [ "$1" != "--" ]; do
        vars+=("$1")
        shift
    done
    shift
    err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$WORK/bin:$PATH" \
        "${vars[@]}" "$@" 2>&1 >/dev/null)
    rc=$?
    calls=$(cat "$LOG")
    echo "-- $name: exit $rc"
}

expect_in() {  # expect_in WHAT TEXT NEEDLE
    grep -qF -- "$3" <<<"$2" || fail "$1: no \"$3\" in: $2"
}
expect_not_in() {
    if grep -qF -- "$3" <<<"$2"; then fail "$1: \"$3\" in: $2"; fi
}

for command in scripts/test scripts/run; do
    run "$command as a user, gtest missing" MISSING=libgtest-dev FAKE_UID=1000 -- \
        "$WORK/repo/$command"
    [ "$rc" -ne 0 ] || fail "$command: a missing package ends with exit 0"
    expect_in "$command" "$err" "sudo apt-get install -y libgtest-dev"
    [ -z "$calls" ] || fail "$command: ran $calls although a package was missing"
done

run "scripts/test as a user, clang missing" MISSING=clang-14 FAKE_UID=1000 -- \
    "$WORK/repo/scripts/test"
expect_in "scripts/test" "$err" "sudo apt-get install -y clang-14"

run "scripts/test as root, clang missing" MISSING=clang-14 FAKE_UID=0 -- "$WORK/repo/scripts/test"
[ "$rc" -eq 0 ] || fail "scripts/test as root: exit $rc: $err"
expect_in "root install" "$calls" "apt-get install -y -qq clang-14"
# Both builds are asked for their tests by name, and an empty test list fails.
expect_in "normal build" "$calls" "-B $WORK/repo/build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORBI_TESTS=ON"
expect_in "sanitizer build" "$calls" "-B $WORK/repo/build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORBI_SANITIZE=ON -DKORBI_TESTS=ON"
[ "$(grep -c -- '--no-tests=error' <<<"$calls")" -eq 2 ] || fail "ctest may pass with no tests: $calls"

run "scripts/run without a display" -- "$WORK/repo/scripts/run" "Haus 1.Korbi"
[ "$rc" -ne 0 ] || fail "scripts/run without a display ends with exit 0"
expect_in "no display" "$err" "xvfb-run -a $WORK/repo/scripts/run Haus\\ 1.Korbi"
expect_not_in "no display" "$calls" "cmake"

run "scripts/run with a display" DISPLAY=:7 -- "$WORK/repo/scripts/run" "Haus 1.Korbi" --port=/dev/pts/3
[ "$rc" -eq 0 ] || fail "scripts/run with a display: exit $rc: $err"
expect_in "run" "$calls" "cmake --build $WORK/repo/build --target korbi-programmer"
expect_not_in "run" "$calls" "KORBI_TESTS=OFF"
# The arguments reach the program unchanged.
[ "$(tail -n 1 <<<"$calls")" = "program Haus 1.Korbi --port=/dev/pts/3" ] ||
    fail "program started with: $(tail -n 1 <<<"$calls")"

run ".ci/run" FAKE_UID=0 -- "$WORK/repo/.ci/run"
[ "$rc" -eq 0 ] || fail ".ci/run: exit $rc: $err"
expect_in ".ci/run" "$calls" "-DKORBI_SANITIZE=ON"
[ "$(grep -c '^ctest' <<<"$calls")" -eq 2 ] || fail ".ci/run does not run both test sets"

finish
