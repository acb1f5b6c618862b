#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in an X server (run by scripts/windows.sh
# under xvfb-run): installed silently into a fresh Wine prefix, the installed program started on a
# Chinese system against a loopback site until it has downloaded and written the built-in archive,
# a second start that only brings the first forward, the window's picture, the window maximised by
# the header's menu (its trend tab's picture) and restored, closing, and the uninstaller, which must
# leave the user's data folder alone.
# Usage: installer_test.sh INSTALLER.exe WORK_FOLDER SCREENSHOT.png
set -euo pipefail
installer=$(realpath "$1")
work=$(realpath "$2")
screenshot=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_prefix.sh"
. "$here/../loopback_site.sh"

say() { echo "[installer] $*"; }
fail() { echo "[installer] FAILED: $*" >&2; exit 1; }
# wait_for SECONDS COMMAND...: polls until the command succeeds; false when the time runs out.
wait_for() {
    local until=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$until" ] || return 1
        sleep 0.5
    done
}

export WINEPREFIX=$work/prefix
program=
cleanup() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    stop_server
    [ -n "${DRAVIK_KEEP_PREFIX:-}" ] || end_wine_prefix "$WINEPREFIX"
}
trap cleanup EXIT
rm -rf "$WINEPREFIX"
new_wine_prefix "$WINEPREFIX" || fail "no Wine prefix"
# A Chinese Windows: its code page, its locale, Qt's Chinese buttons.
export LANG=zh_CN.UTF-8

windows_folder() { "$wine" winepath -u "$("$wine" cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null; }
program_files=$(windows_folder ProgramFiles)
start_menu=$(windows_folder ProgramData)/Microsoft/Windows/Start\ Menu/Programs/Dravik
desktop=$(windows_folder PUBLIC)/Desktop
local_app_data=$(windows_folder LOCALAPPDATA)
install_dir=$program_files/Dravik
data=$local_app_data/Dravik
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravik'

say "installing $(basename "$installer") silently"
"$wine" "$installer" /S || fail "the installer ended with status $?"
"$wineserver" -w
for file in dravik.exe uninstall.exe qt.conf Qt6Core.dll plugins/platforms/qwindows.dll translations/qtbase_zh_CN.qm; do
    [ -f "$install_dir/$file" ] || fail "not installed: $file"
done
[ -f "$start_menu/Dravik.lnk" ] || fail "no Start-menu shortcut"
[ -f "$desktop/Dravik.lnk" ] || fail "no desktop shortcut"
# The shortcuts' "Start in": none, or the user's own folder, never one of the program's.
for link in "$start_menu/Dravik.lnk" "$desktop/Dravik.lnk"; do
    start_in=$(python3 "$here/shortcut_folder.py" "$link") || fail "cannot read $(basename "$link")"
    case "$start_in" in
    "" | *%USERPROFILE%* | *%HOMEPATH%*) ;;
    *) fail "$(basename "$link") starts in $start_in" ;;
    esac
done
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "not in the list of programs"

say "starting the installed program against a loopback site"
expected=$(python3 "$loopback_site" --write-pages "$work/site")
start_site --pages "$work/site"
point_at_site "$local_app_data"
"$wine" "$install_dir/dravik.exe" &
program=$!
records=$data/南粤风采好彩1.dat
downloaded() { [ -f "$records" ] && [ "$(tr -d '\r' <"$records" | sort)" = "$expected" ]; }
wait_for 60 downloaded || fail "the built-in archive was not downloaded and written"
say "the built-in archive holds the site's $(echo "$expected" | wc -l) draws"

window() { xdotool search --class dravik.exe 2>/dev/null | tail -n 1; }
has_window() { [ -n "$(window)" ]; }
wait_for 30 has_window || fail "no window"
# The window leaves the splash page on the first tick of its 3-second timer after the download.
sleep 4

say "a second start brings the first forward and ends"
"$wine" "$install_dir/dravik.exe" || fail "the second start ended with status $?"
kill -0 "$program" 2>/dev/null || fail "the first program ended"

