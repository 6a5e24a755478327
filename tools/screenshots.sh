#!/usr/bin/env bash
# Takes the two reference screenshots of the main window under Xvfb, each with a settings folder of its
# own: doc/screenshots/start-no-account.png and doc/screenshots/start-two-accounts.png
# (or into the folder given as first argument). The information page comes from pharmaml-sim when it
# has been built; otherwise the web pane says that the page cannot be reached.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=${1:-$root/doc/screenshots}

if [[ -z "${SOLVARIN_IN_XVFB:-}" ]]; then
    "$root/tools/install-deps.sh"
    "$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF >/dev/null
    mkdir -p "$out"
    SOLVARIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 900x560x24 -noreset" "$0" "$out"
fi

source "$root/tools/script-common.sh"
work_folder

xsetroot -solid '#46535c'

# The pages come from the simulator, or from nowhere (a closed loopback port): never from outside.
pages="URLEditeur=http://127.0.0.1:9"
if [[ -x "$build/bin/pharmaml-sim" ]]; then
    start_simulator "$build" "$work"
    pages="URLEditeur=http://127.0.0.1:$sim_port"
fi

# shot NAME INI-LINES...: runs the program from a folder of its own holding those settings and
# photographs the window with a margin of desktop around its shape.
shot() {
    local name=$1
    shift
    local dir=$work/$name
    mkdir -p "$dir"
    cp "$build/bin/solvarin" "$build/bin/HandIE53232.ico" "$dir/"
    { printf '[Infos]\r\n'; for line in "$@" "$pages"; do printf '%s\r\n' "$line"; done; } |
        iconv -f UTF-8 -t WINDOWS-1252 >"$dir/Solvarin.ini"
    "$dir/solvarin" &
    local pid=$!
    pids+=("$pid")
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -n1 || true)
        [[ -n "$id" ]] && break
        sleep 0.1
    done
    [[ -n "$id" ]] || { echo "the window of $name did not appear" >&2; exit 1; }
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage "$out/$name.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$out/$name.png"
}

shot start-no-account
shot start-two-accounts \
    'AdrPharmacie=Pharmacie du Marché' 'AdeliPharmacie=751234567' \
    'NomRepart1=PHOENIX' 'IdRepart1=23' 'CodeRepart1=PHX075' 'URLRepart1=https://pharmaml.phoenix.example/pml' \
    'NumeroCli1=0999908' 'ClefCli1=4083' \
    'NomRepart2=CERP ROUEN' 'IdRepart2=18' 'CodeRepart2=CRN076' 'URLRepart2=https://pml.cerp-rouen.example/ws' \
    'NumeroCli2=123456' 'ClefCli2=CLEF9876'
