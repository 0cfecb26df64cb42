#!/usr/bin/env bash
# Cross-builds the codec libraries for Windows from Debian's source packages,
# statically, into a cache on this machine: one prefix per architecture (i686
# for the 32-bit product, x86_64 for the 64-bit one). zlib comes from
# Debian's libz-mingw-w64-dev.
#
#   build-windows-deps.sh [i686|x86_64]...   (default: both)
#
# Each cache is keyed by the source versions, the compilers and this script,
# so a second run with the same versions does nothing. Prints each install
# prefix on stdout and points $cache_root/<triplet>/current at it.
# TULVEX_DEPS_CACHE moves the cache (a private one while developing).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
script=$here/scripts/build-windows-deps.sh
cache_root=${TULVEX_DEPS_CACHE:-/var/cache/tulvex/windows-deps}
jobs=$(nproc)
architectures=("$@")
[ ${#architectures[@]} -gt 0 ] || architectures=(i686 x86_64)

# Debian source packages, in build order: libtiff needs libjpeg, libheif its
# two decoders.
packages=(libjpeg-turbo libpng1.6 tiff giflib lcms2 libwebp libde265 dav1d libheif)

# The versions the main suite carries (its files are reachable here, those of
# the security suite are not), read in one pass over the Sources index.
declare -A version
read_main_versions() {
  local sources
  sources=$(ls /var/lib/apt/lists/*_debian_dists_bookworm_main_source_Sources* 2>/dev/null | head -n1)
  [ -n "$sources" ] || { echo "no deb-src index for bookworm main; run scripts/install-packages.sh" >&2; exit 1; }
  local name number
  while read -r name number; do
    version[$name]=$number
  done < <(/usr/lib/apt/apt-helper cat-file "$sources" |
    awk -v wanted="${packages[*]}" '
      BEGIN { n = split(wanted, w, " "); for (i = 1; i <= n; i++) want[w[i]] = 1 }
      $1 == "Package:" { pk = $2 }
      $1 == "Version:" && (pk in want) && !(pk in seen) { print pk, $2; seen[pk] = 1 }')
  for name in "${packages[@]}"; do
    [ -n "${version[$name]:-}" ] || { echo "bookworm main carries no source package $name" >&2; exit 1; }
  done
}
read_main_versions
for tool in nasm meson pkg-config; do
  command -v "$tool" >/dev/null || { echo "$tool is missing; run scripts/install-packages.sh" >&2; exit 1; }
done

source_dir() {  # PACKAGE: the folder 'apt-get source' unpacked it into
  ls -d "$1"-[0-9]*/ | head -n1
}

# Meson's description of the cross compilers, for dav1d.
write_meson_cross_file() {  # TRIPLET ARCH FILE
  local family=$2
  [ "$family" = i686 ] && family=x86
  cat > "$3" <<CROSS
[binaries]
c = '$1-gcc-posix'
cpp = '$1-g++-posix'
ar = '$1-ar'
strip = '$1-strip'
windres = '$1-windres'
pkgconfig = 'pkg-config'

[host_machine]
system = 'windows'
cpu_family = '$family'
cpu = '$2'
endian = 'little'
CROSS
}

build_architecture() {  # ARCH
  local arch=$1
  local triplet=$arch-w64-mingw32
  local toolchain=$here/cmake/toolchain-mingw-$arch.cmake
  [ -f "$toolchain" ] || { echo "unknown architecture: $arch" >&2; exit 2; }
  local compiler key prefix work name
  compiler=$("$triplet-gcc-posix" -dumpfullversion)
  key=$( { for name in "${packages[@]}"; do echo "$name ${version[$name]}"; done
           echo "$triplet" "$compiler"; nasm -v; meson --version
           sha256sum "$script" | cut -c1-16; } | sha256sum | cut -c1-16)
  prefix=$cache_root/$triplet/$key

  if [ -f "$prefix/.complete" ]; then
    ln -sfn "$prefix" "$cache_root/$triplet/current"
    echo "$prefix"
    return
  fi

  echo "cross-building for $triplet:$(for name in "${packages[@]}"; do printf ' %s %s' "$name" "${version[$name]}"; done)" >&2
  work=$cache_root/$triplet/src-$key
  rm -rf "$work" "$prefix"
  mkdir -p "$work" "$prefix"
  cd "$work"

  # A full 'apt-get source' applies Debian's patch series, security fixes included.
  local requests=()
  for name in "${packages[@]}"; do requests+=("$name=${version[$name]}"); done
  apt-get source -qq "${requests[@]}" >&2

  # pkg-config answers from this prefix only, never with the build machine's
  # own libraries.
  export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=

  local zlib=(-DZLIB_LIBRARY="/usr/$triplet/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triplet/include")
  # The project's toolchain file searches the prefix it is told, here the one
  # being built, so each library finds those built before it.
  cmake_cross() {  # SOURCE BUILD [cmake args...]
    local src=$1 build=$2; shift 2
    cmake -S "$src" -B "$build" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DTULVEX_WINDOWS_DEPS="$prefix" \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_PREFIX_PATH="$prefix" \
      -DBUILD_SHARED_LIBS=OFF \
      "$@" >&2
    cmake --build "$build" -j "$jobs" >&2
    cmake --install "$build" >&2
  }

  # Progressive and arithmetic-coded JPEG both ways: pictures of either kind
  # are read, and the test helpers write them.
  cmake_cross "$(source_dir libjpeg-turbo)" build-jpeg \
    -DWITH_JPEG7=ON -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON -DWITH_ARITH_DEC=ON -DWITH_ARITH_ENC=ON
  grep -q '^#define D_ARITH_CODING_SUPPORTED' "$prefix/include/jconfig.h" &&
    grep -q '^#define C_ARITH_CODING_SUPPORTED' "$prefix/include/jconfig.h" &&
    grep -q '^#define D_PROGRESSIVE_SUPPORTED' "$prefix/include/jmorecfg.h" ||
    { echo "libjpeg-turbo was built without arithmetic or progressive coding" >&2; exit 1; }

  local png_src tiff_src
  png_src=$(source_dir libpng1.6)
  cmake_cross "$png_src" build-png \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF "${zlib[@]}"

  # The PNG and TIFF test pictures of the sources serve the project's tests.
  mkdir -p "$prefix/share/testimages"
  cp -r "$png_src/contrib/pngsuite" "$prefix/share/testimages/pngsuite"

  tiff_src=$(source_dir tiff)
  cmake_cross "$tiff_src" build-tiff \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
    -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djpeg12=OFF -Dpixarlog=OFF \
    -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF "${zlib[@]}" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include"
  cp -r "$tiff_src/test/images" "$prefix/share/testimages/tiff"

  # giflib has a plain makefile: the static library and its one header.
  local gif_src
  gif_src=$(source_dir giflib)
  make -C "$gif_src" -j "$jobs" CC="$triplet-gcc-posix" AR="$triplet-ar" libgif.a >&2
  install -D -m 644 "$gif_src/libgif.a" "$prefix/lib/libgif.a"
  install -D -m 644 "$gif_src/gif_lib.h" "$prefix/include/gif_lib.h"

  # lcms2 through its configure script: its meson build is for a DLL only.
  # Only the library and its headers; the utilities are not needed.
  (cd "$(source_dir lcms2)" &&
    ./configure -q --host="$triplet" CC="$triplet-gcc-posix" --prefix="$prefix" \
      --enable-static --disable-shared --without-jpeg --without-tiff --without-zlib >&2 &&
    make -C src -j "$jobs" install >&2 && make -C include install >&2 &&
    install -D -m 644 lcms2.pc "$prefix/lib/pkgconfig/lcms2.pc")

  # libwebp, its demux library (the first frame of an animation) and sharpyuv.
  cmake_cross "$(source_dir libwebp)" build-webp \
    -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF \
    -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF \
    -DWEBP_BUILD_EXTRAS=OFF

  # The HEVC decoder for libheif, without its sample programs. On Windows
  # libde265 guards its decoding progress with kernel mutex objects, taken
  # several times for every block of a picture: each take is a system call,
  # and under Wine a round trip to the Wine server, which made a HEIC picture
  # three times slower than natively. MinGW's POSIX threads lock in user
  # space, so libde265 is built on its POSIX branch.
  local de265_threads
  de265_threads=$(source_dir libde265)/libde265
  sed -i 's/^#ifndef _WIN32$/#if !defined(_WIN32) || defined(__MINGW32__)/' \
    "$de265_threads/threads.h" "$de265_threads/threads.cc"
  [ "$(cat "$de265_threads/threads.h" "$de265_threads/threads.cc" |
        grep -cxF '#if !defined(_WIN32) || defined(__MINGW32__)')" = 3 ] ||
    { echo "libde265's thread branches are not where this script expects them" >&2; exit 1; }
  cmake_cross "$(source_dir libde265)" build-de265 \
    -DENABLE_SDL=OFF -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF

  # The AV1 decoder for libheif, 8- and 16-bit pixel paths (10- and 12-bit
  # pictures take the second), with its nasm-built assembly.
  write_meson_cross_file "$triplet" "$arch" meson-cross.ini
  meson setup build-dav1d "$(source_dir dav1d)" --cross-file meson-cross.ini \
    --prefix "$prefix" --libdir lib --buildtype release -Ddefault_library=static \
    -Denable_asm=true -Denable_tools=false -Denable_tests=false -Denable_examples=false \
    -Dbitdepths=8,16 >&2
  meson install -C build-dav1d >&2

  # libheif with both decoders compiled in: no plug-in is ever loaded at run
  # time, and no encoder is built.
  cmake_cross "$(source_dir libheif)" build-heif \
    -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF \
    -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DWITH_DAV1D=ON -DWITH_DAV1D_PLUGIN=OFF \
    -DWITH_X265=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF \
    -DWITH_RAV1E=OFF -DWITH_SvtEnc=OFF
  grep -q '^Requires.private:.*libde265.*dav1d' "$prefix/lib/pkgconfig/libheif.pc" ||
    { echo "libheif was configured without its built-in decoders" >&2; exit 1; }

  cd /
  rm -rf "$work"
  touch "$prefix/.complete"
  ln -sfn "$prefix" "$cache_root/$triplet/current"
  echo "$prefix"
}

for arch in "${architectures[@]}"; do
  build_architecture "$arch"
done
