# What every end-to-end script does to drive the game as a person would. Sourced by the script,
# which then sets `work` (its scratch folder) and `out` (the game's captured output), most through
# game_script_setup; `pid` holds the game's process once started.
pid=""

# The usual start of a script run as `<script> <vorl> <repo>`: the game, the repository, its
# reference screenshots, a scratch folder and the file the game's output goes to.
game_script_setup() {
    vorl="$1"
    repo="$2"
    references="$repo/tests/e2e/references"
    work="$(mktemp -d)"
    out="$work/stdout"
    # The game keeps the player's progress in the user's data folder: each script has its own,
    # so that scripts run side by side, and none meets a returning player's Continue by chance.
    export XDG_DATA_HOME="$work/data"
    # And its settings in the user's config folder: the player's own are never touched.
    export XDG_CONFIG_HOME="$work/config"
}

# Says what went wrong and why: the game's state and output, the X server's windows and a
# screenshot; then stops the game and cleans up.
fail() {
    echo "FAIL: $*"
    failure_report
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
    exit 1
}

# What a failed wait needs to be understood: whether the game runs and where its threads are, what
# the X server holds, what the screen shows, and the end of the game's output.
failure_report() {
    local shot="${TMPDIR:-/tmp}/vorl-$(basename "$0" .sh)-failure.png"
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        echo "--- the game (pid $pid) is running: $(awk '/^State/ {print $2, $3}' /proc/"$pid"/status 2>/dev/null) ---"
        # Where the main thread is, and what the others are.
        command -v gdb >/dev/null &&
            timeout 60 gdb -p "$pid" -batch -ex 'thread 1' -ex 'bt 15' -ex 'info threads' 2>/dev/null |
            grep '^#\|^ *[0-9]\+ *Thread\|^\* *1 ' | cut -c1-160
    else
        echo "--- the game is not running ---"
    fi
    echo "--- the X server on $DISPLAY ---"
    if xdpyinfo >/dev/null 2>&1; then
        xwininfo -root -tree 2>&1 | sed -n '/child/,$p' | head -n 20
        import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
    else
        echo "does not answer: $(xdpyinfo 2>&1 | head -n 1)"
    fi
    echo "--- game output ---"
    tail -n 60 "$out" 2>/dev/null
}

# Waits up to $2 seconds for command $1 to succeed.
wait_for() {
    local deadline=$((SECONDS + $2))
    until eval "$1"; do
        [ $SECONDS -ge "$deadline" ] && return 1
        sleep 0.2
    done
}

# Holds the key for a few frames, as a hand does.
press() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
    sleep 0.4
}

# Sets `window` to the game's window once it has appeared. The limit is for a machine whose two
# cores are busy with other work: the window comes in about a second on an idle one.
wait_for_window() {
    window=""
    find_window() { window="$(xdotool search --name '^Vorl Game$' 2>/dev/null | head -n 1)"; [ -n "$window" ]; }
    wait_for find_window 120 || fail "no window named \"Vorl Game\" appeared"
}

# Starts the game in the repository with the environment given (NAME=value ...), its output in
# `out`, and waits for its window (`pid` is the game's), the pointer in a corner away from the
# menus.
start_game() {
    (cd "$repo" && exec env "$@" "$vorl" </dev/null >"$out" 2>&1) &
    pid=$!
    wait_for_window
    xdotool mousemove 5 5
}

stop_game() {
    kill "$pid"
    wait "$pid" 2>/dev/null
}

# Screenshots: `shot_scale` (percent) and `shot_tolerance` (root-mean-square difference on a 0..1
# scale) say how closely a screen must match its reference. The default is the whole picture
# within 0.02 (software rendering differs only in fringes); a script comparing screens full of
# moving particles uses a quarter size and 0.06.
shot_scale=100
shot_tolerance=0.02

take() {  # take <file> [region WxH+X+Y, in screen pixels]
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    import -window root "${crop[@]}" -resize "$shot_scale%" "$1" 2>/dev/null
}
difference() {  # difference <picture> <picture>: their RMSE on a 0..1 scale
    compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}
