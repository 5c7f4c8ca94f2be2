#!/usr/bin/env bash
# Installs what Orvane needs on Debian 12, builds it, and then starts the program ("run"), runs
# the whole test suite ("test") or writes the Debian package build/orvane_<version>_<arch>.deb
# ("package").
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev libsdl2-dev libsndfile1-dev libturbojpeg0-dev
          libasound2-dev libfontconfig-dev libxcb1-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb
          xauth sox espeak-ng lame poppler-utils dpkg-dev desktop-file-utils appstream lintian clang
          libclang-rt-14-dev librtmidi-dev jackd2 libjack-jackd2-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi

cmake --preset default
cmake --build --preset default

case "${1:-run}" in
  run)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      exec xvfb-run -a -s "-screen 0 1280x800x24" build/program/orvane "${@:2}"
    fi
    exec build/program/orvane "${@:2}"
    ;;
  test)
    ctest --preset default -j 2
    # The fuzz targets: every seed and regression input, then a bounded run of each target.
    cmake --preset fuzz
    cmake --build --preset fuzz
    ctest --preset fuzz -j 2
    ;;
  package)
    (cd build && cpack -G DEB)
    ;;
  *)
    echo "usage: build.sh [run|test|package]" >&2
    exit 2
    ;;
esac
