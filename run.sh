#!/usr/bin/env bash
# Sets up, builds and runs Solvarin against the Pharma-ML wholesaler simulator (tools/pharmaml-sim).
# The program runs from demo/, a settings folder of its own, made on the first run: a pharmacy, account 1
# at the simulator, the maker's pages served by the simulator. Without a display it runs under Xvfb,
# asks for one catalogue product by simulated key presses, writes solvarin-demo.png and exits.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=$root/build
demo=$root/demo
shot=$root/solvarin-demo.png
cip=3582910 # in the simulator's catalogue: available, three prices

if [[ -z "${SOLVARIN_DEMO_XVFB:-}" ]]; then
    "$root/tools/install-deps.sh"
    BUILD_DIR=$build "$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF
    if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
        echo "No display: one query under Xvfb, answer photographed in $shot"
        SOLVARIN_DEMO_XVFB=1 exec xvfb-run -a -s "-screen 0 900x560x24 -noreset" "$0"
    fi
fi

source "$root/tools/script-common.sh"
work_folder

start_simulator "$build" "$work"
port=$sim_port
echo "pharmaml-sim listens on 127.0.0.1:$port"

mkdir -p "$demo"
ini=$demo/Solvarin.ini
if [[ ! -f "$ini" ]]; then
    # Lines end with CR LF and the file is in Windows-1252, as the program writes it.
    printf '%s\r\n' '[Infos]' 'AdrPharmacie=Pharmacie du Marché' 'AdeliPharmacie=751234567' \
        'NomRepart1=PHOENIX' 'IdRepart1=23' 'CodeRepart1=PHX075' 'URLRepart1=http://127.0.0.1/pharmaml' \
        "PortRepart1=$port" 'NumeroCli1=0999908' 'ClefCli1=4083' "URLEditeur=http://127.0.0.1:$port" |
        iconv -f UTF-8 -t WINDOWS-1252 >"$ini"
    echo "Demo settings written to $ini"
else
    # The simulator's port changes from run to run; the rest of the settings is the user's.
    sed -i "s|^URLEditeur=http://127\.0\.0\.1:[0-9]*|URLEditeur=http://127.0.0.1:$port|" "$ini"
    if grep -q '^URLRepart1=http://127\.0\.0\.1/' "$ini"; then
        sed -i "s|^PortRepart1=[0-9]*|PortRepart1=$port|" "$ini"
    fi
fi

# The program reads its settings beside itself: it runs from a copy in the demo folder.
cp -f "$build/bin/solvarin" "$build/bin/HandIE53232.ico" "$build"/bin/libTOVA_Button.so* "$demo/"

if [[ -z "${SOLVARIN_DEMO_XVFB:-}" ]]; then
    echo "Catalogue of the simulator:"
    tail -n +3 "$work/sim.out" | head -n 5
    "$demo/solvarin"
    exit 0
fi

xsetroot -solid '#46535c'
"$demo/solvarin" &
pid=$!
pids+=("$pid")
id=$(find_window --pid "$pid") || { echo "the window of solvarin did not appear" >&2; exit 1; }
sleep 2 # the information page comes first
xdotool windowfocus --sync "$id"
xdotool key alt+c
xdotool type --delay 60 "$cip"
xdotool key F2
sleep 2
crop_window "$id" "$shot"
echo "$shot"
