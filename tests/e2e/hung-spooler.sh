#!/usr/bin/env bash
# A spooler that never answers: while the first refresh waits for it, the
# window still paints and takes input, and closing it (the close box, Esc)
# ends the program within a few seconds, the placement saved. The stand-in
# winspool.drv of list_follows, told to hang. Arguments after the usual
# five: that stand-in.
source "$(dirname "$0")/lib.sh"

export DOVREL_STANDIN_HANGS=1
start_dovrel_on_standin "$1"
drv key tab
drv wait-focus Cancel 3000 >/dev/null || fail "Tab did not move the focus while the spooler hangs"
drv paint
screenshot
drv close-box
expect_exit
[ "$(drv placement)" != "placement: absent" ] || fail "no placement was saved"
note "closed by the close box"

drv reset-placement >/dev/null
start_dovrel
drv key esc
expect_exit
[ "$(drv placement)" != "placement: absent" ] || fail "no placement was saved"
note "closed by Esc"
