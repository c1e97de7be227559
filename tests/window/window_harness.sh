# window_harness.sh: drives the real game in an X display: starts it at a window size, taps screen
# points through the window, takes X screenshots back to 240 x 320 PNGs and compares them with
# what the game draws on the headless display. Sourced by the window tests, which enter an X
# display (xvfb-run) with harness_enter_display and set BUILD to the build folder.

# harness_enter_display SCRIPT ARGUMENTS...: the first thing a window test does. Outside a virtual
# display it runs SCRIPT again inside one, a 1280 x 1024 screen with no window manager, and exits
# with its status, or with 77 (skipped) when no virtual display starts; inside one it returns.
harness_enter_display() {
    if [[ -n ${HARNESS_DISPLAY_STARTED:-} ]]; then
        echo started >"$HARNESS_DISPLAY_STARTED"
        local tool
        for tool in xdotool xwd; do
            command -v $tool >/dev/null || {
                echo "$tool is not installed (scripts/install-deps installs it)"
                exit 1
            }
        done
        return 0
    fi
    if ! command -v xvfb-run >/dev/null; then
        echo "skipped: xvfb-run is not installed (scripts/install-deps installs it)"
        exit 77
    fi
    local marker authority status
    marker=$(mktemp)
    # Our own authority file: xvfb-run then has no folder of its own to clean up, whose failure
    # would leave its server running.
    authority=$(mktemp)
    # Two runs picking the same free display number can collide; the loser tries again.
    for _ in 1 2 3; do
        HARNESS_DISPLAY_STARTED=$marker xvfb-run -a -f "$authority" -s "-screen 0 1280x1024x24" \
            "$@"
        status=$?
        if [[ -s $marker ]]; then
            rm -f "$marker" "$authority"
            exit $status
        fi
    done
    rm -f "$marker" "$authority"
    echo "skipped: xvfb-run could not start a virtual X display"
    exit 77
}

# harness_begin SCRIPT BUILD_FOLDER: how a window test starts: BUILD set to the build folder, the
# virtual display entered (harness_enter_display) and `work`, a scratch folder removed at exit.
harness_begin() {
    BUILD=$(cd "$2" && pwd)
    harness_enter_display "$1" "$BUILD"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
}

harness_tool() {
    "$BUILD/window-shot" "$@"
}

