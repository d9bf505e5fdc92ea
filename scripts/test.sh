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
dovrel_build_windows win32 i686-w64-mingw32
dovrel_build_windows win64 x86_64-w64-mingw32

# A fresh Wine prefix for every run (made once, by the first test that needs it).
rm -rf "$DOVREL_BUILD/win32/wine" "$DOVREL_BUILD/win64/wine"

cat >"$DOVREL_BUILD/CTestTestfile.cmake" <<CTEST
# Written by scripts/test.sh: one test run over every build tree.
subdirs("host" "host-asan" "fuzz" "win32" "win64")
CTEST

cd "$DOVREL_BUILD"
# A Wine process now and then crashes on its way out under load, after its
# test has passed; a test fails the run only when it fails twice in a row.
ctest --output-on-failure -j 2 --timeout 600 --repeat until-pass:2
