# Sourced by the scripts that run the program or the simulator in the background.

# work_folder: makes a temporary folder `work` and an array `pids`; when the script exits, every
# process in `pids` is stopped and the folder removed.
work_folder() {
    work=$(mktemp -d)
    pids=()
    trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
}

# start_simulator BUILD WORK [OPTION...]: starts BUILD/bin/pharmaml-sim on a free loopback port with
# those options, its output in WORK/sim.out, appends its pid to `pids` and sets `sim_port`. Fails if it
# does not start.
start_simulator() {
    local build=$1 work=$2
    "$build/bin/pharmaml-sim" --port 0 "${@:3}" >"$work/sim.out" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [[ -s "$work/sim.out" ]] && break; sleep 0.1; done
    sim_port=$(head -n1 "$work/sim.out")
    [[ "$sim_port" =~ ^[0-9]+$ ]] || { echo "pharmaml-sim did not start: $(cat "$work/sim.out")" >&2; return 1; }
}

# find_window XDOTOOL-SEARCH-ARGS...: the first visible window that matches, waiting up to 10 s.
find_window() {
    local found=""
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n1 || true)
        [[ -n "$found" ]] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}

# crop_window WINDOW FILE: the window with a margin of desktop around it, as a picture in FILE.
crop_window() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage "$2"
}
