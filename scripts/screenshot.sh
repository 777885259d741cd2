#!/usr/bin/env bash
# Makes screenshot.png beside the README: the main window on a demo shop, its first article
# chosen so that the showcase shows pictures. Runs the program under a virtual display.
set -euo pipefail

# Inside the virtual display: log in with one click, choose the first article, take the picture.
session() {
  local shop=$1 out=$2
  "$shop/tervin" &
  local pid=$!
  local login main geometry
  login=$(xdotool search --sync --onlyvisible --name 'Администратор')
  sleep 1
  # "Потвърди вход" stands at 16,124 (148 by 33) in the login window.
  xdotool mousemove --window "$login" 90 140 click 1
  main=$(xdotool search --sync --onlyvisible --name '^Тервин за детски стоки$')
  sleep 1
  # The area under the menu bar is 800 by 540; the article list starts at 8,88 in it.
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local menu=$((HEIGHT - 540))
  xdotool mousemove --window "$main" 60 $((menu + 98)) click 1
  sleep 2
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
if [ "${1:-}" = --session ]; then
  session "$2" "$3"
  exit
fi

here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_BUILD_DIR:-$here/build}"
out="$here/screenshot.png"

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tervin tervin-workbook

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shop="$work/shop"
QT_QPA_PLATFORM=offscreen "$build/tervin-workbook" demo "$shop"
cp "$build/tervin" "$shop/"

xvfb-run -a -s "-screen 0 1024x768x24" "$here/scripts/screenshot.sh" --session "$shop" "$out"
echo "$out"
