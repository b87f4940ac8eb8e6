#!/usr/bin/env bash
# The Windows installer under Wine in Xvfb: a silent install (/S) lays out the zip's files
# in the per-user folder, registers its uninstaller and a Start-menu shortcut, and a second
# install keeps the player's config.ini; the game started in the install folder shows its
# menu and its icon and ends with status 0 on a held Escape, and so does the game the
# shortcut starts; the silent uninstall takes away the folder, the shortcut and the
# registry key.
#   test_windows_installer.sh SETUP_EXE   (the zip beside it, as tools/windows/package writes them)
# WINEPREFIX, when set, is a Wine prefix to start from, which stays as it is; otherwise a
# scratch prefix is made (it takes seconds and about 700 MB) and removed.
setup=$(readlink -f "$1")
zip=${setup%-setup.exe}.zip
source "$(dirname "$0")/scratch.sh" windows
source "$(dirname "$0")/wine_prefix.sh"
own_wine_prefix "$work/wine"
[ -f "$setup" ] && [ -f "$zip" ] || fail "no $setup with its zip beside it"

# No Mono or Gecko prompts, and no desktop entries for the shortcut in the host's HOME.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export SDL_VIDEODRIVER=windib SDL_AUDIODRIVER=dummy
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Meadowgunner'
title="Meadowgunner v. 1.0"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break || sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY
wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the prefix $WINEPREFIX"

# What the game wrote to stderr.txt, on one line.
complaints() { tr '\r\n' '  ' <"$inst/stderr.txt" 2>/dev/null; }
# A Windows environment variable, and a Windows path as a path here.
windows_env() { wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# One value of the uninstall key, as reg prints it (REG_DWORD in hex).
registry() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# The share of black pixels in the game window, in percent: the menu is text on black,
# the splash a picture without a black pixel.
black_percent() {
    /usr/bin/python3 -c 'import sys; from Xlib import X, display
w = display.Display().create_resource_object("window", int(sys.argv[1]))
g = w.get_geometry()
data = w.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xffffffff).data
black = sum(1 for i in range(0, len(data), 16) if data[i:i + 3] == b"\0\0\0")
print(black * 1600 // len(data))' "$1" 2>/dev/null || echo 0
}

# Whether the window's 64-pixel icon, as Wine hands it to X, is the PNG given: the
# programs' icon resource, which SDL finds by the name of its window class.
window_icon_is() {
    /usr/bin/python3 -c 'import sys; from PIL import Image; from Xlib import display, Xatom
d = display.Display()
icon = d.create_resource_object("window", int(sys.argv[1])).get_full_property(
    d.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL)
values, sizes = list(icon.value) if icon else [], {}
while len(values) > 2:
    w, h = values[0], values[1]
    sizes[w, h], values = values[2:2 + w * h], values[2 + w * h:]
want = Image.open(sys.argv[2]).convert("RGBA")
got = [(v >> 16 & 255, v >> 8 & 255, v & 255, v >> 24 & 255) for v in sizes.get(want.size, [])]
sys.exit(got != list(want.getdata()))' "$1" "$2" 2>/dev/null
}

# Waits for the game's window and its menu, clicks beside the entries (Wine gives a
# window the keys only once it has been activated) and holds Escape, which leaves the
# game; a second try allows for a click that came before Wine's window was ready.
play_to_menu_and_quit() {
    local window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n 1)
    [ -n "$window" ] || fail "$1: no game window; stderr.txt: $(complaints)"
    local black=0
    for _ in $(seq 150); do
        black=$(black_percent "$window")
        [ "$black" -ge 70 ] && [ "$black" -le 99 ] && break || sleep 0.1
    done
    [ "$black" -ge 70 ] && [ "$black" -le 99 ] ||
        fail "$1: no menu ($black % of the window black); stderr.txt: $(complaints)"
    [ -z "${2:-}" ] || window_icon_is "$window" "$2" || fail "$1: the window's icon is not $2"
    for _ in 1 2; do
        xdotool mousemove --window "$window" 10 590 click 1 && sleep 0.3
        xdotool keydown Escape && sleep 0.3 && xdotool keyup Escape
        for _ in $(seq 50); do
            xdotool search --name "$title" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
    done
    fail "$1: Escape did not end the game"
}

