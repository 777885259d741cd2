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
# Now and then, on a busy machine, Wine fails to start a program at all ("ShellExecuteEx failed"):
# such a start is tried once more. The program's own failures are never run again.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
for attempt in 1 2; do
  status=0
  wine "$@" 2>"$err" || status=$?
  if [ "$status" -ne 0 ] && [ "$attempt" = 1 ] && grep -q 'ShellExecuteEx failed' "$err"; then continue; fi
  cat "$err" >&2
  exit "$status"
done
