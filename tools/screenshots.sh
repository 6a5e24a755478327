#!/usr/bin/env bash
# Takes the reference screenshots of the main window under Xvfb, each with a settings folder of its
# own, into doc/screenshots/ (or the folder given as first argument): start-no-account.png,
# start-two-accounts.png, and two answers of pharmaml-sim: query-cip13.png (a CIP13 typed as a barcode
# scanner does, then F2) and not-available.png (the red box with the wholesaler's reason). The
# information page comes from pharmaml-sim when it has been built; otherwise the web pane says that the
# page cannot be reached, and the two answers are not taken.
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

# [code=CODE] shot NAME INI-LINES...: runs the program from a folder of its own holding those settings,
# types CODE in the CIP field, Enter and F2 when given, and photographs the window with a margin of
# desktop around its shape.
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
    if [[ -n "${code:-}" ]]; then
        xdotool windowfocus --sync "$id"
        xdotool key alt+c
        xdotool type --delay 20 "$code"
        xdotool key Return F2
        sleep 1.5
    fi
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

[[ -n "${sim_port:-}" ]] || exit 0
counter=('AdrPharmacie=Pharmacie du Marché' 'AdeliPharmacie=751234567'
    'NomRepart1=PHOENIX' 'IdRepart1=23' 'CodeRepart1=PHX075' 'URLRepart1=http://127.0.0.1/pharmaml'
    "PortRepart1=$sim_port" 'NumeroCli1=0999908' 'ClefCli1=4083')
code=3400935829108 shot query-cip13 "${counter[@]}"
code=3400892 shot not-available "${counter[@]}"
