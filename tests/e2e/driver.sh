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
}

# Says what went wrong, shows the end of the game's output, stops the game and cleans up.
fail() {
    echo "FAIL: $*"
    echo "--- game output ---"
    tail -n 60 "$out" 2>/dev/null
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
    exit 1
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

# Sets `window` to the game's window once it has appeared; fails after 30 seconds.
wait_for_window() {
    window=""
    find_window() { window="$(xdotool search --name '^Vorl Game$' 2>/dev/null | head -n 1)"; [ -n "$window" ]; }
    wait_for find_window 30 || fail "no window named \"Vorl Game\" appeared; $(x_server_state)"
}

# For a failure report: whether the game still runs, and the windows the X server holds.
x_server_state() {
    local game="gone"
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && game="running"
    echo "the game is $game; the X server's windows:"
    xwininfo -root -children 2>&1 | sed -n '/child/,$p' | head -n 20
}

# Waits for the game to end by itself after `$1` (what the player did) and checks it ended well.
expect_clean_exit() {
    wait_for '! kill -0 "$pid" 2>/dev/null' 20 || fail "the game did not end after $1"
    wait "$pid"
    local status=$?
    [ "$status" -eq 0 ] || fail "the game exited with status $status after $1"
    echo "$1: exit status 0"
    rm -rf "$work"
}
