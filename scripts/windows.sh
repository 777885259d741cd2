#!/usr/bin/env bash
# The program for Windows, built on this Debian machine from Debian's own packages:
#   scripts/windows.sh qt      Qt for Windows (MinGW-w64, x86-64) from Debian's qt6-base source,
#                              built once into the cache and reused while its version and options
#                              are the same
#   scripts/windows.sh         the above, then the program cross-built and its installer
#   scripts/windows.sh test    the above, then the test binaries under Wine
# The cache lives outside the repo: ${TERVIN_WIN_CACHE:-/var/cache/tervin-win}.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache="${TERVIN_WIN_CACHE:-/var/cache/tervin-win}"
jobs=$(nproc)

# --- what the machine needs --------------------------------------------------------------------

packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64 wine64 wine nsis xvfb xauth
          cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n xz-utils dpkg-dev)

install_packages() {
  "$here/scripts/install-deps.sh"
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -o DPkg::Lock::Timeout=600
  $sudo apt-get install -y -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# A deb-src entry for the suites the machine installs from, in a file of its own.
add_source_entry() {
  local list=/etc/apt/sources.list.d/tervin-sources.sources
  [ -f "$list" ] && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  local uris suites
  uris=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  suites=$(awk '/^Suites:/ {$1=""; print; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  [ -n "$uris" ] || uris=http://deb.debian.org/debian
  [ -n "$suites" ] || suites="bookworm bookworm-updates"
  printf 'Types: deb-src\nURIs: %s\nSuites:%s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uris" "$suites" | $sudo tee "$list" >/dev/null
  $sudo apt-get update -o DPkg::Lock::Timeout=600
}

# --- Qt for Windows ----------------------------------------------------------------------------

# What the build depends on: a change of either builds Qt again.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  # The pen-tablet header of the Windows platform plugin is not in Debian's source.
  -DFEATURE_tabletevent=OFF
)

qt_version() { dpkg-query -W -f='${Version}' qt6-base-dev; }
qt_prefix() { echo "$cache/qt-$(qt_version | tr ':+~' '___')"; }
qt_stamp() { printf '%s\n' "$(qt_version)" "${qt_options[@]}" | sha256sum | cut -c1-16; }

build_qt() {
  local prefix stamp
  prefix=$(qt_prefix)
  stamp=$(qt_stamp)
  if [ -f "$prefix/.built-$stamp" ]; then
    echo "Qt for Windows: $prefix (built before)"
    return
  fi
  add_source_entry
  mkdir -p "$cache/src"
  local tarball
  tarball=$(ls "$cache"/src/qt6-base_*.orig.tar.xz 2>/dev/null | head -n1 || true)
  if [ -z "$tarball" ]; then
    (cd "$cache/src" && apt-get source --download-only qt6-base="$(qt_version)")
    tarball=$(ls "$cache"/src/qt6-base_*.orig.tar.xz | head -n1)
  fi
  local src="$cache/src/qtbase" work="$cache/qt-build"
  if [ ! -d "$src" ]; then
    mkdir -p "$src.part"
    tar -xf "$tarball" -C "$src.part" --strip-components=1
    mv "$src.part" "$src"
  fi
  mkdir -p "$work"
  echo "Qt for Windows: configuring in $work (a first build takes about 45 minutes on 2 cores)"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" >"$cache/qt-configure.log"
  nice cmake --build "$work" -j"$jobs" | awk 'NR % 50 == 0 {print "  " $1; fflush()}'
  cmake --install "$work" >/dev/null
  # Qt's own texts in Bulgarian, from the machine's translations.
  mkdir -p "$prefix/translations"
  cp /usr/share/qt6/translations/qtbase_bg.qm "$prefix/translations/"
  touch "$prefix/.built-$stamp"
  echo "Qt for Windows: $prefix"
}

main() {
  install_packages
  build_qt
  [ "${1:-}" = qt ] && return
  echo "the program's cross-build is not written yet" >&2
  return 1
}

main "$@"
