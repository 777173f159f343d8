#!/usr/bin/env bash
# zepa_spw.exe under Wine on an X server of its own, on a demo installation mapped to a drive
# letter of Wine's, so that the program's "\ZEPAWIN on the current drive" is the demo: the
# window "さやチャート" appears, Down changes the picture, the settings dialog, "詳細設定" and
# "建玉の追加" open and close (cancelled: nothing written), Ctrl+F opens ペア検索 and Alt+F4
# closes it, 検証データ表示 and 決済済み open their windows and Esc closes each, Esc ends the
# program with exit code 0, and SayaMode is in Wine's registry afterwards.
# Usage: smoke_test.sh ZEPA_SPW.EXE ZEPA_DEMO_DATA.EXE WINEPREFIX [SCREENSHOT_DIR]
# Exit 77 (skipped) when Wine, Xvfb or xdotool is missing.
set -u
spw=$1
demo_data=$2
export WINEPREFIX=$3
shots=${4:-}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

for tool in wine wineserver Xvfb xdotool compare import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "smoke: $tool not installed: skipped"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
wine_pid=
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  # The prefix's own processes (its desktop process among them) go before their X server does:
  # left behind, they would hold on to a display that no longer exists.
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$WINEPREFIX/dosdevices/s:"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "smoke: $*"; exit 1; }
# Nothing else runs in the prefix during this test (RUN_SERIAL): whatever is left of an earlier
# run, bound to an earlier display, is ended first.
wineserver -k 2>/dev/null

# An X server on a free display (well away from those people use), started first: the
# prefix's desktop process, started by the first Wine program that touches windows (regedit
# among them), binds to the display it finds then.
. "$(dirname "$0")/own_display.sh"

# Drive S: is the demo installation.
wine "$demo_data" "Z:${work//\//\\}\\demo" >/dev/null 2>&1 || fail "no demo installation"
[ -f "$work/demo/ZEPAWIN/ZEPA_SPW.DAT" ] || fail "no demo installation in $work/demo"
ln -sfn "$work/demo" "$WINEPREFIX/dosdevices/s:"

# Wine has no "ＭＳ ゴシック": the packaged IPA Gothic stands in for it, and for the fonts of
# menus and dialogs, whose own stand-ins have no Japanese characters.
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "ＭＳ ゴシック" "MS Gothic" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif"; do
    printf '"%s"="IPAGothic"\r\n' "$face"
  done
  printf '\r\n[-HKEY_CURRENT_USER\\Software\\VORNEK\\ZEPA_CHART]\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/setup.reg"
wine regedit /S "Z:${work//\//\\}\\setup.reg" || fail "regedit failed"

cd "$work/demo" || fail "no demo folder"
wine "$spw" >"$work/spw.log" 2>&1 &
wine_pid=$!

window=
for _ in $(seq 60); do
  window=$(xdotool search --name "さやチャート" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  for w in $(xdotool search --name . 2>/dev/null); do xdotool getwindowname "$w"; done | sort -u
  kill -0 "$wine_pid" 2>/dev/null || { wait "$wine_pid"; echo "smoke: the program ended with $?"; }
  cat "$work/spw.log"
  fail "no window titled さやチャート"
fi
sleep 2
focus() { xdotool windowactivate --sync "$1" >/dev/null 2>&1; xdotool windowfocus --sync "$1" >/dev/null 2>&1; }
shot() { import -window root "$1" 2>/dev/null; }
# The id of the window titled exactly $1 once it is there (empty after ten seconds).
await_window() {
  local id=
  for _ in $(seq 20); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && break
    sleep 0.5
  done
  echo "$id"
}
# True once no window is titled exactly $1 (false after ten seconds).
await_gone() {
  for _ in $(seq 20); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  return 1
}

focus "$window"
shot "$work/before.png"
xdotool key --window "$window" Down
sleep 2
shot "$work/after.png"
changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed:-0}" != 0 ] || fail "Down left the picture as it was"

# The settings dialog and "詳細設定" through the menu bar's mnemonics; Esc closes each.
menu_dialog() {
  local letter=$1 title=$2 shot_name=$3 dialog=
  focus "$window"
  xdotool key --window "$window" F10
  sleep 0.5
  # shellcheck disable=SC2086 # "f a": the menu, then its entry
  xdotool key --window "$window" $letter
  dialog=$(await_window "$title")
  [ -n "$dialog" ] || fail "the dialog $title did not open"
  [ -n "$shots" ] && { sleep 2; shot "$shots/$shot_name"; }
  focus "$dialog"
  xdotool key --window "$dialog" Escape
  await_gone "$title" || fail "the dialog $title did not close"
}
menu_dialog s "設定" windows-settings.png
menu_dialog d "詳細設定" windows-advanced-settings.png
menu_dialog "f a" "建玉の追加" windows-add-position.png

# The ペア検索 window: Ctrl+F opens it beside the chart; closing it leaves the program running.
focus "$window"
xdotool key --window "$window" ctrl+f
search=$(await_window ペア検索)
[ -n "$search" ] || fail "Ctrl+F did not open ペア検索"
if [ -n "$shots" ]; then
  # Enter: 検索, then the first pair in the chart.
  focus "$search"
  xdotool key --window "$search" Return
  sleep 30
  shot "$shots/windows-pair-search.png"
fi
# A key sent while Wine is still activating the window can be lost: Alt+F4 is tried again.
closed=
for _ in 1 2 3; do
  focus "$search"
  xdotool key --window "$search" alt+F4
  await_gone ペア検索 && { closed=1; break; }
done
[ -n "$closed" ] || fail "ペア検索 did not close"
kill -0 "$wine_pid" 2>/dev/null || fail "the program ended with ペア検索"

# 機能 → 検証データ表示: the trades of what the chart shows (none is a window too).
menu_dialog "k v" "検証" windows-backtest.png
menu_dialog "k z" "決済済み" windows-closed-trades.png

if [ -n "$shots" ]; then
  shot "$shots/windows-main.png"
  focus "$window"
  xdotool key --window "$window" F10
  sleep 0.5
  xdotool key --window "$window" k d
  sleep 2
  shot "$shots/windows-data-window.png"
  data=$(xdotool search --name "さやデータ" 2>/dev/null | head -1)
  [ -n "$data" ] && { focus "$data"; xdotool key --window "$data" Escape; sleep 1; }
fi

focus "$window"
xdotool key --window "$window" Escape
status=
for _ in $(seq 40); do
  if ! kill -0 "$wine_pid" 2>/dev/null; then
    wait "$wine_pid"
    status=$?
    break
  fi
  sleep 0.5
done
wine_pid=
[ -n "$status" ] || fail "Esc did not end the program"
[ "$status" = 0 ] || fail "exit code $status"

wine reg query 'HKCU\Software\VORNEK\ZEPA_CHART\CHART' /v SayaMode 2>/dev/null | grep -q SayaMode ||
  fail "no SayaMode in Wine's registry"
echo "smoke: passed"
