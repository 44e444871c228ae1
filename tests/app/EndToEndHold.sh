#!/usr/bin/env bash
# A held button of the real executable under its own Xvfb: xdotool presses the
# mouse on a button with press data, a repeat interval and a check, waits until
# the pseudo-terminal's master has seen the press and two repeats, and lets go;
# the master then reads the release, and nothing after it, every frame with its
# check, in that order.
# Usage: EndToEndHold.sh <path of tovrana>
set -uo pipefail

label=hold
work=$(mktemp -d)
# shellcheck source=XSession.sh
source "$(dirname "$0")/XSession.sh"
need_tools Xvfb xdotool python3

cp "$1" "$work/tovrana" || fail "cannot copy $1"

# The serial peer tells, through fifos, its slave path, when it has seen the
# press and two repeats, and when the release has come; after "done" it takes
# what is left and judges the whole stream.
mkfifo "$work/slave" "$work/held" "$work/released" "$work/done"
python3 - "$work" <<'PEER' &
import os, pty, select, sys, time, tty
work = sys.argv[1]
master, slave = pty.openpty()
tty.setraw(master)
with open(f"{work}/slave", "w") as fifo:
    fifo.write(os.ttyname(slave) + "\n")

def framed(frame):
    check = 0
    for byte in frame[1:]:  # "Checksum From=1": the 0x81 header is left out
        check ^= byte
    return frame + bytes([check])

press = framed(bytes.fromhex("81 01 06 01 08 08 01 03 FF"))
release = framed(bytes.fromhex("81 01 06 01 08 08 03 03 FF"))
received = b""
deadline = time.monotonic() + 60

def read_until(done):
    global received
    while not done() and time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], deadline - time.monotonic())
        if ready:
            received += os.read(master, 4096)

read_until(lambda: len(received) >= 3 * len(press))
with open(f"{work}/held", "w") as fifo:
    fifo.write("held\n")
read_until(lambda: received.endswith(release))
with open(f"{work}/released", "w") as fifo:
    fifo.write("released\n")
with open(f"{work}/done") as fifo:
    fifo.read()
while select.select([master], [], [], 0)[0]:
    received += os.read(master, 4096)

presses = (len(received) - len(release)) // len(press)
if presses >= 3 and received == press * presses + release:
    print("stream: press, %d repeats, release" % (presses - 1))
    sys.exit(0)
print("unexpected stream: " + received.hex(" ").upper())
sys.exit(1)
PEER
peer=$!
pids+=("$peer")
read -r -t 30 slave <"$work/slave" || fail "no pseudo-terminal"

{
  printf '[Output 1]\r\nPort Number=5\r\n'
  printf '[Ports]\r\nCOM1=/nonexistent/port1\r\nCOM5=%s\r\n' "$slave"
  printf '[Button 1]\r\nCaption=Pan\r\nOutput=1\r\n'
  printf 'Data=$81 $01 $06 $01 $08 $08 $03 $03 $FF\r\n'
  printf 'Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF\r\n'
  printf 'Repeat Interval=50\r\nChecksum=XOR8\r\nChecksum From=1\r\n'
} >"$work/tovrana.ini"

start_display 1024x768

"$work/tovrana" >"$work/out.log" 2>&1 &
app=$!
pids+=("$app")
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tovrana$' | head -n 1)
[ -n "$window" ] || fail "no window appeared: $(cat "$work/out.log")"

# Button 1 is the top-left cell of the grid.
xdotool mousemove --window "$window" 20 10 mousedown 1
read -r -t 60 _ <"$work/held" || fail "no press and repeats arrived while held"
xdotool mouseup 1
read -r -t 60 _ <"$work/released" || fail "no release arrived"

kill -TERM "$app"
wait "$app"
status=$?
app=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/out.log")"

echo done >"$work/done"
wait "$peer"
verdict=$?
peer=""
[ "$verdict" -eq 0 ] || fail "the master's stream was wrong"
grep -x 'Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF' <(tr -d '\r' <"$work/tovrana.ini") \
  >/dev/null || fail "the settings file lost the press data"
echo "PASS"
