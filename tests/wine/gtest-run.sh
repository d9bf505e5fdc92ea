#!/usr/bin/env bash
# gtest-run.sh STATE LOG PROGRAM [ARGUMENTS...]
# Runs a GoogleTest program under Wine, as wine-run.sh does, and judges it by
# its own report of its tests rather than by its exit code alone: a Wine
# process now and then crashes on its way out, after its tests have passed.
# Such an exit is let through only when the report says every test that ran
# passed, and is written to LOG so that the run's summary shows it; any
# other failure fails. Listing the tests (test discovery) goes straight on.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
state=$1 log=$2
shift 2

for argument in "$@"; do
    [ "$argument" = --gtest_list_tests ] && exec "$here/wine-run.sh" "$state" "$@"
done

report=$(mktemp --suffix=.xml)
trap 'rm -f "$report"' EXIT
"$here/wine-run.sh" "$state" "$@" --gtest_output="xml:Z:${report//\//\\}"
status=$?
[ "$status" -eq 0 ] && exit 0

# <testsuites tests="N" failures="F" disabled="D" errors="E" ...>
summary=$(grep -o '<testsuites [^>]*>' "$report" 2>/dev/null | head -n 1)
count() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$summary"; }
tests=$(count tests) failures=$(count failures) errors=$(count errors)
if [ -n "$tests" ] && [ "$tests" -gt 0 ] && [ "${failures:-1}" -eq 0 ] && [ "${errors:-1}" -eq 0 ] &&
    ! grep -q '<failure' "$report"; then
    line="$(basename "$1") ${*:2}: exit code $status after its $tests test(s) had passed"
    echo "gtest-run: contained: $line" >&2
    echo "$line" >>"$log"
    exit 0
fi
exit "$status"
