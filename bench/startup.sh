#!/usr/bin/env bash
# Start-up of the program under Xvfb, 10 runs: time from process start to the main window shown, and
# resident memory once it is up. Prints a Markdown section. Needs BUILD_DIR (bench.sh sets it).
set -euo pipefail
build=${BUILD_DIR:?}
runs=${RUNS:-10}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

# The program reads its settings beside itself: run a copy from a folder of its own, no account set.
cp "$build/bin/solvarin" "$build"/bin/libTOVA_Button.so* "$work/" 2>/dev/null || cp "$build/bin/solvarin" "$work/"
cp "$build"/bin/*.ico "$work/" 2>/dev/null || true
printf '[Infos]\r\nURLEditeur=http://127.0.0.1:9\r\n' > "$work/Solvarin.ini"

# A display of our own, well away from the low numbers other programs take; another number when
# it is already taken (our server then ends at once). No reset when the last client leaves: a
# server resetting refuses the next program's connection.
xvfb=
for _ in $(seq 10); do
  n=$((200 + RANDOM % 600))
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do
    kill -0 "$xvfb" 2>/dev/null || break
    xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$xvfb" 2>/dev/null || true
  xvfb=
done
[[ -n "$xvfb" ]] || { echo "no display could be started" >&2; exit 1; }

times=() rss=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$work/solvarin" >"$work/output" 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name 'Disponibilit' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "the program ended before showing its window:" >&2; cat "$work/output" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  sleep 1
  rss+=("$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  times+=("$(( (end - start) / 1000000 ))")
done

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
rss_median=$(printf '%s\n' "${rss[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "## Start-up (bench/startup.sh, Xvfb, $runs runs)"
echo
echo "| measure | median | min | max |"
echo "|---|---|---|---|"
echo "| process start to main window shown | ${median} ms | $(echo "$sorted" | head -1) ms | $(echo "$sorted" | tail -1) ms |"
echo "| resident memory after start-up | $((rss_median / 1024)) MiB | $(( $(printf '%s\n' "${rss[@]}" | sort -n | head -1) / 1024 )) MiB | $(( $(printf '%s\n' "${rss[@]}" | sort -n | tail -1) / 1024 )) MiB |"
echo
