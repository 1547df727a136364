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
        command -v gdb >/dev/null &&
            timeout 60 gdb -p "$pid" -batch -ex 'thread apply all bt 12' 2>/dev/null | grep '^#\|^Thread' | head -n 60
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

# Sets `window` to the game's window once it has appeared; fails after 30 seconds.
wait_for_window() {
    window=""
    find_window() { window="$(xdotool search --name '^Vorl Game$' 2>/dev/null | head -n 1)"; [ -n "$window" ]; }
    wait_for find_window 30 || fail "no window named \"Vorl Game\" appeared"
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
