#!/usr/bin/env bash
# window_fullscreen.sh: F11 in a virtual X display that has no window manager, as a bare X server
# started by hand has none: the window covers the whole screen and shows the whole picture, a tap
# lands where it shows, and F11 again brings the window back to its own place and size. Exits 77
# (skipped) only when no virtual display starts.
# Usage: window_fullscreen.sh BUILD_FOLDER
set -uo pipefail

# shellcheck source=window_harness.sh
source "$(dirname "$0")/window_harness.sh"
harness_begin "$0" "$1"

menu_tap="120,160@2"
options_x=114 options_y=261
harness_headless "$work/menu.png" 4 "$menu_tap" || exit 1
harness_headless "$work/options.png" 6 "$menu_tap" "$options_x,$options_y@4" || exit 1
cp "$work/menu.png" "$work/menu-full.png"
cp "$work/options.png" "$work/options-full.png"
# In full screen the picture is scaled by 3.2 (1024 / 320) between bars.
fractional=600

# press_f11 LEFT TOP WIDTH HEIGHT: F11 over the window, then waits until it stands there.
press_f11() {
    local want="$1 $2 $3 $4" deadline=$((SECONDS + 10))
    xdotool mousemove --window "$HARNESS_WINDOW" 10 10 key F11
    while harness_geometry; do
        [[ "$HARNESS_LEFT $HARNESS_TOP $HARNESS_WIDTH $HARNESS_HEIGHT" == "$want" ]] && return 0
        if ((SECONDS >= deadline)); then
            echo "  after F11 the window is ${HARNESS_WIDTH} x ${HARNESS_HEIGHT} at" \
                "(${HARNESS_LEFT}, ${HARNESS_TOP}), not $3 x $4 at ($1, $2)"
            return 1
        fi
        sleep 0.1
    done
}

harness_start 2 || {
    harness_stop
    exit 1
}
echo "F11 with no window manager"
if harness_tap 120 160 &&
    harness_expect_screen "$work/menu.png" 0 &&
    press_f11 0 0 1280 1024 &&
    harness_expect_screen "$work/menu-full.png" $fractional &&
    harness_tap $options_x $options_y &&
    harness_expect_screen "$work/options-full.png" $fractional &&
    press_f11 0 0 480 640 &&
    harness_expect_screen "$work/options.png" 0; then
    harness_stop || exit 1
    echo "full screen and back passed"
else
    harness_stop
    [[ -n ${WINDOW_SMOKE_KEEP:-} ]] && cp -r "$work" "$WINDOW_SMOKE_KEEP/fullscreen"
    exit 1
fi
