#!/usr/bin/env bash
# The Windows build tested under Wine: the test binaries through ctest (Wine as CMake's emulator),
# then the installer silently in and out of a folder of its own, keeping the shop's data, and a
# smoke run of the installed tervin.exe on a virtual display, logged in, with a screenshot.
#   xvfb-run -a -s "-screen 0 1024x768x24" windows/test-under-wine.sh BUILD
# (scripts/windows.sh test calls it so: Wine's programs, tests included, draw on that display).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$1
export WINEDEBUG=-all
: "${WINEPREFIX:?}" "${TERVIN_WIN_QT:?}"

echo "== the test binaries under Wine"
tests=0
if [ -z "${TERVIN_WIN_SKIP_CTEST:-}" ]; then
  # Wine's server and its own services started apart, their output away from the tests': else
  # the first test starts them, and ctest waits for that test until they end, after the last one.
  wineserver -p >/dev/null 2>&1 || true   # one may run already
  wine wineboot >/dev/null 2>&1
  (cd "$build" && ctest -j2 --timeout 600 --output-on-failure) >"$build/wine-ctest.log" || tests=$?
  tail -n 80 "$build/wine-ctest.log" | sed -n '/tests passed/,$p'
  wineserver -k || true
fi

echo "== the installer, silently in and out"
setup=$(ls "$build"/tervin-setup-*.exe)
target="$WINEPREFIX/drive_c/users/Public/Tervin-test"
rm -rf "$target"
# /D= comes last, as NSIS reads it.
wine "$setup" /S /D="$(winepath -w "$target")"
wineserver -w
for f in tervin.exe tervin-workbook.exe Qt6Core.dll platforms/qwindows.dll Danni.xls Faktura.xls uninstall.exe; do
  [ -e "$target/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
echo "installed into $target"

echo "== tervin.exe under Wine on a virtual display"
source <(sed -n '/^find_window()/,/^}/p' "$here/scripts/screenshot.sh")
(cd "$target" && wine tervin.exe >/dev/null 2>&1 &)
find_window 'Администратор' >/dev/null
sleep 2
xdotool key Return
find_window '^Тервин за детски стоки$' >/dev/null
sleep 3
import -window root "$here/screenshot-wine.png"
wineserver -k || true
echo "$here/screenshot-wine.png"

echo "== uninstalled, the shop's data kept"
wine "$target/uninstall.exe" /S "_?=$(winepath -w "$target")"
wineserver -w
[ ! -e "$target/tervin.exe" ] || { echo "tervin.exe is still there" >&2; exit 1; }
for f in Danni.xls Faktura.xls; do
  [ -e "$target/$f" ] || { echo "the uninstaller took $f" >&2; exit 1; }
done
echo "uninstalled; Danni.xls and Faktura.xls are still there"
exit "$tests"
