#!/usr/bin/env bash
# The real executable under its own Xvfb: a copy in a fresh folder shows its
# window, and SIGTERM makes it write the settings file beside it and exit 0.
# Usage: EndToEnd.sh <path of tovrana>
set -uo pipefail

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cp "$1" "$work/tovrana" || fail "cannot copy $1"

# Xvfb picks a free display and writes its number once it accepts clients.
mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r -t 30 display <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

"$work/tovrana" >"$work/out.log" 2>&1 &
app=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Tovrana$' >/dev/null ||
  fail "no window appeared: $(cat "$work/out.log")"

kill -TERM "$app"
wait "$app"
status=$?
app=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/out.log")"

[ -f "$work/tovrana.ini" ] || fail "no settings file was written"
sections=$(grep -o '^\[[^]]*\]' "$work/tovrana.ini" | tr -d '[]' | paste -sd,)
expected="Windows,General,Output 1,Output 2,Output 3,Output 4"
for n in $(seq 1 15); do expected="$expected,Button $n"; done
[ "$sections" = "$expected" ] || fail "sections were: $sections"
echo "PASS"
