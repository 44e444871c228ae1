#!/usr/bin/env bash
# Two starts of the real executable on one settings file, under Xvfb. The
# second start finds the first panel, brings it to the front and ends without
# touching the file. When the first does not answer (it is stopped), the
# second runs read-only: its close writes nothing. The first panel's close
# then saves its own edit (its window was moved).
# Usage: TwoPanels.sh <path of tovrana>
set -uo pipefail

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb=""
first=""
second=""
cleanup() {
  [ -n "$first" ] && kill -CONT "$first" 2>/dev/null && kill "$first" 2>/dev/null
  [ -n "$second" ] && kill "$second" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Waits until the process pid has written a line matching pattern to its log,
# or has ended without it (60 s at most).
wait_for_line() {
  timeout 60 grep -m1 -q "$2" <(tail -n +1 -f --pid="$3" "$1")
}

cp "$1" "$work/tovrana" || fail "cannot copy $1"
printf '[Windows]\r\nMain Top=40\r\nMain Left=40\r\n[General]\r\nCaption=Panel\r\n' \
  '[Output 1]\r\nPort Number=0\r\n[Output 2]\r\nPort Number=0\r\n' \
  '[Output 3]\r\nPort Number=0\r\n[Output 4]\r\nPort Number=0\r\n' >"$work/tovrana.ini"

mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r -t 30 display <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

"$work/tovrana" >"$work/first.log" 2>&1 &
first=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Panel$' | head -n 1)
[ -n "$window" ] || fail "the first panel did not appear: $(cat "$work/first.log")"
xdotool windowmove --sync "$window" 300 200 || fail "the first panel could not be moved"
before=$(stat -c '%i %Y' "$work/tovrana.ini"; md5sum <"$work/tovrana.ini")

# The second start answers the first's raise and ends; its box, titled with
# the panel's caption, waits for a click, so it is ended once it said so.
"$work/tovrana" >"$work/second.log" 2>&1 &
second=$!
wait_for_line "$work/second.log" 'This panel is already open.*brought to the front' "$second" ||
  fail "the second start did not find the first: $(cat "$work/second.log")"
timeout 60 xdotool search --sync --onlyvisible --pid "$second" --name '^Panel$' >/dev/null ||
  fail "the second start's box is not titled with the panel's caption"
kill "$second" 2>/dev/null
wait "$second" 2>/dev/null
second=""
after=$(stat -c '%i %Y' "$work/tovrana.ini"; md5sum <"$work/tovrana.ini")
[ "$before" = "$after" ] || fail "the second start touched the settings file"

# A first panel that cannot answer: the second runs read-only.
kill -STOP "$first"
"$work/tovrana" >"$work/second.log" 2>&1 &
second=$!
wait_for_line "$work/second.log" 'This panel is already open.*never writes the file' "$second" ||
  fail "the second panel is not read-only: $(cat "$work/second.log")"
timeout 60 xdotool search --sync --onlyvisible --pid "$second" --name '^Panel$' >/dev/null ||
  fail "the read-only panel did not appear: $(cat "$work/second.log")"
kill -TERM "$second"
wait "$second"
status=$?
second=""
[ "$status" -eq 0 ] || fail "the read-only panel ended with status $status: $(cat "$work/second.log")"
after=$(stat -c '%i %Y' "$work/tovrana.ini"; md5sum <"$work/tovrana.ini")
[ "$before" = "$after" ] || fail "the read-only panel wrote the settings file"

kill -CONT "$first"
kill -TERM "$first"
wait "$first"
status=$?
first=""
[ "$status" -eq 0 ] || fail "the first panel ended with status $status: $(cat "$work/first.log")"
grep -q $'^Main Left=300\r$' "$work/tovrana.ini" ||
  fail "the first panel's edit was lost: $(tr -d '\r' <"$work/tovrana.ini" | head -5)"

# With the first panel gone, a new start owns the file again.
"$work/tovrana" >"$work/third.log" 2>&1 &
second=$!
timeout 60 xdotool search --sync --onlyvisible --pid "$second" --name '^Panel$' >/dev/null ||
  fail "no panel started after the first ended: $(cat "$work/third.log")"
grep -q 'already open' "$work/third.log" && fail "the lock outlived its panel"
echo "PASS"
