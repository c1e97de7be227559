#!/usr/bin/env bash
# play_installed.sh: inside a virtual X display, plays the installed game ($GAME) as a user
# would: past the logo to the main menu, F12, then Quit. Each step waits for the screen the
# headless game shows at that point, so a slow machine only takes longer. BUILD is the build
# folder (for window-shot and the headless references), WORK a scratch folder, GAME_LOG the log.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../window/window_harness.sh
source "$here/../window/window_harness.sh"

harness_headless "$WORK/logo.png" 2 || exit 1
harness_headless "$WORK/menu.png" 4 "120,160@2" || exit 1

HARNESS_RUNTIME=$WORK
SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software "$GAME" --scale 1 2>"$GAME_LOG" &
HARNESS_PID=$!
quit() {
    kill "$HARNESS_PID" 2>/dev/null
    wait "$HARNESS_PID"
    exit 1
}

harness_find_window || quit
harness_expect_screen "$WORK/logo.png" 0 30 || quit
harness_tap 120 160 # the logo: on to the main menu
harness_expect_screen "$WORK/menu.png" 0 30 || quit
xdotool key --window "$HARNESS_WINDOW" F12
for _ in $(seq 150); do
    grep -q "screenshot saved as" "$GAME_LOG" && break
    sleep 0.1
done
harness_tap 78 289 # the main menu's Quit
if ! harness_wait_end 200; then
    echo "the game did not quit"
    quit
fi
wait "$HARNESS_PID"
