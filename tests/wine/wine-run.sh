#!/usr/bin/env bash
# wine-run.sh STATE PROGRAM [ARGUMENTS...]
# Runs a Windows program under Wine in the test run's prefix and display.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$1"
shift
dovrel_ensure_prefix
dovrel_ensure_server
exec wine "$@"
