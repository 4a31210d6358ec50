#!/usr/bin/env bash
# Installs the Debian packages the build needs. Safe to run again: packages
# already present are skipped, and nothing is fetched when all are there.
#
#   scripts/install-deps.sh            native build, unit tests, benchmarks, fuzzing
#   scripts/install-deps.sh --windows  additionally the MinGW cross build, Wine and the release zip
set -euo pipefail

packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev libpcre2-dev pkg-config
          crudini time)  # the POSIX host benchmark: its baseline, and peak RSS
if [[ "${1:-}" == "--windows" ]]; then
  # dpkg-dev: apt-get source, for the PCRE2 source package of the Windows build;
  # imagemagick: screenshots of the server's window in the Wine suite, and
  # the application icon (scripts/make-icon.sh); xdotool: real key presses
  # and clicks in the Wine suite; zip, unzip: the release archive
  # (scripts/release.sh) and its test;
  # wixl, msitools: the installer package (wixl builds it, msibuild adds the
  # tables wixl lacks, msiinfo/msidump read it back in the tests);
  # faketime: wixl stamps the package with the clock, here the commit's time;
  # osslsigncode, openssl: signing the release and the throwaway test certificate;
  # pandoc: the reference for script authors as HTML (scripts/render-referenz.sh)
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb dpkg-dev imagemagick xdotool
             zip unzip wixl msitools faketime osslsigncode openssl pandoc)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
