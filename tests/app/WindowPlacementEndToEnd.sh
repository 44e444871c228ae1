#!/usr/bin/env bash
# The main window's frame under a real window manager (started here on its own
# Xvfb, or none): six starts, each at a stored frame that moves between them,
# find the frame where it was stored and save what was shown; a frame with its
# title bar above the screen opens centred; a stored 40000 by 40000 window
# opens no larger than the screen; a maximising is undone and its bounds are
# never saved.
# Usage: WindowPlacementEndToEnd.sh <path of tovrana> <openbox|fluxbox|none>
set -uo pipefail

manager=$2
label=$manager
work=$(mktemp -d)
# shellcheck source=XSession.sh
source "$(dirname "$0")/XSession.sh"
need_tools Xvfb xdotool xwininfo xprop wmctrl
[ "$manager" = none ] || command -v "$manager" >/dev/null ||
  { echo "skipped: $manager is not installed"; exit 77; }

cp "$1" "$work/tovrana" || fail "cannot copy $1"
start_display 1024x768
start_window_manager "$manager"

store() {
  printf '[Windows]\r\nMain Left=%s\r\nMain Top=%s\r\nMain Width=%s\r\nMain Height=%s\r\n' "$@"
  printf '[Ports]\r\nCOM1=/nonexistent/port1\r\n'
}
# The outer frame as the X server and the window manager tell it, not as the
# panel believes it.
frame() { frame_of "$window"; }
saved() {
  local key values=""
  for key in Left Top Width Height; do
    values+="$(tr -d '\r' <"$work/tovrana.ini" | sed -n "s/^Main $key=//p") "
  done
  echo "${values% }"
}
start() {
  "$work/tovrana" >"$work/out.log" 2>&1 &
  app=$!
  pids+=("$app")
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tovrana$' | head -n 1)
  [ -n "$window" ] || fail "no window appeared: $(cat "$work/out.log")"
}
stop() {
  kill -TERM "$app"
  wait "$app" || fail "exit status $? after SIGTERM: $(cat "$work/out.log")"
  unset 'pids[-1]'
}
frame_is() { [ "$(frame)" = "$1" ]; }

# The first start may give up the remainder of the grid's division; from then
# on what was saved is restored exactly, wherever it is stored.
width=404
height=304
for run in 1 2 3 4 5 6; do
  left=$((40 + 57 * run))
  top=$((30 + 41 * run))
  store "$left" "$top" "$width" "$height" >"$work/tovrana.ini"
  start
  if [ "$run" -eq 1 ]; then
    at_stored_place() { read -r x y _ <<<"$(frame)" && [ "$x $y" = "$left $top" ]; }
    wait_for at_stored_place || fail "start 1 framed at $(frame), stored $left $top"
  else
    wait_for frame_is "$left $top $width $height" ||
      fail "start $run framed at $(frame), stored $left $top $width $height"
  fi
  shown=$(frame)
  stop
  [ "$(saved)" = "$shown" ] || fail "start $run showed $shown and saved $(saved)"
  read -r _ _ width height <<<"$shown"
done

# The title bar one pixel above the screen: centred on what the window manager
# leaves of it (its work area, without panels and toolbars).
read -r area_x area_y area_w area_h < <(xprop -root _NET_WORKAREA 2>/dev/null |
  sed -n 's/.*= //p' | tr -d , | cut -d' ' -f1-4)
area_x=${area_x:-0} area_y=${area_y:-0} area_w=${area_w:-1024} area_h=${area_h:-768}
store 100 -1 "$width" "$height" >"$work/tovrana.ini"
start
centred="$((area_x + (area_w - width) / 2)) $((area_y + (area_h - height) / 2)) $width $height"
wait_for frame_is "$centred" || fail "title bar above the screen framed at $(frame)"
stop

# Far larger than the screen: no larger than the screen, and saved as shown.
store 0 0 40000 40000 >"$work/tovrana.ini"
start
fits() { read -r x y w h <<<"$(frame)" && [ "$w" -le 1024 ] && [ "$h" -le 768 ] && [ "$w" -gt 250 ]; }
wait_for fits || fail "a 40000 by 40000 window framed at $(frame)"
stop
read -r _ _ w h <<<"$(saved)"
[ "$w" -le 1024 ] && [ "$h" -le 768 ] || fail "a 40000 by 40000 window saved $(saved)"

# A maximising is undone, and the frame from before it is what is saved.
if [ "$manager" != none ]; then
  store 200 150 "$width" "$height" >"$work/tovrana.ini"
  start
  wait_for frame_is "200 150 $width $height" || fail "framed at $(frame) before maximising"
  wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
  # The window manager handles requests in order: once it has put the window
  # above, it has handled the maximising too.
  wmctrl -i -r "$window" -b add,above
  above() { xprop -id "$window" _NET_WM_STATE | grep -q ABOVE; }
  wait_for above || fail "$manager did not handle the requests"
  normal() { read -r _ _ w h <<<"$(frame)" && [ "$w" -lt 1024 ] && [ "$h" -lt 768 ]; }
  wait_for normal || fail "maximised to $(frame)"
  stop
  read -r _ _ w h <<<"$(saved)"
  [ "$w" -lt 1024 ] && [ "$h" -lt 768 ] || fail "saved $(saved) after maximising"
fi
echo "PASS"
