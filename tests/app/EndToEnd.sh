#!/usr/bin/env bash
# The real executable under its own Xvfb: a copy in a fresh folder, beside a
# settings file whose port map puts COM5 on a pseudo-terminal, shows its
# window; a real click on the button "[Hello],13,10" of output 1 (port 5)
# delivers its seven bytes at the terminal's master; SIGTERM then makes it
# write the settings file beside it, still holding the panel, and exit 0.
# Usage: EndToEnd.sh <path of tovrana>
set -uo pipefail

label=end-to-end
work=$(mktemp -d)
# shellcheck source=XSession.sh
source "$(dirname "$0")/XSession.sh"
need_tools Xvfb xdotool python3

cp "$1" "$work/tovrana" || fail "cannot copy $1"

# The serial peer: a pseudo-terminal whose slave path it hands over, and whose
# master it reads until seven bytes came or its deadline passed.
mkfifo "$work/slave"
python3 - "$work/slave" "$work/received" <<'PEER' &
import os, pty, select, sys, time, tty
master, slave = pty.openpty()
tty.setraw(master)
# The slave stays open here too: a master without any slave reads as hung up.
path = os.ttyname(slave)
with open(sys.argv[1], "w") as fifo:
    fifo.write(path + "\n")
received = b""
deadline = time.monotonic() + 60
while len(received) < 7 and time.monotonic() < deadline:
    ready, _, _ = select.select([master], [], [], deadline - time.monotonic())
    if ready:
        received += os.read(master, 7 - len(received))
with open(sys.argv[2], "w") as out:
    out.write(received.hex(" ").upper() + "\n")
PEER
peer=$!
pids+=("$peer")
read -r -t 30 slave <"$work/slave" || fail "no pseudo-terminal"

# Every port number the panel could open is mapped: 5 to the peer, the ones the
# other outputs use to a path that does not exist.
{
  printf '[Output 1]\r\nPort Number=5\r\n'
  printf '[Ports]\r\nCOM1=/nonexistent/port1\r\nCOM5=%s\r\n' "$slave"
  printf '[Button 1]\r\nCaption=Hello\r\nData=[Hello],13,10\r\nOutput=1\r\n'
} >"$work/tovrana.ini"

start_display 1024x768

"$work/tovrana" >"$work/out.log" 2>&1 &
app=$!
pids+=("$app")
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tovrana$' | head -n 1)
[ -n "$window" ] || fail "no window appeared: $(cat "$work/out.log")"

# Button 1 is the top-left cell of the 5 by 3 grid.
xdotool mousemove --window "$window" 20 10 click 1
wait "$peer"
peer=""
received=$(cat "$work/received")
[ "$received" = "48 65 6C 6C 6F 0D 0A" ] || fail "the master received: '$received'"

kill -TERM "$app"
wait "$app"
status=$?
app=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/out.log")"

[ -f "$work/tovrana.ini" ] || fail "no settings file was written"
sections=$(grep -o '^\[[^]]*\]' "$work/tovrana.ini" | tr -d '[]' | sort | paste -sd,)
expected=$(
  printf '%s\n' Windows General "Output 1" "Output 2" "Output 3" "Output 4" Ports
  for n in $(seq 1 15); do echo "Button $n"; done
)
expected=$(printf '%s\n' "$expected" | sort | paste -sd,)
[ "$sections" = "$expected" ] || fail "sections were: $sections"
# The send opened output 1 without flagging it; the panel is still there.
section() { sed -n "/^\[$1\]/,/^\[/p" "$work/tovrana.ini" | tr -d '\r'; }
section "Output 1" | grep -x 'Open=0' >/dev/null || fail "output 1 is flagged open: $(section "Output 1")"
section "Output 1" | grep -x 'Port Number=5' >/dev/null || fail "output 1 lost its port: $(section "Output 1")"
section "Button 1" | grep -x 'Data=\[Hello\],13,10' >/dev/null || fail "button 1 lost its data: $(section "Button 1")"
section "Ports" | grep -x "COM5=$slave" >/dev/null || fail "the port map was lost: $(section Ports)"
echo "PASS"
