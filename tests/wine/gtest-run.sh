#!/usr/bin/env bash
# gtest-run.sh STATE PROGRAM [ARGUMENTS...]
# Runs a GoogleTest program under Wine, as wine-run.sh does. When it ends
# non-zero, the exit is named: its code, whether the program's own report
# says its tests had passed (a crash on the way out is a fault too), the
# last lines Wine said, and, where the crash left a core file and gdb is
# there, the stack of the crashed thread. Nothing is let through. Listing
# the tests (test discovery) goes straight on.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
state=$1
shift

for argument in "$@"; do
    [ "$argument" = --gtest_list_tests ] && exec "$here/wine-run.sh" "$state" "$@"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
report="$work/report.xml"
ulimit -c unlimited 2>/dev/null || true
touch "$work/started"
"$here/wine-run.sh" "$state" "$@" --gtest_output="xml:Z:${report//\//\\}" 2>"$work/stderr"
status=$?
cat "$work/stderr" >&2
[ "$status" -eq 0 ] && exit 0

# <testsuites tests="N" failures="F" disabled="D" errors="E" ...>
summary=$(grep -o '<testsuites [^>]*>' "$report" 2>/dev/null | head -n 1)
count() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$summary"; }
tests=$(count tests) failures=$(count failures)
when="before its report was written"
if [ -n "$tests" ]; then
    when="after its report of $tests test(s), $failures failed"
fi
echo "gtest-run: $(basename "$1") ${*:2} ended with exit code $status $when, at $(date +%T.%3N)" >&2
echo "gtest-run: Wine's last lines:" >&2
grep -v '^\[' "$work/stderr" | tail -n 15 | sed 's/^/  /' >&2
# Where the system writes a crash's core into the current folder.
for core in $(find . -maxdepth 1 -name 'core*' -type f -newer "$work/started" 2>/dev/null); do
    command -v gdb >/dev/null || break
    echo "gtest-run: the stack of the crashed thread, from $core:" >&2
    gdb -batch -ex bt -c "$core" 2>/dev/null | grep '^#' | uniq | head -n 25 | sed 's/^/  /' >&2
    rm -f "$core"
done
exit "$status"
