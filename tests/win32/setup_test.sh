#!/usr/bin/env bash
# zepa-spw-setup.exe under Wine, in a fresh prefix, as an administrator and as a user would run
# it silently:
#   an earlier version installs for every user with the demo on drive Y: and a desktop shortcut:
#   the files, the shortcuts and the "アプリと機能" entry are where they belong, and the viewer
#   started through its Start-menu shortcut finds Y:\ZEPAWIN and draws;
#   this version installs over it and keeps the edited position file and the settings;
#   its silent uninstall removes the programs, the shortcuts and the entry, and leaves
#   Y:\ZEPAWIN and the settings byte for byte;
#   a per-user install (its own folder, C:\ZEPAWIN made with the empty position file), then its
#   uninstall with /REMOVEDATA, which removes C:\ZEPAWIN and the settings too; an install into a
#   folder of the user's choosing (/D=).
# Usage: setup_test.sh SETUP.EXE MAKE_SETUP.SH VERSION PRISTINE_PREFIX [SCREENSHOT_DIR]
# MAKE_SETUP.SH builds the earlier version; PRISTINE_PREFIX is a prefix made once (by this test)
# and copied for each run. Exit 77 (skipped) when Wine, Xvfb or xdotool is missing.
set -u
setup=$1
make_setup=$2
version=$3
pristine=$4
shots=${5:-}
build=$(cd "$(dirname "$setup")" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine reads the command line's Japanese paths in the locale's character set.
export LC_ALL=C.UTF-8

for tool in wine wineserver Xvfb xdotool compare import makensis iconv sha256sum strings; do
  command -v "$tool" >/dev/null 2>&1 || { echo "setup: $tool not installed: skipped"; exit 77; }
done

[ -f "$setup" ] || { echo "setup: no $setup: build the target zepa_windows_setup (make windows-test does)"; exit 1; }

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "setup: $*"; exit 1; }
step() { echo "setup: $*"; }

# The prefix as wineboot leaves it, made once; each run installs into a copy of its own.
if [ ! -f "$pristine/system.reg" ]; then
  step "making the pristine prefix $pristine"
  rm -rf "$pristine.new"
  WINEPREFIX=$pristine.new wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
  WINEPREFIX=$pristine.new wineserver -w
  mv "$pristine.new" "$pristine"
fi
cp -a "$pristine" "$WINEPREFIX" || fail "cannot copy the pristine prefix"

step "building the earlier version 0.9.0"
sh "$make_setup" 0.9.0 "$work/old-setup.exe" "-XSetCompressor /FINAL zlib" >"$work/makensis.log" 2>&1 ||
  { cat "$work/makensis.log"; fail "the earlier version did not build"; }

# An X server of its own for the viewer (the prefix's desktop binds to the first display seen).
. "$(dirname "$0")/own_display.sh"

c=$WINEPREFIX/drive_c
program_dir="$c/Program Files/さやチャート"
menu_dir="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/さやチャート"
desktop_link="$c/users/Public/Desktop/さやチャート.lnk"
user_home="$c/users/$(whoami)"
user_program_dir="$user_home/AppData/Local/Programs/さやチャート"
user_menu_dir="$user_home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/さやチャート"
machine_entry='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEPA_SPW'
user_entry='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEPA_SPW'
settings='HKEY_CURRENT_USER\Software\VORNEK\ZEPA_CHART'
mkdir -p "$work/drive_y"
ln -sfn "$work/drive_y" "$WINEPREFIX/dosdevices/y:"

