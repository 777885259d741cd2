#!/usr/bin/env bash
# Makes the pictures beside the README from a demo shop, running the program under a virtual
# display:
#   scripts/screenshot.sh           screenshot.png: the main window, its first article chosen so that
#                                   the showcase shows pictures
#   scripts/screenshot.sh invoice   invoice.png: the workbook window of Faktura.xls after four goods
#                                   were sold with an invoice
#   scripts/screenshot.sh large     screenshot-1280.png: the main window left at 1280 × 900, driven
#                                   by the keyboard alone: an article, two goods in the basket
#   scripts/screenshot.sh full      screenshot-1920.png: the same, the window maximised on a
#                                   1920 × 1080 screen
#   scripts/screenshot.sh report    screenshot-report.png: "Справка за продадени стоки" over the demo
#                                   shop's months of trade, its lists beside its charts
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

# The program on the shop, logged in with Enter; prints the main window's id.
start_and_log_in() {
  local shop=$1
  # Numbers as a Bulgarian shop keeper's machine shows them.
  LANG=bg_BG.UTF-8 "$shop/tervin" >/dev/null 2>&1 &
  echo $! >"$shop/tervin.pid"
  find_window 'Администратор' >/dev/null
  sleep 1
  xdotool key Return
  find_window '^Тервин за детски стоки$'
  sleep 1
}

stop() {
  local shop=$1 pid
  pid=$(cat "$shop/tervin.pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

keys() {
  xdotool key --delay 150 "$@"
  sleep 0.5
}

click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.4
}

# The shop keeper's keys, no mouse: from "Начало", where the focus is after the login, seven Tab
# stops lead to the article list; End and Home choose its first article.
first_article() {
  keys Tab Tab Tab Tab Tab Tab Tab End Home
  sleep 1
}

# From the article list: eight Tab stops to the goods list, goods `row`, two more to the count,
# typed, and Ctrl+Enter puts it into the basket; Shift+Tab twice goes back to the goods list.
first_goods() {
  keys Tab Tab Tab Tab Tab Tab Tab Tab
}
add_goods() {
  local row=$1 count=$2 i
  keys Home
  for ((i = 0; i < row; i++)); do keys Down; done
  keys Tab Tab "$count" ctrl+Return shift+Tab shift+Tab
}

main_window() {
  local shop=$1 out=$2 main
  main=$(start_and_log_in "$shop")
  first_article
  import -window "$main" "$out"
  stop "$shop"
}

# Four goods sold with an invoice: six Tab stops from the article list reach "да", Space picks it,
# two more reach the goods list.
invoice() {
  local shop=$1 out=$2
  start_and_log_in "$shop" >/dev/null
  first_article
  keys Tab Tab Tab Tab Tab Tab space Tab Tab
  local row count
  while read -r row count; do add_goods "$row" "$count"; done <<'LINES'
0 2
1 1
3 3
4 4
LINES
  keys F9                                    # "Продажба"
  local dialog
  dialog=$(find_window '^Данни за Фактура$')
  sleep 1
  # The recipient's fields one Tab after the other from the first, typed.
  click "$dialog" 150 80
  local text
  for text in "121212121" "BG121212121" "Детска радост ООД" "София, ул. Шипка 12"; do
    xdotool type --delay 30 "$text"
    sleep 0.3
    keys Tab
  done
  keys space                                 # "в брой"
  keys Return                                # "Покажи фактурата"
  local form
  form=$(find_window '^Faktura.xls$')
  sleep 2
  import -window "$form" "$out"
  stop "$shop"
}

# The window at the size the shop keeper left it, two goods in the basket.
by_keyboard() {
  local shop=$1 out=$2
  start_and_log_in "$shop" >/dev/null
  first_article
  first_goods
  add_goods 0 2
  add_goods 1 1
  sleep 1
  import -window root "$out"
  stop "$shop"
}

# "Справка" → "продадени стоки" through the menu bar (F10 opens the first menu on its first entry,
# the fifth menu is "Справка"), the from-date
# typed into its calendar field and Enter, which reports on the two dates.
sold_report() {
  local shop=$1 out=$2 report
  start_and_log_in "$shop" >/dev/null
  keys F10 Right Right Right Right Return
  report=$(find_window '^Справка за продадени стоки$')
  sleep 1
  click "$report" 480 47
  keys ctrl+a
  xdotool type --delay 30 "$(date -d '-130 days' +%d.%m.%Y)"
  keys Return
  sleep 1
  import -window "$report" "$out"
  stop "$shop"
}

if [ "${1:-}" = --session ]; then
  # A window manager, for title bars and a maximised window.
  openbox >/dev/null 2>&1 &
  sleep 1
  "$2" "$3" "$4"
  exit
fi

here=$(cd "$(dirname "$0")/.." && pwd)
build="${TERVIN_BUILD_DIR:-$here/build}"
screen=1024x768
settings=""
case "${1:-main}" in
  main) kind=main_window out="$here/screenshot.png" ;;
  invoice) kind=invoice out="$here/invoice.png" ;;
  large) kind=by_keyboard out="$here/screenshot-1280.png" screen=1280x900 settings='size=@Size(1280 870)' ;;
  full) kind=by_keyboard out="$here/screenshot-1920.png" screen=1920x1080 settings='maximised=true' ;;
  report) kind=sold_report out="$here/screenshot-report.png" screen=1280x900 ;;
  *) echo "usage: $0 [invoice|large|full|report]" >&2; exit 2 ;;
esac

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tervin tervin-workbook

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shop="$work/shop"
QT_QPA_PLATFORM=offscreen "$build/tervin-workbook" demo "$shop"
cp "$build/tervin" "$shop/"
[ -z "$settings" ] || printf '[Form1]\n%s\n' "$settings" >"$shop/Nastroiki.ini"

xvfb-run -a -s "-screen 0 ${screen}x24" "$here/scripts/screenshot.sh" --session "$kind" "$shop" "$out"
echo "$out"