import -window "$(window)" "$screenshot" || fail "no screenshot"
say "window picture in $screenshot"

# geometry: the window's width, height, x and y as the X server has them.
geometry() {
    xdotool getwindowgeometry --shell "$(window)" |
        awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} /^X/{x=$2} /^Y/{y=$2} END{print w, h, x, y}'
}
read -r screen_width screen_height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
# use_header_menu: a right-click on the header, right of the title, and a click on the menu's first
# entry (最大化, or 还原 once maximised), which lies just below and right of the pointer.
use_header_menu() {
    local width height x y
    read -r width height x y < <(geometry)
    xdotool mousemove $((x + width * 3 / 4)) $((y + 25)) click 3
    sleep 1
    xdotool mousemove_relative 40 14 click 1
}
sized() { [ "$(geometry)" = "$1" ]; }

say "maximising the window by the header's menu"
read -r normal_width normal_height normal_x normal_y < <(geometry)
use_header_menu
wait_for 10 sized "$screen_width $screen_height 0 0" ||
    fail "the window is not maximised: $(geometry | awk '{print $1 " × " $2 " at " $3 "," $4}')"
# The trend tab, second of the four along the bottom, in the picture: the chart's fonts are the window's.
xdotool mousemove $((screen_width * 3 / 8)) $((screen_height - 25)) click 1
sleep 2
import -window "$(window)" "${screenshot%.png}-max.png" || fail "no screenshot of the maximised window"
say "maximised: ${screen_width} × ${screen_height}, picture in ${screenshot%.png}-max.png"
use_header_menu
wait_for 10 sized "$normal_width $normal_height $normal_x $normal_y" ||
    fail "the window is not restored: $(geometry | awk '{print $1 " × " $2 " at " $3 "," $4}')"
say "restored: ${normal_width} × ${normal_height} at ${normal_x},${normal_y}"

# close_program: closes the window as Windows asks a program to end, and expects a clean exit.
close_program() {
    "$wine" taskkill /im dravik.exe >/dev/null 2>&1 || true
    local status=0
    wait "$program" || status=$?
    program=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

say "closing the window"
close_program

# Windows' default on a 1920 × 1080 laptop: 150 % (LogPixels 144), where 766 device-independent pixels
# of height do not fit. The window must fit the screen, its header and tab bar in sight.
say "starting again at 150 % on a ${screen_width} × ${screen_height} screen"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
"$wine" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d 144 /f >/dev/null 2>&1
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wine" "$install_dir/dravik.exe" &
program=$!
wait_for 60 has_window || fail "no window at 150 %"
sleep 5
read -r width height x y < <(geometry)
say "the window at 150 %: ${width} × ${height} at ${x},${y}"
[ "$width" -ge 600 ] || fail "the window is not scaled to 150 % (${width} pixels wide)"
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le "$screen_width" ] && [ $((y + height)) -le "$screen_height" ] ||
    fail "the window (${width} × ${height} at ${x},${y}) runs off the ${screen_width} × ${screen_height} screen"
import -window "$(window)" "${screenshot%.png}-150.png" || fail "no screenshot at 150 %"
say "window picture at 150 % in ${screenshot%.png}-150.png"
close_program
stop_server

say "uninstalling"
"$wine" "$install_dir/uninstall.exe" /S || fail "the uninstaller ended with status $?"
"$wineserver" -w
[ ! -e "$install_dir" ] || fail "left behind: $(find "$install_dir" | head -n 5 | tr '\n' ' ')"
[ ! -e "$start_menu" ] || fail "Start-menu folder left behind"
[ ! -e "$desktop/Dravik.lnk" ] || fail "desktop shortcut left behind"
! "$wine" reg query "$uninstall_key" >/dev/null 2>&1 || fail "still in the list of programs"
downloaded || fail "the data folder did not survive the uninstaller"
say "uninstalled; the data folder $data is kept"
