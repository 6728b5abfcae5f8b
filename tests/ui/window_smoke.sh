#!/usr/bin/env bash
# Runs a window program under a private Xvfb, waits for its "Atenção" message
# box, keeps a screenshot, presses Return and checks the exit code is 0.
#
#   window_smoke.sh [--window WxH] [--shot FILE.png] PROGRAM [ARGS...]
#
# --window: a visible window of that size must be up when the box shows.
# --shot:   where to keep the screenshot (default: a temporary file, printed).
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail

window_size=
shot=
while (($#)); do
  case $1 in
    --window) window_size=$2; shift 2 ;;
    --shot) shot=$2; shift 2 ;;
    *) break ;;
  esac
done
(($#)) || { echo "usage: $0 [--window WxH] [--shot FILE.png] PROGRAM [ARGS...]" >&2; exit 2; }

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*" >&2
  for log in program.err xvfb.log; do
    [[ -s $work/$log ]] && { echo "--- $log" >&2; cat "$work/$log" >&2; }
  done
  exit 1
}

# Runs "$@" every 0.1 s until it succeeds, for at most $1 seconds.
retry() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
# The number is complete once its line ends; then wait until the server
# answers, so a loaded machine cannot start the program before X is up (it
# would fall back to the terminal).
display_written() { [[ $(tail -c1 "$work/display" 2>/dev/null) == "" && -s $work/display ]]; }
retry 10 display_written || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
retry 10 xdotool getmouselocation >/dev/null 2>&1 || fail "Xvfb does not answer on $DISPLAY"

"$@" >"$work/program.out" 2>"$work/program.err" &
program_pid=$!

# xdotool cannot match non-ASCII patterns; the title is checked whole below.
find_box() { box=$(xdotool search --onlyvisible --name '^Aten' 2>/dev/null | head -n1) && [[ -n $box ]]; }
retry 20 find_box || fail "no message box appeared"
title=$(xdotool getwindowname "$box")
[[ $title == "Atenção" ]] || fail "message box title is '$title'"
echo "message box: window $box, title '$title'"

if [[ -n $window_size ]]; then
  found=
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry "$id" | sed -n 's/^ *Geometry: //p')
    [[ $geometry == "$window_size" ]] && found=$id
  done
  [[ -n $found ]] || fail "no visible ${window_size} window"
  echo "window: $found, $window_size, at $(xdotool getwindowgeometry "$found" | sed -n 's/^ *Position: //p')"
fi

if command -v xwd >/dev/null && command -v convert >/dev/null; then
  shot=${shot:-$(mktemp --suffix=.png)}
  xwd -root -silent | convert xwd:- "$shot"
  echo "screenshot: $shot"
fi

xdotool windowfocus "$box" key Return
retry 10 eval '! kill -0 "$program_pid" 2>/dev/null' || fail "program still running after Return"
status=0
wait "$program_pid" || status=$?
program_pid=
((status == 0)) || fail "program exited with $status"
echo "program exited with 0"
