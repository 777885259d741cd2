#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its benchmarks need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3-xlrd python3-olefile poppler-utils
  xvfb xauth xdotool openbox imagemagick fonts-dejavu-core fonts-liberation2
)
# Real spreadsheet programs check the files we write; they need no desktop around them.
# python3-uno drives LibreOffice for tests/data/kept/make-kept-workbook.py.
quiet_packages=(libreoffice-calc-nogui gnumeric python3-uno)

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

need=$(missing "${packages[@]}")
need_quiet=$(missing "${quiet_packages[@]}")
if [ -z "$need$need_quiet" ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_opts=(-y -o DPkg::Lock::Timeout=600)
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -o DPkg::Lock::Timeout=600
[ -z "$need" ] || $sudo apt-get install "${apt_opts[@]}" $need
[ -z "$need_quiet" ] || $sudo apt-get install "${apt_opts[@]}" --no-install-recommends $need_quiet
