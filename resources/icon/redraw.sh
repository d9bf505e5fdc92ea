#!/usr/bin/env bash
# redraw.sh: draws the program's icons again (make-icon.sh) and splits them
# (split-icon.pl) into the pieces that Dovrel.rc embeds, in drawn/. The
# pieces are kept in the repository, so that building needs neither bash nor
# Perl, ImageMagick or icotool; run this after changing the drawing, and
# commit what it writes.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
out="$here/drawn"
mkdir -p "$out"
bash "$here/make-icon.sh" "$out"
perl "$here/split-icon.pl" "$out/Dovrel-main.ico" 1 "$out/a_main"
perl "$here/split-icon.pl" "$out/Dovrel-file.ico" 30001 "$out/file"
