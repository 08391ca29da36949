#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build and test Morphocalcule,
# then configures and builds it in ./build. Safe to run again: it installs only
# what is missing and rebuilds only what changed.
set -eu
cd "$(dirname "$0")/.."

# clang, its compiler runtime (libFuzzer and the sanitizers) and llvm's symbolizer serve
# the fuzz targets and the sanitizer build; setpriv (util-linux) runs a test's program as
# another user.
PACKAGES="build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
libxcb1-dev libxcb-xfixes0-dev libx11-dev fonts-liberation fonts-liberation2 fonts-dejavu-core locales
xvfb xauth xdotool x11-utils imagemagick openbox appstream desktop-file-utils
clang libclang-rt-14-dev llvm-14 util-linux"
# Callers may name more packages: the benchmark does.
PACKAGES="$PACKAGES $*"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "Installation des paquets manquants :$missing"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

# The tests run the program under a French and an English locale.
for wanted in fr_FR.UTF-8 en_US.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^$(echo "$wanted" | sed 's/UTF-8/utf8/')$"; then
        SUDO=""
        [ "$(id -u)" -eq 0 ] || SUDO="sudo"
        $SUDO sed -i "s/^# *\($wanted UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$wanted UTF-8" /etc/locale.gen || echo "$wanted UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen
    fi
done

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