# A registry key as UTF-8 text ("" when there is none).
reg_text() {
  rm -f "$work/export.reg"
  wine reg export "$1" 'Z:'"${work//\//\\}"'\export.reg' /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r'
}
# Checksums of every file under a folder, with their paths.
tree_sums() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
# Every file the setup ships, installed into $1 as built.
check_files() {
  local dir=$1 source name
  while IFS= read -r source; do
    name=$(basename "$source")
    case "$source" in */resources/help/*) name="HELP/$name" ;; */README-ja.txt) name=README.txt ;; esac
    cmp -s "$source" "$dir/$name" || fail "$dir/$name is not the file built ($source)"
  done < <(sed -n 's/^  File \(".oname=[^"]*" \)\{0,1\}"\(.*\)"$/\2/p' "$build/zepa_setup_files.nsh")
  [ -f "$dir/uninstall.exe" ] || fail "no uninstaller in $dir"
}
# The "アプリと機能" entry: name, version, publisher, folder, uninstaller and a size.
check_entry() {
  local key=$1 want_version=$2 folder=$3 text escaped
  text=$(reg_text "$key")
  [ -n "$text" ] || fail "no uninstall entry $key"
  escaped=${folder//\\/\\\\}
  for line in '"DisplayName"="さやチャート"' "\"DisplayVersion\"=\"$want_version\"" '"Publisher"="VORNEK"' \
    "\"InstallLocation\"=\"$escaped\"" "\"UninstallString\"=\"\\\"$escaped\\\\uninstall.exe\\\"\""; do
    grep -qxF "$line" <<<"$text" || { echo "$text"; fail "the entry lacks $line"; }
  done
  grep -q '^"EstimatedSize"=dword:0000[1-9a-f]' <<<"$text" || { echo "$text"; fail "no size in the entry"; }
}
# Waits (up to a minute) until the uninstaller, which runs from a copy of itself, has removed $1.
await_removed() {
  for _ in $(seq 120); do
    [ ! -e "$1" ] && return 0
    sleep 0.5
  done
  return 1
}

step "earlier version for every user, demo on Y:, desktop shortcut"
wine "$work/old-setup.exe" /S /DRIVE=Y: /DEMO /DESKTOP || fail "the earlier setup ended with $?"
check_files "$program_dir"
check_entry "$machine_entry" 0.9.0 'C:\Program Files\さやチャート'
for link in "$menu_dir/さやチャート.lnk" "$menu_dir/さやチャート ヘルプ.lnk" "$desktop_link"; do
  [ -f "$link" ] || fail "no shortcut $link"
done
ls "$work/drive_y/ZEPAWIN/DATA/" | grep -qi '^DBW\.' || fail "no demo price files in Y:\\ZEPAWIN"
[ -f "$work/drive_y/ZEPAWIN/ZEPA_SPW.DAT" ] || fail "no demo position file"
[ ! -e "$c/ZEPAWIN" ] || fail "C:\\ZEPAWIN was made though Y: was chosen"

step "the viewer through its Start-menu shortcut"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "ＭＳ ゴシック" "MS Gothic" "ＭＳ Ｐゴシック" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif"; do
    printf '"%s"="IPAGothic"\r\n' "$face"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/fonts.reg"
wine regedit /S 'Z:'"${work//\//\\}"'\fonts.reg' || fail "regedit failed"
# The shortcut starts the program in Y:\ (its working folder, the one string of the link that is
# plain ASCII). The link itself is not opened: Wine resolves it through its ANSI copy of the
# path, which loses the folder's Japanese name unless Wine runs with code page 932.
link="$menu_dir/さやチャート.lnk"
strings -el -n 2 "$link" | grep -qx 'Y:\\\?' || fail "the shortcut does not start in Y:\\"
strings -el "$link" | grep -qx 'zepa_spw.exe' || fail "the shortcut does not start zepa_spw.exe"
wine start /d 'Y:\' 'C:\Program Files\さやチャート\zepa_spw.exe' >"$work/start.log" 2>&1 || fail "start failed"
window=
for _ in $(seq 90); do
  window=$(xdotool search --name "^さやチャート" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { cat "$work/start.log"; fail "no window titled さやチャート"; }
sleep 2
xdotool windowactivate --sync "$window" >/dev/null 2>&1
import -window root "$work/before.png" 2>/dev/null
xdotool key --window "$window" Down
sleep 2
import -window root "$work/after.png" 2>/dev/null
[ -n "$shots" ] && cp "$work/after.png" "$shots/setup-viewer-from-shortcut.png"
changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 | cut -d' ' -f1)
# Started anywhere but Y:\, the viewer finds no installation and shows only a message.
[ "${changed:-0}" != 0 ] || fail "Down left the picture as it was: the viewer did not find Y:\\ZEPAWIN"
xdotool key --window "$window" Escape
for _ in $(seq 40); do
  xdotool search --name "^さやチャート" >/dev/null 2>&1 || break
  sleep 0.5
done
xdotool search --name "^さやチャート" >/dev/null 2>&1 && fail "Esc did not end the viewer"

step "this version over the earlier one"
printf 'T1001    edited    250104    100       T1002    kept      250104    100\r\n' \
  >>"$work/drive_y/ZEPAWIN/ZEPA_SPW.DAT"
wine reg add 'HKCU\Software\VORNEK\ZEPA_CHART\CHART' /v SetupTest /d 'さや 1' /f >/dev/null 2>&1 ||
  fail "reg add failed"
data_before=$(tree_sums "$work/drive_y")
settings_before=$(reg_text "$settings")
grep -q SetupTest <<<"$settings_before" || fail "no settings to keep"
wine "$setup" /S || fail "the setup ended with $?"
check_files "$program_dir"
check_entry "$machine_entry" "$version" 'C:\Program Files\さやチャート'
[ "$(tree_sums "$work/drive_y")" = "$data_before" ] || fail "the update changed Y:\\ZEPAWIN"
[ "$(reg_text "$settings")" = "$settings_before" ] || fail "the update changed the settings"
[ -f "$desktop_link" ] || fail "the update dropped the desktop shortcut"
[ ! -e "$c/ZEPAWIN" ] || fail "the update made C:\\ZEPAWIN instead of keeping Y:"

step "silent uninstall"
wine "$program_dir/uninstall.exe" /S || fail "the uninstaller ended with $?"
await_removed "$program_dir" || { ls -R "$program_dir"; fail "the programs are still there"; }
for gone in "$menu_dir" "$desktop_link"; do
  [ ! -e "$gone" ] || fail "$gone is still there"
done
[ -z "$(reg_text "$machine_entry")" ] || fail "the uninstall entry is still there"
[ "$(tree_sums "$work/drive_y")" = "$data_before" ] || fail "the uninstall changed Y:\\ZEPAWIN"
[ "$(reg_text "$settings")" = "$settings_before" ] || fail "the uninstall changed the settings"

step "for this user only, on the system drive"
wine "$setup" /S /CurrentUser || fail "the per-user setup ended with $?"
check_files "$user_program_dir"
check_entry "$user_entry" "$version" "C:\\users\\$(whoami)\\AppData\\Local\\Programs\\さやチャート"
[ -z "$(reg_text "$machine_entry")" ] || fail "a per-user install registered for the machine"
[ -f "$user_menu_dir/さやチャート.lnk" ] || fail "no shortcut in the user's Start menu"
[ ! -e "$user_home/Desktop/さやチャート.lnk" ] || fail "a desktop shortcut nobody asked for"
[ -d "$c/ZEPAWIN/DATA" ] || fail "no C:\\ZEPAWIN\\DATA"
cmp -s "$build/ZEPA_SPW.DAT.template" "$c/ZEPAWIN/ZEPA_SPW.DAT" || fail "C:\\ZEPAWIN\\ZEPA_SPW.DAT is not the template"
[ -z "$(ls "$c/ZEPAWIN/DATA")" ] || fail "demo data nobody asked for"

step "uninstall that removes the data and the settings too"
wine "$user_program_dir/uninstall.exe" /S /REMOVEDATA || fail "the uninstaller ended with $?"
await_removed "$c/ZEPAWIN" || fail "C:\\ZEPAWIN is still there"
await_removed "$user_program_dir" || fail "the programs are still there"
[ -z "$(reg_text "$settings")" ] || fail "the settings are still there"
[ -z "$(reg_text "$user_entry")" ] || fail "the uninstall entry is still there"
[ -n "$(ls "$work/drive_y/ZEPAWIN")" ] || fail "Y:\\ZEPAWIN, not the install's drive, was removed"

step "into a folder of the user's choosing"
# Without a space: wine quotes an argument that has one, and NSIS takes /D= only unquoted.
wine "$setup" /S /CurrentUser '/D=C:\別の場所\さや' || fail "the setup ended with $?"
check_files "$c/別の場所/さや"
check_entry "$user_entry" "$version" 'C:\別の場所\さや'
wine "$c/別の場所/さや/uninstall.exe" /S || fail "the uninstaller ended with $?"
await_removed "$c/別の場所/さや" || fail "the chosen folder is still there"
[ -e "$c/ZEPAWIN/ZEPA_SPW.DAT" ] || fail "the install made no C:\\ZEPAWIN"

echo "setup: passed"
