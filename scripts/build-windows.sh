#!/usr/bin/env bash
# Cross-builds the Windows server and its unit tests (preset mingw64):
#   1. installs the MinGW-w64 tool chain, widl, Wine and Xvfb (install-deps.sh --windows);
#   2. cross-builds PCRE2 from Debian's source package into
#      build/windows-deps/pcre2-install (skipped when already there);
#   3. configures and builds build/mingw64.
# Run the unit tests afterwards with `ctest --preset mingw64` (they run under Wine).
#
#   scripts/build-windows.sh [extra arguments for cmake --build]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps="$root/build/windows-deps"
pcre2_version=10.42
pcre2_debian_version=10.42-1
pcre2_install="$deps/pcre2-install"
toolchain="$root/cmake/toolchain-mingw64.cmake"

"$root/scripts/install-deps.sh" --windows

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi

build_pcre2() {
  if [[ -f "$pcre2_install/lib/libpcre2-8.a" && -f "$pcre2_install/include/pcre2.h" ]]; then
    return
  fi
  mkdir -p "$deps/source"
  local tarball="$deps/source/pcre2_${pcre2_version}.orig.tar.gz"
  if [[ ! -f "$tarball" ]]; then
    # The archive's source entries: the binary entries' twin with Types: deb-src.
    local src_list=/etc/apt/sources.list.d/debian-src.sources
    if [[ ! -f "$src_list" ]]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${sudo[@]}" tee "$src_list" >/dev/null
      "${sudo[@]}" apt-get update -qq
    fi
    # Pinned: the newest version's .dsc was missing from the archive once,
    # while this one always downloads whole.
    (cd "$deps/source" && apt-get source --download-only "pcre2=$pcre2_debian_version")
  fi
  rm -rf "$deps/pcre2-src" "$deps/pcre2-build"
  mkdir -p "$deps/pcre2-src"
  tar -xzf "$tarball" -C "$deps/pcre2-src" --strip-components=1
  cmake -S "$deps/pcre2-src" -B "$deps/pcre2-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$pcre2_install" \
    -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_STATIC_LIBS=ON \
    -DPCRE2_BUILD_PCRE2_8=ON \
    -DPCRE2_BUILD_PCRE2_16=OFF \
    -DPCRE2_BUILD_PCRE2_32=OFF \
    -DPCRE2_SUPPORT_JIT=ON \
    -DPCRE2_SUPPORT_UNICODE=ON \
    -DPCRE2_BUILD_PCRE2GREP=OFF \
    -DPCRE2_BUILD_TESTS=OFF
  cmake --build "$deps/pcre2-build" -j2
  cmake --install "$deps/pcre2-build"
}

build_pcre2

cmake --preset mingw64
cmake --build --preset mingw64 "$@"
