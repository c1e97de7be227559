#!/usr/bin/env bash
# window_smoke.sh: the real game in a virtual X display, clicked through its window at several
# sizes: the close button ends the match and the next court comes up, and the window shows what
# the game draws on the headless display. Exits 77 (skipped) only when no virtual display starts.
# Usage: window_smoke.sh BUILD_FOLDER
set -uo pipefail

BUILD=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

if [[ -z ${WINDOW_SMOKE_STARTED:-} ]]; then
    if ! command -v xvfb-run >/dev/null; then
        echo "skipped: xvfb-run is not installed (scripts/install-deps installs it)"
        exit 77
    fi
    marker=$(mktemp)
    # Our own authority file: xvfb-run then has no folder of its own to clean up, whose failure
    # would leave its server running.
    authority=$(mktemp)
    trap 'rm -f "$marker" "$authority"' EXIT
    # Two runs picking the same free display number can collide; the loser tries again.
    for _ in 1 2 3; do
        WINDOW_SMOKE_STARTED=$marker xvfb-run -a -f "$authority" -s "-screen 0 1280x1024x24" \
            "$0" "$BUILD"
        status=$?
        [[ -s $marker ]] && exit $status
    done
    echo "skipped: xvfb-run could not start a virtual X display"
    exit 77
fi
echo started >"$WINDOW_SMOKE_STARTED"

for tool in xdotool xwd; do
    command -v $tool >/dev/null || {
        echo "$tool is not installed (scripts/install-deps installs it)"
        exit 1
    }
done
# shellcheck source=window_harness.sh
source "$here/window_harness.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The close button's middle, and what the headless game shows at the start of the first match
# and just after the close button started the second, on the next court. Only the players' idle
# animation moves between frames, so a window shot taken at another moment differs in a few
# hundred pixels at most, while the two courts differ almost everywhere.
close_x=234 close_y=5
harness_headless "$work/first-court.png" 2 || exit 1
harness_headless "$work/next-court.png" 4 "$close_x,$close_y@2" || exit 1
moving=600

failures=0
# check NAME "HARNESS_START ARGUMENTS" CLICK...: the game at that size shows the first court;
# after the click it shows the next.
check() {
    local name=$1 start=$2
    shift 2
    echo "$name"
    mkdir -p "$work/$name"
    cp "$work/first-court.png" "$work/next-court.png" "$work/$name/"
    # shellcheck disable=SC2086 # the start arguments are words
    if harness_start $start &&
        harness_expect_screen "$work/$name/first-court.png" $moving &&
        "$@" &&
        harness_expect_screen "$work/$name/next-court.png" $moving; then
        harness_stop || failures=$((failures + 1))
    else
        failures=$((failures + 1))
        harness_stop
        [[ -n ${WINDOW_SMOKE_KEEP:-} ]] && cp -r "$work/$name" "$WINDOW_SMOKE_KEEP/"
    fi
}

check "scale 2" "2" harness_tap $close_x $close_y
check "scale 1" "1" harness_tap $close_x $close_y
check "scale 3" "3" harness_tap $close_x $close_y
# 500 x 600: scaled by 1.875 between bars 25 pixels wide; a click on the right bar beside the
# close button lands on the screen's right edge, on the button.
check "500 x 600, click on the bar" "0 500 600" harness_click_window 495 6

if ((failures > 0)); then
    echo "$failures window checks failed"
    exit 1
fi
echo "every window check passed"