below() { awk -v e="$1" -v t="$2" 'BEGIN { exit !(e != "" && e < t) }'; }

# Whether the screen (or region $2) shows reference $references/$1.png now.
on_screen() {
    take "$work/now.png" "${2:-}" && below "$(difference "$work/now.png" "$references/$1.png")" "$shot_tolerance"
}

# Waits up to $2 seconds until the screen (or region $3) shows reference $references/$1.png.
# VORL_UPDATE_GOLDEN=1 rewrites the reference instead, after `settle` seconds (default 3);
# VORL_KEEP_SHOTS=<folder> keeps a copy of each matched screen there.
wait_for_screen() {
    local name="$1" timeout="$2" region="${3:-}" reference="$references/$1.png"
    local shot="$work/$name.png" e=""
    if [ -n "${VORL_UPDATE_GOLDEN:-}" ]; then
        sleep "${settle:-3}"
        take "$reference" "$region"
        echo "$name: reference rewritten"
        return
    fi
    [ -f "$reference" ] || fail "no reference $reference"
    local deadline=$((SECONDS + timeout))
    while :; do
        take "$shot" "$region"
        e="$(difference "$shot" "$reference")"
        if below "$e" "$shot_tolerance"; then
            echo "$name: on screen (RMSE $e)"
            [ -n "${VORL_KEEP_SHOTS:-}" ] && cp "$shot" "$VORL_KEEP_SHOTS/$name.png"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for $name"
        [ $SECONDS -ge "$deadline" ] && break
        sleep 0.3
    done
    cp "$shot" "${TMPDIR:-/tmp}/vorl-$name-actual.png"
    fail "$name never showed (last RMSE $e; picture kept in ${TMPDIR:-/tmp}/vorl-$name-actual.png)"
}

# Screens that show for a few seconds and move on by themselves (the splash, the gamepad notice)
# are too quick to compare while they show on a busy machine: shoot_until <name> <seconds> shoots
# the screen as fast as it can into $work/shots/ until reference <name> shows, and shown_in_order
# <name>... then says whether the shots showed those references one after the other (the shot of
# the last is left in `shown_shot`).
shoot_until() {
    rm -rf "$work/shots"
    mkdir -p "$work/shots"
    (
        n=10000
        while [ -d "$work/shots" ] && [ ! -e "$work/shots/stop" ]; do
            take "$work/shots/$n.png"
            n=$((n + 1))
        done
    ) &
    local shooter=$!
    # Always compared: a reference the script rewrites is rewritten before this.
    VORL_UPDATE_GOLDEN="" wait_for_screen "$1" "$2"
    touch "$work/shots/stop"
    wait "$shooter"
}
shown_in_order() {
    local name shot found=""
    local shots=("$work"/shots/*.png)
    local i=0
    for name in "$@"; do
        found=""
        while [ $i -lt ${#shots[@]} ]; do
            shot="${shots[$i]}"
            i=$((i + 1))
            if below "$(difference "$shot" "$references/$name.png")" "$shot_tolerance"; then
                found="$shot"
                shown_shot="$shot"
                echo "$name: shown ($(basename "$shot") of ${#shots[@]} shots)"
                break
            fi
        done
        [ -n "$found" ] || { echo "$name: not among the shots after the one before it"; return 1; }
    done
}

# Waits up to $2 seconds until the screen (or region $3) no longer shows reference $1; with
# VORL_UPDATE_GOLDEN only waits a moment, as the reference may not be in step yet.
wait_for_screen_to_leave() {
    if [ -n "${VORL_UPDATE_GOLDEN:-}" ]; then
        sleep 1
        return 0
    fi
    wait_for "! on_screen $1 ${3:-}" "$2"
}

# Waits for the game to end by itself after `$1` (what the player did) and checks it ended well.
expect_clean_exit() {
    wait_for '! kill -0 "$pid" 2>/dev/null' 60 || fail "the game did not end after $1"
    wait "$pid"
    local status=$?
    [ "$status" -eq 0 ] || fail "the game exited with status $status after $1"
    echo "$1: exit status 0"
    rm -rf "$work"
}
