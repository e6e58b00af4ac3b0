#!/usr/bin/env bash
# Drives Торавель inside the virtual X server of make_screenshots.sh: picks a
# city, enters a birth moment, puts the hint's offset into the spin box with
# "подставить", presses "расчет" and captures the main window, its report
# area's context menu, then the picture window with the meaning of the
# period and with the amulet; then the birthplace search with its popup
# open, and the hint for coordinates typed by hand.
# Environment (from make_screenshots.sh): PROGRAM, DATA (the directory that
# holds db/), OUT, TITLE, IMPORT, CITY_LINE (the line of the city in
# db/atlas.ini, from 1).
set -euo pipefail
cd "$DATA"
"$PROGRAM" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# wait_window TITLE: the id of the visible window of that title.
wait_window() {
  local id
  for ((i = 0; i < 100; i++)); do
    id=$(LC_ALL=C.UTF-8 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
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
# type_letters TEXT: the same a letter at a time, for letters outside the
# server's keymap (Cyrillic): xdotool maps each to a spare key first, and a
# quick succession of them can reach the program as the wrong letter.
type_letters() {
  local text=$1 i
  for ((i = 0; i < ${#text}; i++)); do
    xdotool type "${text:i:1}"
    sleep 0.25
  done
  sleep 0.3
}

main=$(wait_window "$TITLE")
sleep 1
xdotool mousemove --window "$main" 500 400
xdotool windowfocus --sync "$main"

# The keyboard focus starts on "расчет"; Tab walks the tab order and
# selects the first section of each picker, so digits fill it section by
# section: the birth date, the exit button, the birth time, the lunar day
# (left empty), the offset from Greenwich (left for the hint), the city list.
xdotool key Tab
type_text 15061990
xdotool key Tab Tab
type_text 1230
xdotool key Tab Tab
# In the city list: Home takes the first line, each Down the next one, up to
# the line of the city (the search by typed letters depends on typing speed);
# every step fills the latitude and longitude.
xdotool key Tab Home
if [ "$CITY_LINE" -gt 1 ]; then
  xdotool key --delay 5 --repeat $((CITY_LINE - 1)) Down
fi
sleep 0.5
# "подставить": the offset the hint asks for into the spin box.
click "$main" 640 174
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
# Esc hides the picture window, uncovering the main window.
xdotool mousemove --window "$amulet" 300 300
xdotool windowfocus --sync "$amulet"
xdotool key Escape
sleep 0.5

# The birthplace search: a few letters and the popup lists the places. The
# popup is a window of its own, so the screen is captured around it.
xdotool windowfocus --sync "$main"
click "$main" 553 131
type_letters "Кинеш"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
"$IMPORT" -window root -crop "720x330+$((X + 180))+$((Y + 0))" "$OUT/search-popup.png"
xdotool key Escape ctrl+a BackSpace
sleep 0.3

# Coordinates typed by hand (Novosibirsk's, not in the search field): the
# hint names the nearest place of the atlas and its distance.
click "$main" 558 70
xdotool key ctrl+a
type_text "55,03"
click "$main" 558 94
xdotool key ctrl+a
type_text "82,92"
sleep 1
xdotool mousemove 1590 1290
sleep 0.5
"$IMPORT" -window "$main" -crop "700x220+0+0" "$OUT/typed-coordinates-hint.png"
