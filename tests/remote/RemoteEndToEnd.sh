#!/usr/bin/env bash
# Remote control of the real executable under its own Xvfb: section "Remote"
# opens HTTP and the line protocol on free loopback ports with a token; curl
# presses buttons by number and by place and the bytes arrive at the
# pseudo-terminal behind output 1; a hold is released exactly once when its
# connection drops; a wrong or missing token, unknown buttons and resources,
# wrong methods, malformed numbers, an oversized body and a garbled request get
# their answers without harming the panel; a plain socket speaks the line
# protocol, and a 33rd client at once is turned away; SIGTERM ends it with the
# section kept as it was. The panel is locked for operators throughout.
# Usage: RemoteEndToEnd.sh <path of tovrana>
set -uo pipefail

label=remote
work=$(mktemp -d)
# shellcheck source=../app/XSession.sh
source "$(dirname "$0")/../app/XSession.sh"
need_tools Xvfb xdotool python3 curl

cp "$1" "$work/tovrana" || fail "cannot copy $1"

# The serial peer: prints its slave's path, then answers each "N" on its input
# with the next N bytes from the master, in hexadecimal, or what came before
# its deadline.
coproc PEER {
  python3 -u -c '
import os, pty, select, sys, time, tty
master, slave = pty.openpty()
tty.setraw(master)
print(os.ttyname(slave))
for line in sys.stdin:
    want, received = int(line), b""
    deadline = time.monotonic() + 30
    while len(received) < want and time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], deadline - time.monotonic())
        if ready:
            received += os.read(master, want - len(received))
    print(received.hex(" ").upper() or "nothing")
'
}
pids+=("$PEER_PID")
read -r -t 30 slave <&"${PEER[0]}" || fail "no pseudo-terminal"
# The bytes of the next count bytes sent to output 1.
arrived() {
  echo "$1" >&"${PEER[1]}"
  local bytes
  read -r -t 60 bytes <&"${PEER[0]}" || bytes="no answer from the peer"
  echo "$bytes"
}

