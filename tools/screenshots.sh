#!/usr/bin/env bash
# Takes the reference screenshots under Xvfb, each with a settings folder of its own, into
# doc/screenshots/ (or the folder given as first argument): start-no-account.png,
# start-two-accounts.png, two answers of pharmaml-sim: query-cip13.png (a CIP13 typed as a barcode
# scanner does, then Enter), not-available.png (the red box with the wholesaler's reason),
# expected-date.png (when the product comes back), replacement.png (what the wholesaler offers
# instead, its code a link), scan-datamatrix.png (a box's 2D code as a 2D scanner types it, answered
# with its expiry), two-accounts.png (Enter: both wholesalers' answers side by side), liste.png (the
# list window: 20 codes checked at two simulated wholesalers) and liste-x2.png (the same at 200 %,
# QT_SCALE_FACTOR=2), historique.png and ruptures.png (the history window's two tabs after the same
# list was checked four days ago and today, and one code asked at the counter), and surveillance.png
# (the watch window after a round, below the main window and its alert's banner). The information
# page comes from pharmaml-sim when it has been built;
# otherwise the web pane says that the page cannot be reached, and the answers are not taken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=${1:-$root/doc/screenshots}

if [[ -z "${SOLVARIN_IN_XVFB:-}" ]]; then
    "$root/tools/install-deps.sh"
    "$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF >/dev/null
    mkdir -p "$out"
    SOLVARIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 2560x1600x24 -noreset" "$0" "$out"
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

# [before=FUNCTION] launch NAME INI-LINES...: runs the program from a folder of its own holding those
# settings (section [Infos] until a line opens another), FUNCTION called with the folder first; sets
# `pid`, and `id`, its main window once shown.
launch() {
    local name=$1
    shift
    local dir=$work/$name
    mkdir -p "$dir"
    cp "$build/bin/solvarin" "$build/bin/HandIE53232.ico" "$dir/"
    { printf '[Infos]\r\n'; for line in "$pages" "$@"; do printf '%s\r\n' "$line"; done; } |
        iconv -f UTF-8 -t WINDOWS-1252 >"$dir/Solvarin.ini"
    [[ -z "${before:-}" ]] || "$before" "$dir"
    "$dir/solvarin" &
    pid=$!
    pids+=("$pid")
    id=$(find_window --pid "$pid") || { echo "the window of $name did not appear" >&2; exit 1; }
    sleep 1.5
}

# photograph NAME WINDOW: the window with a margin of desktop around it, into NAME.png; then the
# program ends.
photograph() {
    crop_window "$2" "$out/$1.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$out/$1.png"
}

