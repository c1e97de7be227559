#!/usr/bin/env bash
# window_after_match.sh: a whole one-set exhibition played in a virtual X display by taps through
# the window, then what a person does after it: the result picture, a tap on it for the
# statistics page, "Watch again" with the replay's caption at 1x and at 4x after a tap, and the
# close button back to the same page, whose Back leads to the result again. The game's clock runs
# fast while the match plays (fast_clock.cpp) and at its real pace from the result on. Exits 77
# (skipped) only when no virtual display starts.
# Usage: window_after_match.sh BUILD_FOLDER
set -uo pipefail

# shellcheck source=window_harness.sh
source "$(dirname "$0")/window_harness.sh"
harness_begin "$0" "$1"

logo_x=120 logo_y=160
exhibition_x=180 exhibition_y=147
next_x=214 next_y=306
back_x=26 back_y=306
picture_x=120 picture_y=150 # on the result picture, off its buttons
watch_x=193 watch_y=20
court_x=120 court_y=100 # the far half of the court
near_x=120 near_y=250   # the near half
close_x=234 close_y=5
# Where the page writes each match's own figures (the games of each set down to the fastest
# serve), and the replay's caption under the power meter (the far figure's head can reach the
# bottom of it, so only the speed's cell is compared).
figures=(--ignore 101 66 137 220)
caption=(--within 140 16 8 16)

# What the driver shows on the headless display for the same taps: the menu, the stadium choice,
# and a one-set exhibition lost without a tap (the window's match is another, so only what every
# match shows is compared): its result, its page, and its replay's caption at 1x and 4x.
printf '%s\n' "tap $logo_x $logo_y" "frames 2" "shot $work/menu.png" \
    "tap $exhibition_x $exhibition_y" "tap $next_x $next_y" "tap $next_x $next_y" "frames 2" \
    "shot $work/stadium.png" "tap $next_x $next_y" "wait 700" "expect screen ExhibitionLost" \
    "shot $work/result.png" "tap $picture_x $picture_y" "frames 2" "shot $work/statistics.png" \
    "tap $watch_x $watch_y" "frames 2" "shot $work/replay-1x.png" "tap $court_x $court_y" \
    "frames 2" "shot $work/replay-4x.png" |
    "$BUILD/drovana-script" --data "$BUILD/data.pak" --home "$work/home" --seed 1 >/dev/null || {
    echo "the driver could not show the pictures to compare with"
    exit 1
}

# play_to_the_end: taps the far and the near half in turn, as a person who ends every pause at
# once (the opponent's half is the far one or, after a change of ends, the near one) and swings
# at what comes; a player who plays like that wins a few points and loses the set. Done once the
# window shows the result picture or, when a tap met the picture as it came, the statistics page
# (the variable `over` says which).
play_to_the_end() {
    local deadline=$((SECONDS + 120)) far=1 shot=$work/playing.png
    while ((SECONDS < deadline)); do
        if ((far)); then harness_tap $court_x $court_y; else harness_tap $near_x $near_y; fi
        far=$((1 - far))
        harness_shot "$shot" || return 1
        if harness_tool compare "$shot" "$work/result.png" >/dev/null; then
            over=result
            return 0
        fi
        if harness_tool compare "$shot" "$work/statistics.png" "${figures[@]}" >/dev/null; then
            over=statistics
            return 0
        fi
        kill -0 "$HARNESS_PID" 2>/dev/null || return 1
    done
    echo "  the match did not end within two minutes"
    return 1
}

# The replay moves: two moments a little apart differ.
replay_moves() {
    harness_shot "$work/moment-1.png" && sleep 0.5 && harness_shot "$work/moment-2.png" &&
        ! harness_tool compare "$work/moment-1.png" "$work/moment-2.png" >/dev/null
}

# From the logo to the match, played to its end.
play_a_match() {
    harness_tap $logo_x $logo_y &&
        harness_expect_screen "$work/menu.png" 0 &&
        harness_tap $exhibition_x $exhibition_y &&
        harness_tap $next_x $next_y &&
        harness_tap $next_x $next_y &&
        harness_expect_screen "$work/stadium.png" 0 &&
        harness_tap $next_x $next_y &&
        play_to_the_end
}

# From the match's end on, at the real pace: the result picture (back from the page when a
# tap opened it already), its page, the replay and back. The page the window shows is kept
# (statistics-window.png, copied to page.png) and must come back unchanged after the replay.
after_the_match() {
    kill -USR1 "$HARNESS_PID"
    echo "  the match ended on the $over"
    if [[ $over == statistics ]]; then
        harness_tap $back_x $back_y && harness_expect_screen "$work/result.png" 0 || return 1
    fi
    harness_tap $picture_x $picture_y &&
        harness_expect_screen "$work/statistics.png" 0 15 "${figures[@]}" &&
        cp "$work/statistics-window.png" "$work/page.png" &&
        harness_tap $watch_x $watch_y &&
        harness_expect_screen "$work/replay-1x.png" 0 15 "${caption[@]}" &&
        replay_moves &&
        harness_tap $court_x $court_y &&
        harness_expect_screen "$work/replay-4x.png" 0 15 "${caption[@]}" &&
        replay_moves &&
        harness_tap $close_x $close_y &&
        harness_expect_screen "$work/page.png" 0 &&
        harness_tap $back_x $back_y &&
        harness_expect_screen "$work/result.png" 0
}

# Fifty times the real pace gives each frame the 0.1 s a frame may take. The window at the
# screen's own size: the smallest picture to send to the X server, so the most frames a second
# (a loaded machine plays the match in half the time it needs at twice the size).
HARNESS_GAME_ENV=(LD_PRELOAD="$BUILD/window-fast-clock.so" FAST_CLOCK_SPEED=50)
harness_start 1 || {
    harness_stop
    exit 1
}
over=""
if play_a_match && after_the_match; then
    harness_stop || exit 1
    echo "from the match to its statistics, into its replay and out again"
else
    harness_stop
    [[ -n ${WINDOW_SMOKE_KEEP:-} ]] && cp -r "$work" "$WINDOW_SMOKE_KEEP/after-match"
    exit 1
fi