# harness_start SCALE [WIDTH HEIGHT]: the game in its own runtime folder (its single-instance lock
# never meets a running game), its window sized to SCALE times the screen, or to WIDTH x HEIGHT;
# the array HARNESS_GAME_ARGS, when set, holds the game's command-line options, and
# HARNESS_GAME_ENV the NAME=VALUE settings of its environment (the game's alone, not the tools').
harness_start() {
    local width=$((240 * $1)) height=$((320 * $1))
    [[ $# -ge 3 ]] && width=$2 height=$3
    HARNESS_RUNTIME=$(mktemp -d)
    # players.dat goes to a data folder of the run's own, never the user's. The software renderer
    # by default: a virtual display's GL is slow to start on a loaded machine and makes SDL
    # replace the window; HARNESS_RENDER_DRIVER=opengl checks that path. Under the sanitizers
    # leaks are not looked for here: at exit the X, GL and D-Bus client libraries keep
    # allocations from modules already unloaded, which cannot be told from the game's. The
    # headless tests look for the game's own leaks. A library a test preloads comes before the
    # sanitizers' runtime, which they must be told is fine.
    HOME=$HARNESS_RUNTIME XDG_DATA_HOME=$HARNESS_RUNTIME/data XDG_RUNTIME_DIR=$HARNESS_RUNTIME \
        SDL_AUDIODRIVER=dummy \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:verify_asan_link_order=0" \
        SDL_RENDER_DRIVER=${HARNESS_RENDER_DRIVER:-software} \
        env ${HARNESS_GAME_ENV[@]+"${HARNESS_GAME_ENV[@]}"} \
        "$BUILD/drovana" ${HARNESS_GAME_ARGS[@]+"${HARNESS_GAME_ARGS[@]}"} \
        >"$HARNESS_RUNTIME/game.log" 2>&1 &
    HARNESS_PID=$!
    harness_find_window || return 1
    # At the top-left corner of the X screen the largest window stays whole on it.
    xdotool windowmove "$HARNESS_WINDOW" 0 0 windowsize "$HARNESS_WINDOW" "$width" "$height"
    local deadline=$((SECONDS + 5))
    while harness_geometry; do
        [[ "$HARNESS_LEFT $HARNESS_TOP $HARNESS_WIDTH $HARNESS_HEIGHT" == "0 0 $width $height" ]] &&
            return 0
        if ((SECONDS >= deadline)); then
            echo "the window is ${HARNESS_WIDTH} x ${HARNESS_HEIGHT} at" \
                "(${HARNESS_LEFT}, ${HARNESS_TOP}), not ${width} x ${height} at (0, 0)"
            return 1
        fi
        sleep 0.1
    done
}

# Sets HARNESS_WINDOW to the game's window once it has settled: the window SDL shows first is
# replaced by another when the renderer needs a different kind of window.
harness_find_window() {
    # Generous: on a loaded machine the window can take a while to settle.
    local deadline=$((SECONDS + 60)) last="" found
    HARNESS_WINDOW=""
    while ((SECONDS < deadline)); do
        if ! kill -0 "$HARNESS_PID" 2>/dev/null; then
            echo "the game ended before its window appeared"
            cat "$HARNESS_RUNTIME/game.log"
            return 1
        fi
        # The newest window, once it stays the newest: a replaced one may linger a moment.
        found=$(xdotool search --onlyvisible --name '^Drovana$' 2>/dev/null | sort -n | tail -1)
        if [[ -n $found && $found == "$last" ]]; then
            HARNESS_WINDOW=$found
            return 0
        fi
        last=$found
        sleep 0.3
    done
    echo "the game window did not appear; what the X server holds:"
    xdotool search --name '^Drovana$' 2>&1 | sed 's/^/  window named Drovana: /'
    xwininfo -root -tree 2>&1 | grep -iv 'has no name' | head -20 | sed 's/^/  /'
    return 1
}

# Sets HARNESS_LEFT, HARNESS_TOP, HARNESS_WIDTH, HARNESS_HEIGHT: the window on the X screen.
harness_geometry() {
    # shellcheck disable=SC2034 # the eval sets all six; four are used
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$HARNESS_WINDOW")"
    HARNESS_LEFT=$X HARNESS_TOP=$Y HARNESS_WIDTH=$WIDTH HARNESS_HEIGHT=$HEIGHT
}

# harness_click_window X Y: a left click at a window pixel (a letterbox bar too).
harness_click_window() {
    xdotool mousemove --window "$HARNESS_WINDOW" "$1" "$2" click 1
}

# harness_tap X Y: a left click on the middle of screen pixel (X, Y) as the window shows it.
harness_tap() {
    harness_geometry
    local x y
    read -r x y < <(harness_tool point "$HARNESS_WIDTH" "$HARNESS_HEIGHT" "$1" "$2")
    harness_click_window "$x" "$y"
}

# harness_shot OUT.png: the X screen's picture of the window, brought back to 240 x 320.
harness_shot() {
    harness_geometry
    xwd -silent -root >"$HARNESS_RUNTIME/screen.xwd" &&
        harness_tool crop "$HARNESS_RUNTIME/screen.xwd" "$1" \
            "$HARNESS_LEFT" "$HARNESS_TOP" "$HARNESS_WIDTH" "$HARNESS_HEIGHT"
}

# harness_headless OUT.png FRAMES [X,Y@FRAME ...]: the game's screen on the headless display, as
# the end-to-end driver shows it after FRAMES frames with each tap (in frame order) at its frame.
harness_headless() {
    local out=$1 frames=$2 passed=0 script="" tap at home status
    for tap in "${@:3}"; do
        at=${tap#*@}
        script+="frames $((at - passed))"$'\n'"tap ${tap%@*}"$'\n'
        passed=$at
    done
    script+="frames $((frames - passed))"$'\n'"shot $out"$'\n'
    home=$(mktemp -d)
    "$BUILD/drovana-script" --home "$home" --seed 1 <<<"${script//,/ }" >/dev/null
    status=$?
    rm -rf "$home"
    return $status
}

# harness_expect_screen REFERENCE.png MAX_DIFFERING [SECONDS [COMPARE OPTIONS...]]: waits (15 s
# by default: a loaded machine can be slow to show a frame) until the window shows the reference
# with at most MAX_DIFFERING pixels apart (only where window-shot's --within and --ignore, when
# given, say); prints the last comparison and keeps the last screenshot beside the reference as
# *-window.png, the differences as *-diff.png.
harness_expect_screen() {
    local reference=$1 allowed=$2 seconds=${3:-15}
    local shot=${reference%.png}-window.png differences=${reference%.png}-diff.png
    local deadline=$((SECONDS + seconds)) result
    while :; do
        if harness_shot "$shot" &&
            result=$(harness_tool compare "$shot" "$reference" --at-most "$allowed" \
                --differences "$differences" "${@:4}"); then
            echo "  $(basename "$reference"): $result"
            return 0
        fi
        if ((SECONDS >= deadline)); then
            echo "  $(basename "$reference"): ${result:-no screenshot} (at most $allowed allowed)"
            return 1
        fi
        sleep 0.2
    done
}

# harness_wait_end TENTHS: waits up to TENTHS tenths of a second for the game to end; fails
# when it is still running.
harness_wait_end() {
    for _ in $(seq "$1"); do
        kill -0 "$HARNESS_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    ! kill -0 "$HARNESS_PID" 2>/dev/null
}

# harness_stop: the quit key, as a player would; killed if it does not end. Fails when the game
# had already died or does not end cleanly.
harness_stop() {
    local status=0
    if ! kill -0 "$HARNESS_PID" 2>/dev/null; then
        echo "the game had ended by itself"
        status=1
    else
        if [[ -n ${HARNESS_WINDOW:-} ]]; then
            xdotool mousemove --window "$HARNESS_WINDOW" 10 10 key a
        fi
        if ! harness_wait_end 50; then
            echo "the game did not end on the quit key"
            kill "$HARNESS_PID"
            status=1
        fi
    fi
    wait "$HARNESS_PID" || {
        echo "the game ended with status $?"
        status=1
    }
    ((status == 0)) || cat "$HARNESS_RUNTIME/game.log"
    rm -rf "$HARNESS_RUNTIME"
    return $status
}
