#!/usr/bin/env bash
# window_replay.sh: `drovana --replay FILE` in a virtual X display: the window opens on the
# replay's drill with its caption, a tap on the court changes the speed and not the drill, and
# the close button leaves to the main menu. Exits 77 (skipped) only when no virtual display
# starts.
# Usage: window_replay.sh BUILD_FOLDER
set -uo pipefail

# shellcheck source=window_harness.sh
source "$(dirname "$0")/window_harness.sh"
harness_begin "$0" "$1"

# The serve drill left alone for a minute, recorded by the driver on the same data.pak.
printf 'tap 1 1\ntap 108 189\nrecord %s\ntap 214 306\nwait 60\ntap 234 5\n' \
    "$work/drill.replay" |
    "$BUILD/drovana-script" --data "$BUILD/data.pak" --home "$work/home" >/dev/null || exit 1
# The drill as it starts (the figures idle, so a moment later a few hundred pixels differ, and
# the replay's caption covers some more), and the main menu.
harness_headless "$work/drill.png" 4 "120,160@1" "108,189@2" "214,306@3" || exit 1
harness_headless "$work/menu.png" 4 "120,160@2" || exit 1
caption_and_figures=3000

HARNESS_GAME_ARGS=(--replay "$work/drill.replay")
harness_start 2 || {
    harness_stop
    exit 1
}
if harness_expect_screen "$work/drill.png" $caption_and_figures &&
    harness_tap 120 100 &&
    harness_expect_screen "$work/drill.png" $caption_and_figures &&
    harness_tap 234 5 &&
    harness_expect_screen "$work/menu.png" 0; then
    harness_stop || exit 1
    echo "the replay opened, went faster and was left"
else
    harness_stop
    [[ -n ${WINDOW_SMOKE_KEEP:-} ]] && cp -r "$work" "$WINDOW_SMOKE_KEEP/replay"
    exit 1
fi
