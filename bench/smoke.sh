#!/usr/bin/env bash
# smoke.sh STATE REFRESH_BENCH: one refresh per side at 200 ports; passes when
# the program exits 0 and prints the table line for 200.
set -euo pipefail
run=$(dirname "$(readlink -f "$0")")/../tests/wine/wine-run.sh
out=$("$run" "$1" "$2" time 200 1 </dev/null)
echo "$out"
grep -q '^| 200 | 1 | [0-9.]* | [0-9.]* | [0-9.]* |' <<<"$out"
