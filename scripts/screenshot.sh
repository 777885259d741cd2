#!/usr/bin/env bash
# Makes the pictures beside the README from a demo shop, running the program under a virtual
# display:
#   scripts/screenshot.sh           screenshot.png: the main window, its first article chosen so that
#                                   the showcase shows pictures
#   scripts/screenshot.sh invoice   invoice.png: the workbook window of Faktura.xls after four goods
#                                   were sold with an invoice
set -euo pipefail

# The id of the first visible window whose caption matches the pattern, waiting up to 20 s for it.
# (xdotool's own --name search misses Qt's captions when the program runs under another locale.)
find_window() {
  local pattern=$1 id
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      if [[ "$(xdotool getwindowname "$id")" =~ $pattern ]]; then
        echo "$id"
        return
      fi
    done
    sleep 0.2
  done
  echo "no window '$pattern'" >&2
  return 1
}

# The program on the shop, logged in with one click; prints the main window's id.
start_and_log_in() {
  local shop=$1
  # Numbers as a Bulgarian shop keeper's machine shows them.
  LANG=bg_BG.UTF-8 "$shop/tervin" >/dev/null 2>&1 &
  echo $! >"$shop/tervin.pid"
  local login
  login=$(find_window 'Администратор')
  sleep 1
  # "Потвърди вход" stands at 16,124 (148 by 33) in the login window.
  xdotool mousemove --window "$login" 90 140 click 1 >/dev/null
  find_window '^Тервин за детски стоки$'
  sleep 1
}

stop() {
  local shop=$1 pid
  pid=$(cat "$shop/tervin.pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.4
}

# Positions in the main window below its menu bar (the area is 800 by 540): the article list
# starts at 8,88; the goods list at 16,316 with rows 14 high; the quantity box at 204,316; the
# basket button at 220,348; "да" at 80,287; "Продажба" at 16,488.
main_window() {
  local shop=$1 out=$2 main
  main=$(start_and_log_in "$shop")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local menu=$((HEIGHT - 540))
  click "$main" 60 $((menu + 98))
  sleep 2
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
  stop "$shop"
}

invoice() {
  local shop=$1 out=$2 main
  main=$(start_and_log_in "$shop")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local menu=$((HEIGHT - 540))
  click "$main" 60 $((menu + 98))           # the first article, "Играчки"
  click "$main" 88 $((menu + 297))          # invoice: "да"
  # Goods row and quantity: the quantity is typed into the closed quantity box.
  local row count
  while read -r row count; do
    click "$main" 60 $((menu + 323 + 14 * row))
    click "$main" 238 $((menu + 327))
    xdotool key Escape type "$count"
    sleep 0.3
    click "$main" 238 $((menu + 366))
  done <<'LINES'
0 2
1 1
3 3
4 4
LINES
  click "$main" 76 $((menu + 504))          # "Продажба"
  local dialog
  dialog=$(find_window '^Данни за Фактура$')
  sleep 1
  fill() {
    click "$dialog" "$1" "$2"
    xdotool type --delay 20 "$3"
  }
  fill 150 80 "121212121"
  fill 410 80 "BG121212121"
  fill 280 106 "Детска радост ООД"
  fill 280 130 "София, ул. Шипка 12"
  click "$dialog" 24 188                    # "в брой"
  fill 400 188 "$(date +'%-d. %m. %Y')"
  fill 400 214 "София"
  click "$dialog" 312 395                   # "Покажи фактурата"
  local form
  form=$(find_window '^Faktura.xls$')
  sleep 2
  import -window "$form" "$out"
  stop "$shop"
}

if [ "${1:-}" = --session ]; then
  "$2" "$3" "$4"
  exit
fi

here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_BUILD_DIR:-$here/build}"
case "${1:-main}" in
  main) kind=main_window out="$here/screenshot.png" ;;
  invoice) kind=invoice out="$here/invoice.png" ;;
  *) echo "usage: $0 [invoice]" >&2; exit 2 ;;
esac

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tervin tervin-workbook

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shop="$work/shop"
QT_QPA_PLATFORM=offscreen "$build/tervin-workbook" demo "$shop"
cp "$build/tervin" "$shop/"

xvfb-run -a -s "-screen 0 1024x768x24" "$here/scripts/screenshot.sh" --session "$kind" "$shop" "$out"
echo "$out"
