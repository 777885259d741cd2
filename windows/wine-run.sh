#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, with Qt's and MinGW's DLLs and Qt's plugins
# found: CMake's cross-compiling emulator for the tests, and the smoke run of tervin.exe.
# TERVIN_WIN_QT names Qt for Windows; WINEPREFIX is made once by scripts/windows.sh.
set -euo pipefail
qt="${TERVIN_WIN_QT:?TERVIN_WIN_QT must name Qt for Windows}"
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
export WINEDEBUG=-all
export WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$runtime");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")"
exec wine "$@"
