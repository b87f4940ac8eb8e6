#!/usr/bin/env bash
# The theme checker of the Windows zip under Wine: in the unpacked folder it finds no
# problem in either shipped theme, and in a theme with a broken picture it lists that
# picture and ends with status 1. A program without a console writes to stdout.txt beside
# it, as its README says.
#   test_windows_theme_check.sh ZIP
# WINEPREFIX, when set, is a Wine prefix to start from; it stays as it is.
zip=$(readlink -f "$1")
source "$(dirname "$0")/scratch.sh" theme-check
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
source "$(dirname "$0")/wine_prefix.sh"
own_wine_prefix "$work/wine"
unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
folder=$(echo "$work"/meadowgunner-*/)

# check THEMEFILE: runs the checker on it in the folder; its status in $status and its
# report in $report.
check() {
    rm -f "$folder/stdout.txt"
    (cd "$folder" && wine meadowgunner-theme-check.exe "$1" >/dev/null 2>&1)
    status=$?
    report=$(tr -d '\r' <"$folder/stdout.txt" 2>/dev/null)
}

for theme in default.ini night.ini; do
    check "$theme"
    [ "$status" -eq 0 ] || fail "$theme: status $status: $report"
    [ "$report" = "$theme: no problems found" ] || fail "$theme: $report"
done

cp "$folder/default.ini" "$folder/broken.ini"
printf 'not a picture\n' >"$folder/themes/meadow/winner.png"
check broken.ini
[ "$status" -eq 1 ] || fail "a broken theme: status $status, not 1"
grep -q '^winner: themes/meadow/winner.png: the game cannot read it as a picture: ' <<<"$report" ||
    fail "the broken picture is not listed: $report"
[ "$(wc -l <<<"$report")" -eq 1 ] || fail "more than the broken picture is listed: $report"
echo passed