read -r http tcp < <(python3 -c '
import socket
sockets = [socket.socket() for _ in range(2)]
for s in sockets: s.bind(("127.0.0.1", 0))
print(*(s.getsockname()[1] for s in sockets))')

remote="[Remote]\r\nEnabled=1\r\nHTTP Port=$http\r\nTCP Port=$tcp\r\nBind=127.0.0.1\r\nToken=s3cret\r\n"
{
  # A panel locked for operators still takes remote presses.
  printf '[General]\r\nAllow Editing=0\r\n'
  printf '[Output 1]\r\nPort Number=5\r\n[Output 2]\r\nPort Number=1\r\n'
  printf '[Ports]\r\nCOM1=/nonexistent/port1\r\nCOM5=%s\r\n' "$slave"
  printf '[Button 3]\r\nCaption=Three\r\nData=[P3]\r\nOutput=1\r\n'
  printf '[Button 4]\r\nCaption=Hold\r\nPress Data=[D4]\r\nData=[U4]\r\nOutput=1\r\n'
  printf '[Button 8]\r\nCaption=Eight\r\nData=[M8]\r\nOutput=1\r\n'
  printf '[Button 9]\r\nCaption=Nowhere\r\nData=[N9]\r\nOutput=2\r\n'
  printf "$remote"
} >"$work/tovrana.ini"

start_display 1024x768

"$work/tovrana" >"$work/out.log" 2>&1 &
app=$!
pids+=("$app")
base="http://127.0.0.1:$http"
auth=(-H "Authorization: Bearer s3cret")
# The listener opens once the window is up; until then connections are refused.
curl -s -o /dev/null --retry-connrefused --retry 30 --retry-max-time 60 "${auth[@]}" \
  "$base/api/buttons" || fail "the HTTP listener did not come up: $(cat "$work/out.log")"

# status <method> <path> [curl options...]: the HTTP status of one request.
status() {
  local method=$1 path=$2
  shift 2
  curl -s -o "$work/body" -w '%{http_code}' -X "$method" "$@" "$base$path"
}
expect_status() {
  local want=$1
  shift
  local got
  got=$(status "$@")
  [ "$got" = "$want" ] || fail "$* answered $got, not $want: $(cat "$work/body")"
}

# curl presses button 3; its bytes arrive at the master.
expect_status 200 POST /api/buttons/3/press "${auth[@]}"
[ "$(cat "$work/body")" = '{"sent":true}' ] || fail "press answered $(cat "$work/body")"
[ "$(arrived 2)" = "50 33" ] || fail "button 3 did not send its bytes"
# Row 3 of column 1 is button 3 as well.
expect_status 200 POST /api/location/3/1/press "${auth[@]}"
[ "$(arrived 2)" = "50 33" ] || fail "the place of button 3 did not send its bytes"

# A hold: down sends the press data; curl's connection then ends, which
# releases it once; an up that follows finds nothing held. The marker press of
# button 8 shows that no second release came before it.
expect_status 200 POST /api/buttons/4/down "${auth[@]}"
[ "$(arrived 4)" = "44 34 55 34" ] || fail "down then a dropped connection did not press and release"
expect_status 200 POST /api/buttons/4/up "${auth[@]}"
expect_status 200 POST /api/buttons/8/press "${auth[@]}"
[ "$(arrived 2)" = "4D 38" ] || fail "the hold was released more than once"
# On one connection, down and up are a hold and its release, and the end of
# that connection releases nothing more.
curl -s -o /dev/null -X POST "${auth[@]}" "$base/api/location/4/1/down" \
  --next -s -o /dev/null -X POST "${auth[@]}" "$base/api/buttons/4/up" \
  --next -s -o /dev/null -X POST "${auth[@]}" "$base/api/buttons/8/press"
[ "$(arrived 6)" = "44 34 55 34 4D 38" ] || fail "down and up on one connection did not hold and release"
# A press of a button that holds is its press data, then its release.
expect_status 200 POST /api/buttons/4/press "${auth[@]}"
[ "$(arrived 4)" = "44 34 55 34" ] || fail "the press of a holding button did not press and release"

# Requests that must not press anything.
printf 'x%.0s' $(seq 5000) >"$work/big-body"
head -c 200000 /dev/zero >"$work/huge-body"
while read -r want method path extra; do
  case $extra in
    no-token) options=() ;;
    wrong-token) options=(-H "Authorization: Bearer guess") ;;
    basic) options=(-H "Authorization: Basic czNjcmV0") ;;
    big-body) options=("${auth[@]}" --data-binary @"$work/big-body") ;;
    huge-body) options=("${auth[@]}" --data-binary @"$work/huge-body") ;;
    *) options=("${auth[@]}") ;;
  esac
  expect_status "$want" "$method" "$path" "${options[@]}"
done <<'CASES'
401 POST /api/buttons/3/press no-token
401 POST /api/buttons/3/press wrong-token
401 POST /api/buttons/3/press basic
401 GET /api/nothing no-token
404 POST /api/buttons/0/press
404 POST /api/buttons/16/press
404 POST /api/buttons/101/press
404 POST /api/buttons/1000000000/press
400 POST /api/buttons/-1/press
400 POST /api/buttons/1e9/press
400 POST /api/buttons/three/press
400 POST /api/location/x/1/down
404 POST /api/location/6/1/press
404 POST /api/location/1/4/press
404 POST /api/location/0/0/press
404 POST /api/buttons/3/push
404 GET /api/nothing
404 GET /api/buttons/
405 GET /api/buttons/3/press
405 DELETE /api/location/1/1/up
405 POST /api/buttons
400 POST /api/buttons/3/press big-body
400 POST /api/buttons/3/press huge-body
CASES

