#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test tier:
#   host       the logic against fakes, natively, plain and under ASan/UBSan
#   fuzz       the two decoders of untrusted bytes under libFuzzer, a minute each
#   win32/64   the Windows test programs under Wine, in a fresh prefix
#   e2e        the real Dovrel.exe under Wine, driven from outside
# All five trees' tests run in one CTest run from the build folder.
source "$(dirname "$0")/common.sh"

dovrel_install_missing
dovrel_ensure_locale
dovrel_build host
dovrel_build host-asan -DDOVREL_SANITIZE=ON
dovrel_build fuzz -DCMAKE_CXX_COMPILER=clang++ -DDOVREL_FUZZ=ON
# Where the machine cannot run Wine's 32-bit half, the 32-bit tree is built
# and its program's file checked, but nothing of it runs under Wine; the
# summary says so.
win32_wine=ON
if ! dovrel_runs_32bit_wine; then
    win32_wine=OFF
fi
dovrel_build_windows win32 i686-w64-mingw32 -DDOVREL_WINE_TESTS=$win32_wine
dovrel_build_windows win64 x86_64-w64-mingw32

# A fresh Wine prefix for every run (made once, by the first test that needs it).
rm -rf "$DOVREL_BUILD/win32/wine" "$DOVREL_BUILD/win64/wine"

cat >"$DOVREL_BUILD/CTestTestfile.cmake" <<CTEST
# Written by scripts/test.sh: one test run over every build tree.
subdirs("host" "host-asan" "fuzz" "win32" "win64")
CTEST

cd "$DOVREL_BUILD"
# Every test runs once, and every failure fails the run: a test that passes
# only when run again is a fault to find. A Windows program that ends
# non-zero is named with Wine's last words (tests/wine/gtest-run.sh,
# tests/e2e/lib.sh).
status=0
rm -f results.xml
ctest --output-on-failure -j 2 --timeout 600 --output-junit "$DOVREL_BUILD/results.xml" || status=$?

echo
if [ -s results.xml ]; then
    python3 "$DOVREL_ROOT/scripts/test-summary.py" results.xml
fi
echo "Retries: none; every test ran once."
if [ "$win32_wine" = OFF ]; then
    echo "The 32-bit tree's tests under Wine did not run: this machine cannot start 32-bit programs" \
        "(/usr/lib/wine/wine: $(/usr/lib/wine/wine --version 2>&1 | head -n 1)). Its build, import and package checks ran."
fi
exit "$status"
