#!/usr/bin/env bash
# installed_game.sh BUILD: installs the game into a temporary prefix, checks that every file a
# user gets is there and that the launcher and metainfo validate, then plays the installed game
# under a virtual X server: past the logo to the main menu, F12, then Quit, which must leave
# players.dat and the screenshot in a temporary home.
set -euo pipefail

build=$(realpath "$1")
for tool in xvfb-run xdotool desktop-file-validate appstreamcli python3; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT
prefix=$work/prefix
app_id=org.drovana.Drovana
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

# What an install holds.
for file in bin/drovana share/drovana/data.pak share/applications/$app_id.desktop \
    share/metainfo/$app_id.metainfo.xml share/man/man6/drovana.6.gz; do
    [[ -s $prefix/$file ]] || fail "the install lacks $file"
done
for size in 48 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -s $icon ]] || fail "the install lacks the $size px icon"
    # Width and height from the PNG header.
    read -r w h < <(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print(*struct.unpack(">II", d[16:24]))' "$icon")
    [[ $w == "$size" && $h == "$size" ]] || fail "the $size px icon is $w x $h"
done
[[ ! -e $prefix/bin/data.pak ]] || fail "data.pak was installed beside the binary"
if command -v man > /dev/null; then
    man -l "$prefix/share/man/man6/drovana.6.gz" > /dev/null 2>&1 || fail "the man page does not format"
fi

desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "the launcher does not validate"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metainfo does not validate"

# Options answered before any window opens.
"$prefix/bin/drovana" --version | grep -q '^drovana [0-9]' || fail "--version"
"$prefix/bin/drovana" --help | grep -q -- '--fullscreen' || fail "--help"
status=0
"$prefix/bin/drovana" --no-such-option 2> "$work/refused" || status=$?
[[ $status == 2 ]] || fail "an unknown option exits with $status, not 2"
grep -q '^Usage: drovana' "$work/refused" || fail "an unknown option does not print the usage"

# A home, data folder and runtime folder of its own: a game running on this machine holds the
# single-instance lock in the real runtime folder.
home=$work/home
mkdir -p "$home" "$work/data" "$work/run"
chmod 700 "$work/run"
export HOME=$home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$work/run
export GAME=$prefix/bin/drovana GAME_LOG=$work/game.log
# Under the sanitizers the X and SDL libraries report memory they keep until exit as leaks; the
# game's own leaks are the unit tests' business.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
status=0
export BUILD=$build WORK=$work
timeout 110 xvfb-run -a -s "-screen 0 640x800x24" "$(dirname "$0")/play_installed.sh" || status=$?
[[ $status == 0 ]] || { cat "$work/game.log"; fail "the installed game ended with status $status"; }

[[ -s $work/data/drovana/players.dat ]] || fail "Quit on the main menu left no players.dat"
[[ ! -e $prefix/bin/players.dat && ! -e $prefix/share/drovana/players.dat ]] \
    || fail "players.dat was written into the install"
shots=("$home"/Pictures/drovana-*.png)
[[ -s ${shots[0]} ]] || { cat "$work/game.log"; fail "F12 left no screenshot"; }
grep -q "screenshot saved as ${shots[0]}" "$work/game.log" || fail "F12 did not say where"
read -r w h < <(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print(*struct.unpack(">II", d[16:24]))' "${shots[0]}")
[[ $w == 240 && $h == 320 ]] || fail "the screenshot of a scale 1 window is $w x $h"
echo "installed game: files, launcher, metainfo, options, main menu, screenshot and players.dat"
