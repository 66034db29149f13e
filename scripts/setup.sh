#!/bin/sh
# Installs what Hostglow's builds and tests need on Debian 12, and does
# nothing when all of it is there. Installing needs root.
set -eu

# Debian packages, with a command or file that shows each one is present.
# The i386 ones are the 32-bit Wine that runs the 32-bit program.
PACKAGES="
cmake:/usr/bin/cmake
g++:/usr/bin/g++
make:/usr/bin/make
python3:/usr/bin/python3
libgtest-dev:/usr/include/gtest/gtest.h
clang:/usr/bin/clang++
libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
g++-mingw-w64-i686-win32:/usr/bin/i686-w64-mingw32-g++-win32
binutils-mingw-w64-i686:/usr/bin/i686-w64-mingw32-windres
wine:/usr/bin/wine
wine32:i386:/usr/lib/i386-linux-gnu/wine/i386-windows/user32.dll
xvfb:/usr/bin/Xvfb
xdotool:/usr/bin/xdotool
x11-utils:/usr/bin/xwininfo
imagemagick:/usr/bin/convert
iproute2:/usr/sbin/ip
util-linux:/usr/bin/unshare
procps:/usr/sbin/sysctl
iputils-ping:/usr/bin/ping
"

missing=""
for entry in $PACKAGES; do
    package=${entry%:/*}
    probe=/${entry#*:/}
    [ -e "$probe" ] || missing="$missing $package"
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "setup: missing:$missing"
if [ "$(id -u)" -ne 0 ]; then
    echo "setup: installing needs root; run as root:  sudo $0" >&2
    echo "setup: or install by hand: dpkg --add-architecture i386 && apt-get update &&" \
         "apt-get install$missing" >&2
    exit 1
fi

case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
    *" i386 "*) ;;
    *) dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
echo "setup: done"
