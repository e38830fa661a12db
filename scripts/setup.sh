#!/usr/bin/env bash
# Installs what the builds and the Wine tests need on a Debian 12 machine.
# Safe to run again: it only installs what is missing.
#   scripts/setup.sh native    compilers, CMake, GoogleTest, Google Benchmark
#   scripts/setup.sh windows   the above and MinGW-w64
#   scripts/setup.sh wine      the above and Wine, Xvfb, a window manager, Japanese fonts and locale
#   scripts/setup.sh fuzz      the native set and clang with libFuzzer (libclang-rt-14-dev)
set -euo pipefail
what=${1:-wine}

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
want_pkg() { have_pkg "$1" || need+=("$1"); }

for p in g++ cmake ninja-build make libgtest-dev libbenchmark-dev; do want_pkg "$p"; done
if [ "$what" = windows ] || [ "$what" = wine ]; then
    for p in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 zip; do want_pkg "$p"; done
fi
if [ "$what" = fuzz ]; then
    for p in clang libclang-rt-14-dev; do want_pkg "$p"; done
fi
if [ "$what" = wine ]; then
    for p in wine wine64 xvfb openbox xdotool x11-utils wmctrl fonts-wine \
             fonts-ipafont-gothic locales; do want_pkg "$p"; done
fi

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

if [ "$what" = wine ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    if [ -f /etc/locale.gen ] && grep -q 'ja_JP.UTF-8' /etc/locale.gen; then
        $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    else
        echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi
exit 0
