#!/usr/bin/env bash
# The panel's dialogs under a real window manager (started here on its own
# Xvfb, or none), for a small panel in the screen's top-left corner: the
# configuration dialog and the About box open with their whole frame on the
# screen, and the "Com port error." box of a click on an absent port has its
# frame, not its client area, at the clicked button.
# Usage: DialogPlacementEndToEnd.sh <path of tovrana> <openbox|fluxbox|none>
set -uo pipefail

manager=$2
label=$manager
work=$(mktemp -d)
# shellcheck source=XSession.sh
source "$(dirname "$0")/XSession.sh"
need_tools Xvfb xdotool xwininfo xprop
[ "$manager" = none ] || command -v "$manager" >/dev/null ||
  { echo "skipped: $manager is not installed"; exit 77; }

cp "$1" "$work/tovrana" || fail "cannot copy $1"
start_display 1024x768
start_window_manager "$manager"

# One button on output 1, whose port does not exist.
printf '[Windows]\r\nMain Left=0\r\nMain Top=0\r\nMain Width=250\r\nMain Height=150\r\n' \
  >"$work/tovrana.ini"
printf '[General]\r\nButton Rows=1\r\nButton Cols=1\r\nShow Com Port Errors=1\r\n' >>"$work/tovrana.ini"
printf '[Output 1]\r\nPort Number=1\r\n[Ports]\r\nCOM1=/nonexistent/port1\r\n' >>"$work/tovrana.ini"
printf '[Button 1]\r\nCaption=Absent\r\nData=65\r\nOutput=1\r\n' >>"$work/tovrana.ini"

"$work/tovrana" >"$work/out.log" 2>&1 &
pids+=($!)
window=$(shown '^Tovrana$')
[ -n "$window" ] || fail "no window appeared: $(cat "$work/out.log")"
at_corner() { read -r x y _ <<<"$(frame_of "$window")" && [ "$x $y" = "0 0" ]; }
wait_for at_corner || fail "the panel framed at $(frame_of "$window")"

on_screen() {
  local x y w h
  read -r x y w h <<<"$(frame_of "$1")" || return 1
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ]
}
# Picks the context menu's item so many places from its end.
menu_item_from_end() {
  local keys=() i
  open_context_menu "$window"
  for ((i = 0; i < $1; i++)); do keys+=(Up); done
  xdotool key "${keys[@]}" Return
}

# open_on_screen STEPS TITLE NAME: the menu item STEPS places from the end
# opens the window titled TITLE wholly on the screen, and Escape closes it.
open_on_screen() {
  menu_item_from_end "$1"
  local dialog
  dialog=$(shown "$2")
  [ -n "$dialog" ] || fail "the $3 did not open: $(cat "$work/out.log")"
  wait_for on_screen "$dialog" || fail "the $3 framed at $(frame_of "$dialog")"
  xdotool key Escape
  wait_for gone "$dialog" || fail "the $3 did not close"
}
open_on_screen 3 '^Configuration$' "configuration dialog"
open_on_screen 1 '^About ' "About box"

# Button 1 fills the client area: its top-left corner is the client's.
read -r button_x button_y <<<"$(client_origin_of "$window")"
xdotool mousemove --window "$window" 20 10 click 1
box=$(shown '^Error$')
[ -n "$box" ] || fail "no error box after the click: $(cat "$work/out.log")"
at_button() { read -r x y _ <<<"$(frame_of "$box")" && [ "$x $y" = "$button_x $button_y" ]; }
wait_for at_button || fail "the error box framed at $(frame_of "$box"), the button at $button_x $button_y"
echo "PASS"
