#!/usr/bin/env bash
# Cross-builds libjpeg-turbo (libjpeg-7 interface), libpng and libtiff for
# Windows from Debian's source packages, statically, into a cache on this
# machine: one prefix per architecture (i686 for the 32-bit product, x86_64
# for the 64-bit one). zlib comes from Debian's libz-mingw-w64-dev.
#
#   build-windows-deps.sh [i686|x86_64]...   (default: both)
#
# Each cache is keyed by the source versions, the compiler and this script,
# so a second run with the same versions does nothing. Prints each install
# prefix on stdout and points $cache_root/<triplet>/current at it.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache_root=${TULVEX_DEPS_CACHE:-/var/cache/tulvex/windows-deps}
jobs=$(nproc)
architectures=("$@")
[ ${#architectures[@]} -gt 0 ] || architectures=(i686 x86_64)

# The version the main suite carries: its files are reachable here, those of
# the security suite are not.
main_version() {
  local sources
  sources=$(ls /var/lib/apt/lists/*_debian_dists_bookworm_main_source_Sources* 2>/dev/null | head -n1)
  [ -n "$sources" ] || { echo "no deb-src index for bookworm main; run scripts/install-packages.sh" >&2; exit 1; }
  /usr/lib/apt/apt-helper cat-file "$sources" |
    awk -v p="$1" '$1=="Package:"{pk=$2} $1=="Version:" && pk==p && !seen {print $2; seen=1}'
}

jpeg_version=$(main_version libjpeg-turbo)
png_version=$(main_version libpng1.6)
tiff_version=$(main_version tiff)

build_architecture() {  # ARCH
  local arch=$1
  local triplet=$arch-w64-mingw32
  local toolchain=$here/cmake/toolchain-mingw-$arch.cmake
  [ -f "$toolchain" ] || { echo "unknown architecture: $arch" >&2; exit 2; }
  local compiler key prefix work
  compiler=$("$triplet-gcc-posix" -dumpfullversion)
  key=$(printf '%s\n' "$jpeg_version" "$png_version" "$tiff_version" "$triplet" "$compiler" \
          "$(sha256sum "$0" | cut -c1-16)" | sha256sum | cut -c1-16)
  prefix=$cache_root/$triplet/$key

  if [ -f "$prefix/.complete" ]; then
    ln -sfn "$prefix" "$cache_root/$triplet/current"
    echo "$prefix"
    return
  fi

  echo "cross-building for $triplet: libjpeg-turbo $jpeg_version, libpng $png_version, tiff $tiff_version" >&2
  work=$cache_root/$triplet/src-$key
  rm -rf "$work" "$prefix"
  mkdir -p "$work" "$prefix"
  cd "$work"

  # A full 'apt-get source' applies Debian's patch series, security fixes included.
  apt-get source -qq "libjpeg-turbo=$jpeg_version" "libpng1.6=$png_version" "tiff=$tiff_version" >&2

  local zlib=(-DZLIB_LIBRARY="/usr/$triplet/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triplet/include")
  cmake_cross() {  # SOURCE BUILD [cmake args...]
    local src=$1 build=$2; shift 2
    cmake -S "$src" -B "$build" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_FIND_ROOT_PATH="$prefix;/usr/$triplet" \
      "$@" >&2
    cmake --build "$build" -j "$jobs" >&2
    cmake --install "$build" >&2
  }

  local jpeg_src png_src tiff_src
  jpeg_src=$(ls -d libjpeg-turbo-*/ | head -n1)
  cmake_cross "$jpeg_src" build-jpeg \
    -DWITH_JPEG7=ON -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON

  png_src=$(ls -d libpng1.6-*/ | head -n1)
  cmake_cross "$png_src" build-png \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF "${zlib[@]}"

  # The PNG and TIFF test pictures of the sources serve the project's tests.
  mkdir -p "$prefix/share/testimages"
  cp -r "$png_src/contrib/pngsuite" "$prefix/share/testimages/pngsuite"

  tiff_src=$(ls -d tiff-*/ | head -n1)
  cmake_cross "$tiff_src" build-tiff \
    -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
    -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djpeg12=OFF -Dpixarlog=OFF \
    -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF "${zlib[@]}" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include"
  cp -r "$tiff_src/test/images" "$prefix/share/testimages/tiff"

  cd /
  rm -rf "$work"
  touch "$prefix/.complete"
  ln -sfn "$prefix" "$cache_root/$triplet/current"
  echo "$prefix"
}

for arch in "${architectures[@]}"; do
  build_architecture "$arch"
done
