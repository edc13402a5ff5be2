#!/usr/bin/env bash
# Installs every tool the build and the tests need, then builds the libraries Debian does not ship for
# MinGW (libcurl with Schannel, jsoncpp, the LZMA SDK's 7z reader) from Debian's source packages.
# Idempotent and non-interactive; built libraries live in a cache outside the clone, keyed by
# the recipe number in deps-dir.sh, so a second run (or CI on the same machine) only checks stamps.
set -euo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=deps-dir.sh
source "$HERE/deps-dir.sh"
DEPS="$ZAVIX_DEPS_DIR"
JOBS="$(nproc)"

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

log() { printf '[bootstrap] %s\n' "$*" >&2; }

PACKAGES=(
  cmake ninja-build ccache pkg-config make autoconf automake libtool dpkg-dev file python3
  g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 mingw-w64-tools
  libz-mingw-w64-dev zlib1g-dev libcurl4-openssl-dev libjsoncpp-dev libstb-dev googletest libgtest-dev
  wine wine64 xvfb xdotool x11-utils x11-apps imagemagick fonts-wqy-microhei 7zip
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

enable_sources() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q '^Types:.*deb-src' "$f"; then
    log "enabling Debian source packages"
    $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    $SUDO apt-get update -q
  fi
}

# fetch_source PACKAGE -> prints the unpacked source folder
fetch_source() {
  local pkg="$1" dir="$DEPS/src/$1"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt-get source -q "$pkg" >/dev/null 2>&1) || {
      enable_sources
      (cd "$dir" && apt-get source -q "$pkg" >&2)
    }
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1
}

build_curl() {
  local triple="$1" prefix="$DEPS/$1"
  [ -f "$prefix/.curl" ] && return
  log "building libcurl for $triple"
  local src; src="$(fetch_source curl)"
  local b="$DEPS/build/curl-$triple"
  rm -rf "$b" && mkdir -p "$b"
  (cd "$b" && "$src/configure" --host="$triple" --prefix="$prefix" --disable-shared --enable-static \
      --with-schannel --with-zlib="/usr/$triple" --disable-ldap --disable-ldaps --disable-rtsp --disable-dict \
      --disable-telnet --disable-tftp --disable-pop3 --disable-imap --disable-smtp --disable-gopher \
      --disable-mqtt --disable-smb --without-libpsl --without-brotli --without-zstd --without-libidn2 \
      --without-nghttp2 --disable-manual --disable-docs >/dev/null 2>&1 \
    && make -s -C lib -j"$JOBS" >/dev/null && make -s -C lib install >/dev/null && make -s -C include install >/dev/null)
  rm -rf "$b"
  touch "$prefix/.curl"
}

build_jsoncpp() {
  local triple="$1" prefix="$DEPS/$1"
  [ -f "$prefix/.jsoncpp" ] && return
  log "building jsoncpp for $triple"
  local src; src="$(fetch_source libjsoncpp)"
  local b="$DEPS/build/jsoncpp-$triple"
  rm -rf "$b"
  cmake -S "$src" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER="$triple-gcc-posix" -DCMAKE_CXX_COMPILER="$triple-g++-posix" \
    -DCMAKE_RC_COMPILER="$triple-windres" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF -DJSONCPP_WITH_TESTS=OFF \
    -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=ON \
    >/dev/null
  cmake --build "$b" >/dev/null && cmake --install "$b" >/dev/null
  rm -rf "$b"
  touch "$prefix/.jsoncpp"
}

# The 7z reader and its decoders, and the SDK's MD5 and SHA-256 (the package digests): plain C, so one
# small static library per target (host included). LZMA_BUILD keys its stamp: bump it when this changes.
LZMA_BUILD=2
LZMA_FILES=(7zAlloc.c 7zArcIn.c 7zBuf.c 7zBuf2.c 7zCrc.c 7zCrcOpt.c 7zDec.c 7zStream.c Bcj2.c Bra.c Bra86.c
            BraIA64.c CpuArch.c Delta.c Lzma2Dec.c LzmaDec.c Md5.c Sha256.c Sha256Opt.c)
LZMA_HEADERS=(7z.h 7zAlloc.h 7zBuf.h 7zCrc.h 7zTypes.h 7zWindows.h Compiler.h CpuArch.h Precomp.h
              RotateDefs.h Lzma2Dec.h LzmaDec.h Bcj2.h Bra.h Delta.h 7zVersion.h Md5.h Sha256.h)
build_lzma() {
  local name="$1" cc="$2" prefix="$DEPS/$1"
  [ -f "$prefix/.lzma-$LZMA_BUILD" ] && return
  log "building the LZMA SDK's 7z reader for $name"
  local src; src="$(fetch_source 7zip)/C"
  local b="$DEPS/build/lzma-$name"
  rm -rf "$b" && mkdir -p "$b" "$prefix/lib" "$prefix/include/lzma-sdk"
  local objs=()
  for f in "${LZMA_FILES[@]}"; do
    [ -f "$src/$f" ] || continue
    "$cc" -O2 -fPIC -c "$src/$f" -o "$b/${f%.c}.o"
    objs+=("$b/${f%.c}.o")
  done
  local ar="ar"
  [ "$name" = host ] || ar="$name-ar"
  rm -f "$prefix/lib/liblzmasdk.a"
  "$ar" rcs "$prefix/lib/liblzmasdk.a" "${objs[@]}"
  for h in "${LZMA_HEADERS[@]}"; do
    [ -f "$src/$h" ] && cp "$src/$h" "$prefix/include/lzma-sdk/"
  done
  rm -rf "$b"
  touch "$prefix/.lzma-$LZMA_BUILD"
}

install_packages
mkdir -p "$DEPS"
for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
  build_curl "$triple"
  build_jsoncpp "$triple"
  build_lzma "$triple" "$triple-gcc-posix"
done
build_lzma host gcc
log "dependencies ready in $DEPS"
