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
