#!/usr/bin/env bash
# Installs a build tree into a scratch root the way the Debian package is
# staged (prefix /usr under DESTDIR), then checks
#  - that exactly the expected files are installed, with the expected modes
#    (nothing of the tests, tools or static libraries leaks in);
#  - that the launchers start the programs where they must: the desktop
#    application in share/toravel, with its arguments intact, also when
#    started through a symbolic link, refusing with a message when a data
#    file is missing; the command-line program with --db added unless the
#    caller gave one, and so the PDF program;
#  - that the installed menu entry names the installed paths and validates;
#  - that the installed toravel-cli computes a horoscope from the installed
#    data, run from a directory without db/, and toravel-pdf writes it as a
#    PDF file.
# Usage: install_tree_test.sh BUILD_DIR SCRATCH_DIR HAVE_APP HAVE_CLI HAVE_DATA HAVE_PDF
set -euo pipefail

build=$1
scratch=$2
have_app=$3
have_cli=$4
have_data=$5
have_pdf=${6:-0}

faults=0
fault() {
  echo "FAIL: $*" >&2
  faults=$((faults + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch/root"
root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$scratch/install.log"

# What an install holds, depending on what the build has made.
expected=(usr/share/doc/toravel/copyright)
if [ "$have_cli" = 1 ]; then
  expected+=(usr/bin/toravel-cli usr/libexec/toravel/toravel-cli)
fi
if [ "$have_data" = 1 ]; then
  expected+=(usr/share/toravel/db/atlas.ini usr/share/toravel/db/bd.mdb)
fi
if [ "$have_pdf" = 1 ]; then
  expected+=(usr/bin/toravel-pdf usr/libexec/toravel/toravel-pdf)
fi
if [ "$have_app" = 1 ]; then
  expected+=(usr/bin/toravel usr/libexec/toravel/toravel
    usr/share/applications/ru.toravel.Toravel.desktop
    usr/share/metainfo/ru.toravel.Toravel.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/ru.toravel.Toravel.svg)
  if command -v rsvg-convert >/dev/null; then
    for size in 48 128 256; do
      expected+=("usr/share/icons/hicolor/${size}x${size}/apps/ru.toravel.Toravel.png")
    done
  fi
fi
actual=$(cd "$root" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
  fault "installed files differ from the expected ones (< expected, > installed):"
  diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi

# Programs and launchers executable by everyone, data only readable.
for f in usr/bin/toravel usr/bin/toravel-cli usr/bin/toravel-pdf usr/libexec/toravel/toravel \
  usr/libexec/toravel/toravel-cli usr/libexec/toravel/toravel-pdf; do
  if [ -e "$root/$f" ] && [ "$(stat -c %a "$root/$f")" != 755 ]; then
    fault "$f has mode $(stat -c %a "$root/$f"), not 755"
  fi
done
for f in usr/share/toravel/db/atlas.ini usr/share/toravel/db/bd.mdb; do
  if [ -e "$root/$f" ] && [ "$(stat -c %a "$root/$f")" != 644 ]; then
    fault "$f has mode $(stat -c %a "$root/$f"), not 644"
  fi
done

# The launchers over stand-in programs that print where they run and what
# they were given, one argument a line in brackets.
stub=$scratch/stub/usr
mkdir -p "$stub/bin" "$stub/libexec/toravel" "$stub/share/toravel/db" "$scratch/elsewhere"
touch "$stub/share/toravel/db/atlas.ini" "$stub/share/toravel/db/bd.mdb"
for program in toravel toravel-cli toravel-pdf; do
  [ -e "$root/usr/bin/$program" ] || continue
  cp "$root/usr/bin/$program" "$stub/bin/"
  # shellcheck disable=SC2016 # the stand-in expands its own arguments
  printf '#!/bin/sh\npwd\nfor a in "$@"; do echo "[$a]"; done\n' >"$stub/libexec/toravel/$program"
  chmod 755 "$stub/libexec/toravel/$program"
done

# expect_output NAME EXPECTED COMMAND...: runs the command in the scratch
# directory "elsewhere" and compares its standard output.
expect_output() {
  local name=$1 want=$2 got
  shift 2
  if ! got=$(cd "$scratch/elsewhere" && "$@" 2>&1); then
    fault "$name: $* failed: $got"
  elif [ "$got" != "$want" ]; then
    fault "$name: $* printed"$'\n'"$got"$'\n'"instead of"$'\n'"$want"
  fi
}

if [ "$have_app" = 1 ]; then
  data=$(cd "$stub/share/toravel" && pwd -P)
  expect_output "app launcher runs in the data directory" \
    "$data"$'\n'"[two words]"$'\n'"[]"$'\n'"[-x]" \
    "$stub/bin/toravel" "two words" "" -x
  ln -s "$stub/bin/toravel" "$scratch/elsewhere/toravel-link"
  expect_output "app launcher through a symbolic link" "$data" "$scratch/elsewhere/toravel-link"

  rm "$stub/share/toravel/db/bd.mdb"
  if out=$("$stub/bin/toravel" 2>&1); then
    fault "app launcher succeeded without db/bd.mdb: $out"
  elif [[ $out != *"db/bd.mdb"* ]] || [[ $out == *"[$data]"* ]]; then
    fault "app launcher without db/bd.mdb should name the file and not start the program: $out"
  fi
  touch "$stub/share/toravel/db/bd.mdb"

  entry=$root/usr/share/applications/ru.toravel.Toravel.desktop
  grep -qx 'Exec=/usr/bin/toravel' "$entry" || fault "menu entry does not run /usr/bin/toravel: $(grep ^Exec= "$entry")"
  grep -qx 'Path=/usr/share/toravel' "$entry" || fault "menu entry does not start in /usr/share/toravel: $(grep ^Path= "$entry")"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fault "installed menu entry does not validate"
  fi
fi

if [ "$have_cli" = 1 ]; then
  here=$(cd "$scratch/elsewhere" && pwd -P)
  db=$(cd "$stub/share/toravel/db" && pwd -P)
  expect_output "cli launcher adds --db" \
    "$here"$'\n'"[--db]"$'\n'"[$db]"$'\n'"[--date]"$'\n'"[1.1.2000]" \
    "$stub/bin/toravel-cli" --date 1.1.2000
  expect_output "cli launcher keeps the caller's --db" \
    "$here"$'\n'"[--db]"$'\n'"[/mine]" "$stub/bin/toravel-cli" --db /mine
  expect_output "cli launcher keeps the caller's --db=" \
    "$here"$'\n'"[--db=/mine]" "$stub/bin/toravel-cli" --db=/mine
  expect_output "cli launcher: --db after -- is no option" \
    "$here"$'\n'"[--db]"$'\n'"[$db]"$'\n'"[--]"$'\n'"[--db]" "$stub/bin/toravel-cli" -- --db

  if [ "$have_data" = 1 ]; then
    if ! report=$(cd "$scratch/elsewhere" && "$root/usr/bin/toravel-cli" \
      --date 15.06.1990 --time 12:00 --lat 55,75 --lon 37,62 --zone 3 2>&1); then
      fault "installed toravel-cli failed on the installed data: $report"
    elif [ "$(printf '%s\n' "$report" | grep -c .)" -lt 4 ]; then
      fault "installed toravel-cli printed no four-line report: $report"
    fi
  fi
fi

if [ "$have_pdf" = 1 ]; then
  here=$(cd "$scratch/elsewhere" && pwd -P)
  db=$(cd "$stub/share/toravel/db" && pwd -P)
  expect_output "pdf launcher adds --db" \
    "$here"$'\n'"[--db]"$'\n'"[$db]"$'\n'"[--output]"$'\n'"[a.pdf]" \
    "$stub/bin/toravel-pdf" --output a.pdf
  expect_output "pdf launcher keeps the caller's --db" \
    "$here"$'\n'"[--db=/mine]" "$stub/bin/toravel-pdf" --db=/mine

  if [ "$have_data" = 1 ]; then
    pdf=$scratch/elsewhere/report.pdf
    if ! out=$(cd "$scratch/elsewhere" && QT_QPA_PLATFORM=offscreen "$root/usr/bin/toravel-pdf" \
      --date 15.06.1990 --time 12:00 --lat 55,75 --lon 37,62 --zone 3 --output report.pdf 2>&1); then
      fault "installed toravel-pdf failed on the installed data: $out"
    elif [ "$(head -c 5 "$pdf" 2>/dev/null)" != "%PDF-" ]; then
      fault "installed toravel-pdf wrote no PDF file: $out"
    fi
  fi
fi

if [ "$faults" -gt 0 ]; then
  echo "$faults fault(s); the scratch install is in $scratch" >&2
  exit 1
fi
echo "installed tree as expected: ${#expected[@]} files"