# [code=CODE] shot NAME INI-LINES...: the main window started with those settings; CODE typed in the
# CIP field ("|" is the group separator a 2D scanner types as Ctrl+]), then Enter, when given.
shot() {
    launch "$@"
    if [[ -n "${code:-}" ]]; then
        xdotool windowfocus --sync "$id"
        xdotool key alt+c
        local part parts
        IFS='|' read -ra parts <<<"$code"
        for part in "${parts[@]}"; do
            [[ "$part" == "${parts[0]}" ]] || xdotool key ctrl+bracketright
            xdotool type --delay 20 "$part"
        done
        xdotool key Return
        sleep 1.5
    fi
    photograph "$1" "$id"
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
code=3589142 shot expected-date "${counter[@]}"
code=3010284 shot replacement "${counter[@]}"
code=']d201034009358291081728123110LOT42|21SN7' shot scan-datamatrix "${counter[@]}"

# The list window: the 20 codes of Liste.txt checked at two wholesalers, the second a little dearer,
# after F4 and Ctrl+Enter in the program.
mkdir -p "$work/sim2"
start_simulator "$build" "$work/sim2" --price-percent 104
account2=('NomRepart2=CERP ROUEN' 'IdRepart2=18' 'CodeRepart2=CRN076' 'URLRepart2=http://127.0.0.1/pml'
    "PortRepart2=$sim_port" 'NumeroCli2=123456' 'ClefCli2=CLEF9876')
code=3582910 shot two-accounts "${counter[@]}" "${account2[@]}"
codes=(3582910 2756339 3153342 3400892 3319434 3004642 3592231 3356812 3622757 3267408
    3400935829108 3641820 3589142 3010284 3172637 3298463 3433729 3540096 3611228 3003578)
# liste_shot NAME: the list window of a program started from a folder of its own, photographed.
liste_shot() {
    mkdir -p "$work/$1"
    printf '%s,1\r\n' "${codes[@]}" >"$work/$1/Liste.txt"
    launch "$1" "${counter[@]}" "${account2[@]}" \
        '[Liste]' 'Gauche=20' 'Haut=30' 'Largeur=1240' 'Hauteur=560'
    xdotool windowfocus --sync "$id"
    xdotool key F4
    liste=$(find_window --name 'Vérifier une liste') || { echo "the list window did not appear" >&2; exit 1; }
    xdotool windowfocus --sync "$liste"
    xdotool key ctrl+Return
    sleep 1.5
    photograph "$1" "$liste"
}
liste_shot liste
QT_SCALE_FACTOR=2 liste_shot liste-x2

# The history: the list checked by solvarin-query, those answers moved four days back, checked again
# today, one code asked at the counter, then F6 and the shortage tab.
hist=$work/historique
mkdir -p "$hist"
{ printf '[Infos]\r\n'; for line in "$pages" "${counter[@]}" \
    'NomRepart2=CERP ROUEN' 'IdRepart2=18' 'CodeRepart2=CRN076' 'URLRepart2=http://127.0.0.1/pml' \
    "PortRepart2=$sim_port" 'NumeroCli2=123456' 'ClefCli2=CLEF9876'; do printf '%s\r\n' "$line"; done; } |
    iconv -f UTF-8 -t WINDOWS-1252 >"$hist/Solvarin.ini"
"$build/bin/solvarin-query" --liste "$hist" "${codes[@]:0:10}" >/dev/null || true
python3 -c 'import sqlite3, sys; db = sqlite3.connect(sys.argv[1]); db.execute("UPDATE reponse SET horodatage = horodatage - 96 * 3600"); db.commit()' "$hist/Solvarin.db"
"$build/bin/solvarin-query" --liste "$hist" "${codes[@]:0:10}" >/dev/null || true
rm -f "$hist/Solvarin.ini"
launch historique "${counter[@]}" \
    'NomRepart2=CERP ROUEN' 'IdRepart2=18' 'CodeRepart2=CRN076' 'URLRepart2=http://127.0.0.1/pml' \
    "PortRepart2=$sim_port" 'NumeroCli2=123456' 'ClefCli2=CLEF9876'
xdotool windowfocus --sync "$id"
xdotool key alt+c
xdotool type --delay 20 3153342
xdotool key F2
sleep 1.5
xdotool key F6
historique=$(find_window --name 'Historique') || { echo "the history window did not appear" >&2; exit 1; }
xdotool windowmove "$historique" 20 30
sleep 1.5
crop_window "$historique" "$out/historique.png"
echo "$out/historique.png"
xdotool windowfocus --sync "$historique"
xdotool key ctrl+Tab
sleep 1.5
photograph ruptures "$historique"

# The watch: three products watched beforehand, the round the program runs at start-up (open every
# day, all day), its banner in the main window, then F8 for the watch window below it.
watch_three() { "$build/bin/solvarin-query" --surveillance-ajoute "$1" 3582910 3153342 3400892; }
before=watch_three launch surveillance "${counter[@]}" \
    'NomRepart2=CERP ROUEN' 'IdRepart2=18' 'CodeRepart2=CRN076' 'URLRepart2=http://127.0.0.1/pml' \
    "PortRepart2=$sim_port" 'NumeroCli2=123456' 'ClefCli2=CLEF9876' \
    '[Surveillance]' 'Jours=lun-dim' 'Heures=00:00-23:59' 'Son=0'
xdotool windowmove --sync "$id" 40 40
xdotool windowfocus --sync "$id"
xdotool key F8
watch=$(find_window --name 'Surveillance des manquants') || { echo "the watch window did not appear" >&2; exit 1; }
xdotool windowsize --sync "$watch" 1000 300
xdotool windowmove --sync "$watch" 40 430
sleep 1
import -window root -crop 1080x710+20+20 +repage "$out/surveillance.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "$out/surveillance.png"
