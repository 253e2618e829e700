#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; does nothing when all are present.
set -euo pipefail

native=(cmake make g++ googletest clang libclang-rt-14-dev g++-mingw-w64-i686 libz-mingw-w64-dev
        wine wine64 fonts-wine xvfb xauth x11-apps imagemagick zip unzip zlib1g-dev python3 python3-numpy
        python3-dev python3-venv python3-setuptools python3-wheel pybind11-dev python3-pybind11 python3-pandas python3-pytest)
i386=(wine32:i386 libx11-6:i386 libxext6:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386
      libxcursor1:i386 libfreetype6:i386 libfontconfig1:i386)

missing() {
  local p out=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || out+=("$p")
  done
  echo "${out[@]:-}"
}

need=$(missing "${native[@]}" "${i386[@]}")
[ -z "$need" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
updated=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -q
  updated=1
fi
echo "Installing: $need"
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
if ! $sudo apt-get install -y -q --no-install-recommends $need; then
  [ $updated -eq 1 ] && exit 1
  $sudo apt-get update -q
  # shellcheck disable=SC2086
  $sudo apt-get install -y -q --no-install-recommends $need
fi
