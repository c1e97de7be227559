#!/usr/bin/env bash
# tarball_game.sh BUILD VERSION: packs the Linux tarball and unpacks it, as a player would, into a
# folder whose path has spaces, then checks it from there: the version it names, the launcher
# its README's steps install, and the game under a virtual X server from the logo to the main
# menu, F12 and Quit, reading data.pak beside itself and writing nothing beside it.
set -euo pipefail

build=$(realpath "$1")
version=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run xdotool desktop-file-validate; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --build "$build" --target linux_tarball > "$work/pack.log" 2>&1 ||
    { cat "$work/pack.log"; fail "the tarball was not made"; }
name=drovana-$version-linux-$(uname -m)
tarball=$build/$name.tar.gz
[[ -s $tarball ]] || fail "no $name.tar.gz in the build folder"
folder="$work/My games/drovana $version"
mkdir -p "$folder"
tar -xzf "$tarball" -C "$folder"
game_dir=$folder/$name
[[ -x $game_dir/drovana ]] || fail "the tarball has no $name/drovana"

[[ $("$game_dir/drovana" --version) == "drovana $version" ]] ||
    fail "--version says '$("$game_dir/drovana" --version)', the project is $version"
grep -q "^Drovana $version for 64-bit Linux" "$game_dir/README.txt" || fail "the README's version"

# The README's launcher steps as written, from inside the unpacked folder, in a home of their own.
home=$work/home
mkdir -p "$home"
steps=$(sed -n '/^    mkdir -p ~/,/^        > ~/p' "$game_dir/README.txt")
[[ -n $steps ]] || fail "the README gives no launcher steps"
(cd "$game_dir" && HOME=$home bash -euo pipefail -c "$steps") || fail "the launcher steps failed"
launcher=$home/.local/share/applications/org.drovana.Drovana.desktop
desktop-file-validate "$launcher" || fail "the installed launcher does not validate"
grep -qxF "Exec=\"$game_dir/drovana\"" "$launcher" || fail "the launcher does not start this copy"
[[ -s $home/.local/share/icons/hicolor/256x256/apps/org.drovana.Drovana.png ]] ||
    fail "the steps installed no icon"

# Started from elsewhere, so that only the program's own folder can lead it to data.pak.
mkdir -p "$work/data" "$work/run"
chmod 700 "$work/run"
cd "$work"
export HOME=$home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$work/run
export GAME=$game_dir/drovana GAME_LOG=$work/game.log BUILD=$build WORK=$work
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
status=0
timeout 110 xvfb-run -a -s "-screen 0 640x800x24" "$here/play_installed.sh" || status=$?
[[ $status == 0 ]] || { cat "$work/game.log"; fail "the unpacked game ended with status $status"; }
[[ -s $work/data/drovana/players.dat ]] || fail "Quit on the main menu left no players.dat"
diff <(tar -tzf "$tarball" | sed 's|/$||' | sort) \
    <(cd "$folder" && find . -mindepth 1 | sed 's|^\./||' | sort) ||
    fail "the game wrote into its own folder"
echo "tarball: $name.tar.gz unpacked under '$folder': version, launcher, main menu, players.dat"
