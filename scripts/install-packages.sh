#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Tulvex needs.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

need_root() { [ "$(id -u)" = 0 ] || { echo "run as root" >&2; exit 1; }; }
need_root

export DEBIAN_FRONTEND=noninteractive

# Source packages for the cross-built dependencies come from deb-src.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list > /etc/apt/sources.list.d/tulvex-src.list
  fi
fi

dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386

apt-get update -qq

packages=(
  # build
  cmake ninja-build meson pkg-config dpkg-dev nasm python3
  g++-mingw-w64-i686-posix mingw-w64-i686-dev libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  # native engine
  g++ clang-14 libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev googletest
  libgif-dev liblcms2-dev libwebp-dev libheif-dev
  # running and testing the Windows build
  wine wine32:i386 wine64 xvfb xauth fonts-wqy-microhei locales
  imagemagick libjpeg-turbo-progs x11-utils
  # sample pictures with EXIF and a colour profile
  libimage-exiftool-perl icc-profiles-free
  # sample HEIC, AVIF and WebP files for tests and benchmarks
  libheif-examples libavif-bin webp
)
apt-get install -y -qq --no-install-recommends "${packages[@]}"

# The program runs with code page 936: Wine takes it from this locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.gbk$'; then
  localedef -i zh_CN -f GBK zh_CN.GBK
fi
