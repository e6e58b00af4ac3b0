#!/usr/bin/env bash
# Screenshots of Торавель for the documentation: starts the application from
# a build tree under a virtual X server, picks a city, enters a birth moment,
# takes the offset the hint asks for, presses "расчет" and captures the main
# window with its report; then opens the picture of the period's meaning and
# the amulet and captures the picture window each time; last the birthplace
# search with its popup open and the hint for typed coordinates. Writes PNG
# files into docs/screenshots/.
#
# Usage: tools/screenshots/make_screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
#        (defaults: build, docs/screenshots)
# Needs the Debian packages xvfb, xauth, xdotool and imagemagick.
#
# There is no window manager under the virtual server: windows have no frame
# and the captures show their client areas. Clicks go to the middle of a
# control, in the main window's own coordinates.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repository=$(cd "$here/../.." && pwd)
build=${1:-$repository/build}
out=${2:-$repository/docs/screenshots}
title="Составление Славянского гороскопа в Мире Прави"
city="Москва"

die() {
  echo "make_screenshots: $*" >&2
  exit 1
}

# ImageMagick's own programs, not a look-alike of the same name earlier in
# PATH.
import=/usr/bin/import
convert=/usr/bin/convert
for tool in "$import" "$convert"; do
  if ! { [ -x "$tool" ] && "$tool" -version 2>/dev/null | grep -q '^Version: ImageMagick'; }; then
    die "$tool is not ImageMagick (Debian package imagemagick)"
  fi
done
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || die "$tool is missing (Debian packages xvfb, xauth, xdotool)"
done

program=$(find "$build" -maxdepth 3 -type f -name toravel -perm -u+x | head -n 1)
[ -n "$program" ] || die "no toravel program in $build; build it first (cmake --build --preset default)"
if [ ! -f "$build/db/atlas.ini" ] || [ ! -f "$build/db/bd.mdb" ]; then
  die "no db/ in $build"
fi
mkdir -p "$out"

PROGRAM=$(readlink -f "$program")
DATA=$(readlink -f "$build")
OUT=$(readlink -f "$out")
export PROGRAM DATA OUT
# The birthplace's line in the city list, which is in Windows-1251.
CITY_LINE=$(iconv -f CP1251 -t UTF-8 "$build/db/atlas.ini" | grep -n -m 1 "^$city;" | cut -d: -f1) ||
  die "no line for $city in $build/db/atlas.ini"
export CITY_LINE
export TITLE="$title" IMPORT="$import" CONVERT="$convert"
# The Russian regional settings the program expects, and a fixed zone so
# the computer's offset shown is the same on every machine.
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 TZ=Europe/Moscow

xvfb-run --auto-servernum --server-args="-screen 0 1600x1300x24 -dpi 96" \
  bash "$here/drive_windows.sh"

for f in main-window report-menu picture-window amulet-window search-popup typed-coordinates-hint; do
  [ -s "$out/$f.png" ] || die "$out/$f.png was not written"
  # Drop the capture time and tool version from the files, so that a new run
  # of an unchanged window leaves the committed file as it is.
  "$convert" "$out/$f.png" -strip "$out/$f.png"
  echo "$out/$f.png: $("$convert" "$out/$f.png" -format '%w x %h' info:)"
done
