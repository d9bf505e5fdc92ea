# Sourced by run.sh and test.sh: installing what is missing and building.
set -euo pipefail

DOVREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DOVREL_BUILD=${DOVREL_BUILD:-$DOVREL_ROOT/build}

# What building, running and testing need on Debian 12. Wine's 32-bit half
# needs the i386 architecture.
DOVREL_PACKAGES=(
    cmake make g++ googletest libgtest-dev libgmock-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32
    wine wine32:i386 wine64
    xvfb x11-utils imagemagick icoutils util-linux procps
    clang libclang-rt-14-dev locales python3 gdb
)

dovrel_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

dovrel_install_missing() {
    local missing=() package
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture for Wine's 32-bit half"
        dovrel_as_root dpkg --add-architecture i386
        missing+=(update-needed)
    fi
    for package in "${DOVREL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]/update-needed/}"
    dovrel_as_root apt-get update -qq
    dovrel_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${DOVREL_PACKAGES[@]}" >/dev/null
}

# dovrel_configure NAME [CMAKE OPTIONS...]: configures one tree.
dovrel_configure() {
    local name=$1
    shift
    cmake -S "$DOVREL_ROOT" -B "$DOVREL_BUILD/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# dovrel_build NAME [CMAKE OPTIONS...]: configures one tree and builds all of it.
dovrel_build() {
    dovrel_configure "$@"
    cmake --build "$DOVREL_BUILD/$1" -j "$(nproc)"
}

dovrel_windows_toolchain() {
    echo "-DCMAKE_TOOLCHAIN_FILE=$DOVREL_ROOT/cmake/toolchains/$1.cmake"
}

dovrel_build_windows() {
    dovrel_build "$1" "$(dovrel_windows_toolchain "$2")" "${@:3}"
}

# Wine runs 32-bit Windows programs through its 32-bit half, a 32-bit Linux
# program; a kernel without 32-bit support (some virtual machines) cannot
# start it at all ("Exec format error").
dovrel_runs_32bit_wine() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# One scenario runs Wine in a Russian locale, whose ANSI code page (1251) is
# Cyrillic; Wine takes the code page from the locale, which must exist.
dovrel_ensure_locale() {
    locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && return 0
    echo "Generating the ru_RU.UTF-8 locale"
    dovrel_as_root sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -qx 'ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | dovrel_as_root tee -a /etc/locale.gen >/dev/null
    dovrel_as_root locale-gen >/dev/null
}
