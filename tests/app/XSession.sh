# Sourced by the tests that run the panel on its own X display: an Xvfb, a
# window manager on it (or none), the frame of a window as the X server and the
# window manager tell it, and polling with a deadline. The sourcing script sets
# `label` (named in failures) and `work` (a folder removed at exit), and puts
# the pids it starts in `pids`, which are ended at exit, last started first.
pids=()
end_session() {
  local index
  for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
    end_process "${pids[index]}"
  done
  rm -rf "$work"
}
# Asks the process to end, and ends it when it has not within ten seconds.
end_process() {
  local tries
  kill "$1" 2>/dev/null
  for ((tries = 0; tries < 100; tries++)); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null && echo "process $1 ($(ps -o comm= -p "$1")) did not end on SIGTERM"
  wait "$1" 2>/dev/null
}
trap end_session EXIT
fail() { echo "FAIL ($label): $*"; exit 1; }
# Polls a condition until it holds or the deadline passes.
wait_for() {
  local deadline=$((SECONDS + 30))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
# Skips the test (status 77) when a tool it needs is not installed.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

# start_display WIDTHxHEIGHT: an Xvfb screen of that size as DISPLAY.
start_display() {
  mkfifo "$work/display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$1x24" 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  local display
  read -r -t 30 display <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
}

# start_window_manager NAME: openbox, fluxbox or none.
start_window_manager() {
  local manager=$1 wm="" attempt
  [ "$manager" = none ] && return 0
  managing() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  # A window manager that lost the race for the new display is started again.
  for attempt in 1 2 3; do
    "$manager" >"$work/wm.log" 2>&1 &
    wm=$!
    # Polled until it manages the display or has ended.
    settled() { managing || ! kill -0 "$wm" 2>/dev/null; }
    wait_for settled
    managing && break
    kill "$wm" 2>/dev/null
    wm=""
  done
  [ -n "$wm" ] || fail "$manager did not start: $(cat "$work/wm.log")"
  pids+=("$wm")
}

# frame_of WINDOW: its outer frame, "left top width height".
frame_of() {
  local info extents l=0 r=0 t=0 b=0
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
  [ -n "$extents" ] && read -r l r t b <<<"$extents"
  local x y w h
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# client_origin_of WINDOW: where its client area starts, "left top".
client_origin_of() {
  local info
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  echo "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") $(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")"
}

# shown TITLE: the visible window whose title matches, once it is there.
shown() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# gone WINDOW: holds once the window is no longer shown.
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
# How many windows of the panel are shown, its menus included.
panel_windows() { xdotool search --onlyvisible --class tovrana 2>/dev/null | wc -l; }

# open_context_menu WINDOW: the focused button's context menu, opened from the
# keyboard with the pointer away from where the menu opens.
open_context_menu() {
  local before
  xdotool mousemove 1000 740
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  before=$(panel_windows)
  xdotool key shift+F10
  menu_shown() { [ "$(panel_windows)" -gt "$before" ]; }
  wait_for menu_shown || fail "the context menu did not open"
}