# A send that fails answers 502 with its cause, and shows no box.
expect_status 502 POST /api/buttons/9/press "${auth[@]}"
grep -q '"cause":"ie_BadId - Specified comport' "$work/body" || fail "no cause: $(cat "$work/body")"

expect_status 200 GET /api/buttons "${auth[@]}"
grep -qF '{"caption":"Three","column":1,"number":3,"output":1,"row":3}' "$work/body" ||
  fail "button 3 is not listed: $(cat "$work/body")"
[ "$(grep -o '"number"' "$work/body" | wc -l)" -eq 15 ] || fail "not 15 buttons: $(cat "$work/body")"
expect_status 200 GET /api/outputs "${auth[@]}"
grep -qF "{\"device\":\"$slave\",\"open\":true,\"output\":1,\"port\":5}" "$work/body" ||
  fail "output 1 is not listed open on its device: $(cat "$work/body")"

# The line protocol through a plain socket, then garbled HTTP; a marker press
# shows that none of it sent anything on the way.
python3 - "$tcp" "$http" >"$work/line.log" 2>&1 <<'CLIENT' || fail "line protocol: $(cat "$work/line.log")"
import socket, sys
# Sends data and reads until the answer is done, or else until the panel closes.
def talk(port, data, done=lambda received: False):
    with socket.create_connection(("127.0.0.1", int(port)), timeout=30) as s:
        s.sendall(data)
        received = b""
        while not done(received):
            try:
                chunk = s.recv(65536)
            except ConnectionResetError:
                break
            if not chunk:
                break
            received += chunk
        return received
got = talk(sys.argv[1], b"AUTH s3cret\r\nPRESS 3\r\nLIST\r\n",
           lambda received: received.count(b"OK\n") == 3)
lines = got.decode().split("\n")
assert lines[0] == "OK" and lines[1] == "OK", got
assert "BUTTON 3 3 1 1 Three" in lines and lines[-2] == "OK", got
got = talk(sys.argv[1], b"AUTH s3cret\nDOWN 4\nUP 4\nDOWN 4\n" + b"A" * 300 + b"\n")
assert got == b"OK\nOK\nOK\nOK\nERR line longer than 256 bytes\n", got
got = talk(sys.argv[1], b"PRESS 3\n")
assert got == b"ERR AUTH with the token first\n", got
got = talk(sys.argv[1], b"AUTH s3cret\n" + b"A" * 300 + b"\nPRESS 3\n")
assert got == b"OK\nERR line longer than 256 bytes\n", got
got = talk(sys.argv[2], b"GARBAGE / NONSENSE\r\n\x00\x01\r\n\r\n")
assert got.startswith(b"HTTP/1.1 400 Bad Request\r\n"), got
# Beyond 32 clients at once the next one is turned away; the others stay.
clients = [socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=30) for _ in range(32)]
for client in clients:
    client.sendall(b"AUTH s3cret\n")
    assert client.recv(16) == b"OK\n"
assert talk(sys.argv[1], b"AUTH s3cret\n") == b""
for client in clients:
    client.close()
CLIENT
[ "$(arrived 10)" = "50 33 44 34 55 34 44 34 55 34" ] ||
  fail "the line protocol's PRESS 3, the hold and the hold its closing released did not arrive"
expect_status 200 POST /api/buttons/8/press "${auth[@]}"
[ "$(arrived 2)" = "4D 38" ] || fail "something else was sent before the marker"

kill -TERM "$app"
wait "$app"
code=$?
app=""
[ "$code" -eq 0 ] || fail "exit status $code after SIGTERM: $(cat "$work/out.log")"
section=$(sed -n '/^\[Remote\]/,/^\r\?$/p' "$work/tovrana.ini" | tr -d '\r' | sed '/^$/d')
[ "$section" = "$(printf "$remote" | tr -d '\r')" ] || fail "section Remote changed: $section"
echo "PASS"
