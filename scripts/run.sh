#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. When the build folder holds no
# shop yet, a demo shop is laid out there first; an existing Danni.xls is never touched.
# Without a display the program cannot show its windows: set TERVIN_XVFB=1 to run it on a
# virtual display (xvfb-run) instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_BUILD_DIR:-$here/build}"

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target tervin tervin-workbook

if [ ! -e "$build/Danni.xls" ]; then
  echo "Подреждам демонстрационен магазин в $build ..."
  "$build/tervin-workbook" demo "$build"
fi

if [ ! -x "$build/tervin" ]; then
  echo "Програмата $build/tervin не е построена." >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if [ "${TERVIN_XVFB:-0}" = "1" ]; then
    echo "Няма екран: стартирам програмата във виртуален екран (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x900x24" "$build/tervin"
  fi
  echo "Няма графичен екран (DISPLAY не е зададен), затова програмата не може да покаже прозорците си." >&2
  echo "Стартирайте скрипта в графична среда или с TERVIN_XVFB=1 за виртуален екран." >&2
  exit 1
fi

exec "$build/tervin"