expected="$(windows_env LOCALAPPDATA)\\Programs\\Meadowgunner"
inst=$(unix_path "$expected")
lnk="$(unix_path "$(windows_env APPDATA)")/Microsoft/Windows/Start Menu/Programs/Meadowgunner.lnk"
# What a failed run left in a prefix of the caller's.
rm -rf "$inst" "$lnk"
wine reg delete "$key" /f >/dev/null 2>&1

wine "$setup" /S >/dev/null 2>&1 || fail "the silent install ended with status $?"
[ "$(registry InstallLocation)" = "$expected" ] ||
    fail "installed into '$(registry InstallLocation)', not the per-user $expected"

# The install folder holds the zip's folder, byte for byte, and the uninstaller.
/usr/bin/python3 -c 'import os, sys, zipfile
archive, inst = zipfile.ZipFile(sys.argv[1]), sys.argv[2]
problems, seen = [], {"uninstall.exe"}
for item in archive.infolist():
    name = item.filename.split("/", 1)[1]
    if not name or item.is_dir():
        continue
    seen.add(name)
    path = os.path.join(inst, name)
    if not os.path.isfile(path):
        problems.append("missing " + name)
    elif open(path, "rb").read() != archive.read(item):
        problems.append("differs " + name)
for folder, _, files in os.walk(inst):
    for f in files:
        name = os.path.relpath(os.path.join(folder, f), inst)
        if name not in seen:
            problems.append("extra " + name)
print("\n".join(problems))
sys.exit(bool(problems))' "$zip" "$inst" >"$work/files" || fail "install folder and zip differ: $(cat "$work/files")"
[ -f "$lnk" ] || fail "no Start-menu shortcut $lnk"

version=$(/usr/bin/python3 -c 'import sys, zipfile
print(zipfile.ZipFile(sys.argv[1]).namelist()[0].split("/")[0].rsplit("-", 1)[1])' "$zip")
uninstaller="$expected\\uninstall.exe"
[ "$(registry DisplayName)" = Meadowgunner ] || fail "DisplayName '$(registry DisplayName)'"
[ "$(registry DisplayVersion)" = "$version" ] || fail "DisplayVersion '$(registry DisplayVersion)', not $version"
[ "$(registry DisplayIcon)" = "$expected\\meadowgunner.exe,0" ] || fail "DisplayIcon '$(registry DisplayIcon)'"
[ "$(registry UninstallString)" = "\"$uninstaller\"" ] || fail "UninstallString '$(registry UninstallString)'"
[ "$(registry QuietUninstallString)" = "\"$uninstaller\" /S" ] ||
    fail "QuietUninstallString '$(registry QuietUninstallString)'"
for flag in NoModify NoRepair; do
    [ "$(registry $flag)" = 0x1 ] || fail "$flag is '$(registry $flag)', not 1"
done
size=$(($(registry EstimatedSize)))
[ "$size" -gt 1000 ] || fail "EstimatedSize $size KB"

# A second install over the first leaves the player's settings as they are.
printf '; the player was here\r\n' >>"$inst/config.ini"
wine "$setup" /S >/dev/null 2>&1 || fail "the second silent install ended with status $?"
grep -q "the player was here" "$inst/config.ini" || fail "a second install replaced config.ini"

# As Explorer would start it: in its own folder.
(cd "$inst" && exec wine meadowgunner.exe >/dev/null 2>&1) &
game=$!
pids+=("$game")
play_to_menu_and_quit "started in the install folder" "$inst/meadowgunner.png"
wait "$game" || fail "the game ended with status $?"
[ ! -e "$inst/stderr.txt" ] || fail "complaints in stderr.txt: $(complaints)"

# The shortcut must give the game the install folder to work in, or it finds no files.
wine start /unix "$lnk" >/dev/null 2>&1 || fail "wine cannot start the shortcut"
play_to_menu_and_quit "started by the shortcut"

# SDL's output files are the uninstaller's to remove too. The uninstaller runs a copy of
# itself from the temporary folder and returns at once.
printf 'left by the game\r\n' >"$inst/stdout.txt"
wine "$inst/uninstall.exe" /S >/dev/null 2>&1 || fail "the silent uninstall ended with status $?"
for _ in $(seq 150); do [ -e "$inst" ] && sleep 0.2; done
[ ! -e "$inst" ] || fail "the uninstall left: $(cd "$inst" && find . | head)"
[ ! -e "$lnk" ] || fail "the uninstall left the shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the registry key $key"
exit 0
