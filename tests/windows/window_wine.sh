#!/usr/bin/env bash
# window_wine.sh: drovana.exe under Wine in a virtual X display, tapped from the logo to the main
# menu; the window shows what the native headless driver draws. Exits 77 (skipped) only when no
# virtual display starts.
# Usage: window_wine.sh WINDOWS_BUILD NATIVE_BUILD
set -uo pipefail

WINDOWS=$(cd "$1" && pwd)
BUILD=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=../window/window_harness.sh
source "$here/../window/window_harness.sh"
source "$here/wine_env.sh"
harness_enter_display "$0" "$WINDOWS" "$BUILD"
wine_prepare "$WINDOWS"
# A Wine session started without a display (the tests before this one) would keep the game's
# window off this one: the prefix's server starts again inside it.
wineserver --kill 2>/dev/null
wineserver --wait

# The harness's start with the game under Wine: the profiles go to the prefix's application data.
harness_start() {
    local width=$((240 * $1)) height=$((320 * $1))
    HARNESS_RUNTIME=$(mktemp -d)
    (cd "$WINDOWS" && SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software \
        exec wine drovana.exe --scale "$1") >"$HARNESS_RUNTIME/game.log" 2>&1 &
    HARNESS_PID=$!
    harness_find_window || return 1
    xdotool windowmove "$HARNESS_WINDOW" 0 0 windowsize "$HARNESS_WINDOW" "$width" "$height"
    sleep 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
harness_headless "$work/logo.png" 2 || exit 1
harness_headless "$work/menu.png" 4 "120,160@2" || exit 1

harness_start 2 || { harness_stop; exit 1; }
status=0
if harness_expect_screen "$work/logo.png" 0 60 && harness_tap 120 160 &&
    harness_expect_screen "$work/menu.png" 0; then
    harness_stop || status=1
else
    status=1
    harness_stop
fi
[[ -n ${WINDOW_WINE_KEEP:-} ]] && cp "$work"/*.png "$WINDOW_WINE_KEEP/"
exit $status
