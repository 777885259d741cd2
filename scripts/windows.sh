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
          cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n xz-utils dpkg-dev
          fonts-liberation2 fonts-dejavu-core)

install_packages() {
  "$here/scripts/install-deps.sh"
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  # NSIS makes 32-bit installers: Wine runs them with its 32-bit half.
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
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
  # Qt's own toolchain file for programs built against it names this one: a copy in the cache
  # outlives any checkout.
  cp "$here/windows/mingw-w64.cmake" "$cache/mingw-w64.cmake"
  echo "Qt for Windows: configuring in $work (a first build takes about 45 minutes on 2 cores)"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" >"$cache/qt-configure.log"
  # Progress every 50 steps; the compiler's warnings go to a log of their own.
  nice cmake --build "$work" -j"$jobs" | tee "$cache/qt-build.log" | awk '/^\[/ && ++n % 50 == 0 {print "  " $1; fflush()}'
  cmake --install "$work" >/dev/null
  # Qt's own texts in Bulgarian, from the machine's translations.
  mkdir -p "$prefix/translations"
  cp /usr/share/qt6/translations/qtbase_bg.qm "$prefix/translations/"
  touch "$prefix/.built-$stamp"
  echo "Qt for Windows: $prefix"
}

# --- the program --------------------------------------------------------------------------------

build="${TERVIN_WIN_BUILD_DIR:-$here/build-windows}"
stage="$build/stage"
version=$(sed -n 's/^project(tervin VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
runtime_dlls() {
  local gcc
  gcc="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
  echo "$gcc/libstdc++-6.dll" "$gcc/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
}
# What the program loads of Qt: windeployqt does not exist for this target, so the list is ours.
qt_files=(bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6PrintSupport.dll
          plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll
          plugins/imageformats/qgif.dll plugins/imageformats/qico.dll plugins/imageformats/qjpeg.dll
          translations/qtbase_bg.qm)

cross_build() {
  local qt=$1 tests=$2
  export WINEPREFIX="$cache/wine"
  cmake -S "$here" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTERVIN_TESTS="$tests" -DTERVIN_BENCH=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$here/windows/wine-run.sh" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
  nice cmake --build "$build" -j"$jobs"
}

# The program's folder as the installer lays it out, and the lists of its files for NSIS.
lay_out_stage() {
  local qt=$1 f
  rm -rf "$stage"
  mkdir -p "$stage/files"
  cp "$build/tervin.exe" "$build/tervin-workbook.exe" $(runtime_dlls) "$stage/files/"
  for f in "${qt_files[@]}"; do
    local to="$stage/files/${f#bin/}"
    to="${to/plugins\//}"
    mkdir -p "$(dirname "$to")"
    cp "$qt/$f" "$to"
  done
  # Qt finds its plugins beside the program and its Bulgarian texts in translations/.
  printf '[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n' >"$stage/files/qt.conf"
  # The invoice form and the help file, from a demo shop laid out here.
  local demo
  demo=$(mktemp -d)
  QT_QPA_PLATFORM=offscreen "$here/build/tervin-workbook" demo "$demo/shop" >/dev/null
  cp "$demo/shop/Help.doc" "$stage/files/"
  mkdir -p "$stage/kept"
  cp "$demo/shop/Faktura.xls" "$stage/kept/"
  rm -rf "$demo"
  (
    cd "$stage/files"
    find . -type d ! -name . | sed 's|^\./||' | while read -r d; do
      echo "CreateDirectory \"\$INSTDIR\\${d//\//\\}\""
    done
    find . -type f | sed 's|^\./||' | while read -r f; do
      echo "File \"/oname=${f//\//\\}\" \"$stage/files/$f\""
    done
    # The shop's own invoice form is never written over.
    echo 'SetOverwrite off'
    echo "File \"$stage/kept/Faktura.xls\""
    echo 'SetOverwrite on'
  ) >"$stage/files.nsh"
  (
    cd "$stage/files"
    find . -type f | sed 's|^\./||' | while read -r f; do echo "Delete \"\$INSTDIR\\${f//\//\\}\""; done
    find . -depth -type d ! -name . | sed 's|^\./||' | while read -r d; do echo "RMDir \"\$INSTDIR\\${d//\//\\}\""; done
  ) >"$stage/unfiles.nsh"
}

make_installer() {
  local out="$build/tervin-setup-$version.exe"
  makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out" "$here/windows/tervin.nsi"
  echo "$out"
}

# Fonts for the tests. Offscreen, Qt for Windows reads fonts from its own lib/fonts alone, and Wine
# hands no QT_ variable to a Windows program, so QT_QPA_FONTDIR cannot name another folder. The
# same families as the Linux tests draw with: Liberation (Arial's measures) and DejaVu.
test_fonts() {
  local fonts="$1/lib/fonts"
  mkdir -p "$fonts"
  cp /usr/share/fonts/truetype/liberation2/Liberation*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf \
     /usr/share/fonts/truetype/dejavu/DejaVuSerif*.ttf "$fonts/"
}

# A Wine prefix of our own, made once: its first start takes minutes.
wine_prefix() {
  export WINEPREFIX="$cache/wine" WINEDEBUG=-all
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine: making the prefix $WINEPREFIX (once)"
    xvfb-run -a wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

main() {
  install_packages
  build_qt
  [ "${1:-}" = qt ] && return
  local qt tests=OFF
  qt=$(qt_prefix)
  export TERVIN_WIN_QT="$qt"
  [ "${1:-}" = test ] && tests=ON
  # The Linux build lays out the demo shop whose invoice form the installer carries.
  cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  nice cmake --build "$here/build" -j"$jobs" --target tervin-workbook
  wine_prefix
  cross_build "$qt" "$tests"
  lay_out_stage "$qt"
  make_installer
  [ "${1:-}" = test ] || return 0
  test_fonts "$qt"
  xvfb-run -a -s "-screen 0 1024x768x24" "$here/windows/test-under-wine.sh" "$build"
}

main "$@"
