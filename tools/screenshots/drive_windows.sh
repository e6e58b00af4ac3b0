#!/usr/bin/env bash
# Drives Торавель inside the virtual X server of make_screenshots.sh: picks a
# city, enters a birth moment, presses "расчет" and captures the main window,
# its report area's context menu, then the picture window with the meaning
# of the period and with the amulet.
# Environment (from make_screenshots.sh): PROGRAM, DATA (the directory that
# holds db/), OUT, TITLE, IMPORT, CITY_LINE (the line of the city in
# db/atlas.ini, from 1).
set -euo pipefail
cd "$DATA"
"$PROGRAM" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# wait_window TITLE: the id of the visible window of that title (Qt adds
# " — " and the application name to the title the window manager sees).
wait_window() {
  local id
  for ((i = 0; i < 100; i++)); do
    id=$(LC_ALL=C.UTF-8 xdotool search --onlyvisible --name "^$1( — .*)?\$" 2>/dev/null | head -n 1) || true
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}
# click WINDOW X Y: a left click at the window coordinates X, Y.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}
# type_text TEXT: types into the focused control.
type_text() {
  xdotool type --delay 60 "$1"
  sleep 0.3
}

main=$(wait_window "$TITLE")
sleep 1
xdotool mousemove --window "$main" 500 400
xdotool windowfocus --sync "$main"

# The keyboard focus starts on "расчет"; Tab walks the tab order and
# selects the first section of each picker, so digits fill it section by
# section: the birth date, the exit button, the birth time, the lunar day
# (left empty), the offset from Greenwich, the city list.
xdotool key Tab
type_text 15061990
xdotool key Tab Tab
type_text 1230
xdotool key Tab Tab ctrl+a
type_text 3
# In the city list: Home takes the first line, each Down the next one, up to
# the line of the city (the search by typed letters depends on typing speed);
# every step fills the latitude and longitude.
xdotool key Tab Home
if [ "$CITY_LINE" -gt 1 ]; then
  xdotool key --delay 5 --repeat $((CITY_LINE - 1)) Down
fi
sleep 0.5
click "$main" 80 40
sleep 1.5
xdotool mousemove 1590 1290
sleep 0.5
"$IMPORT" -window "$main" "$OUT/main-window.png"

# The report area's context menu: printing and saving to PDF. The menu is a
# window of its own, so the screen is captured around the main window.
xdotool mousemove --window "$main" 300 300 click 3
sleep 1
geometry=$(xdotool getwindowgeometry --shell "$main")
eval "$geometry"
"$IMPORT" -window root -crop "560x300+$((X + 200))+$((Y + 200))" "$OUT/report-menu.png"
xdotool key Escape
sleep 0.5

# The picture of the period's meaning, then Esc hides the picture window.
click "$main" 751 32
picture=$(wait_window "Значение периода")
sleep 1
"$IMPORT" -window "$picture" "$OUT/picture-window.png"
xdotool mousemove --window "$picture" 300 300
xdotool windowfocus --sync "$picture"
xdotool key Escape
sleep 0.5

# The amulet, on an A5 page in the same window.
click "$main" 752 184
amulet=$(wait_window "Оберег")
sleep 1
"$IMPORT" -window "$amulet" "$OUT/amulet-window.png"
