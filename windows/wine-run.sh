#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, with Qt's and MinGW's DLLs found: CMake's
# cross-compiling emulator for the tests. TERVIN_WIN_QT names Qt for Windows; WINEPREFIX is made
# once by scripts/windows.sh. Wine hands no QT_ variable to a Windows program: Qt finds its plugins
# under its own prefix (reached through drive Z:), and the test mains choose offscreen themselves.
set -euo pipefail
qt="${TERVIN_WIN_QT:?TERVIN_WIN_QT must name Qt for Windows}"
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
export WINEDEBUG=-all
export WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$runtime");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
exec wine "$@"
