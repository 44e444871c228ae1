#!/usr/bin/env bash
# Runs the refused-device table under strace and fails when any of those
# devices was opened: the check must come before open, for the presence probe too.
# Usage: NoOpenOfRefusedDevices.sh <path of serial_tests>
set -uo pipefail

command -v strace >/dev/null || { echo "skipped: strace is not installed"; exit 77; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The leak checker cannot run under a tracer; the table's other runs have it.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  strace -f -qq -e trace=open,openat,openat2,creat -o "$log" "$1" --gtest_filter='RefusedDevices.*' >/dev/null 2>&1
status=$?
if ! grep -q 'openat\|open(' "$log"; then
  echo "skipped: strace cannot trace here"
  exit 77
fi
[ "$status" -eq 0 ] || { echo "FAIL: the refusal table failed (status $status)"; exit 1; }

opened=$(grep -E '"/dev/(null|zero|full|random|ptmx|pts/ptmx|tty)"' "$log")
if [ -n "$opened" ]; then
  echo "FAIL: refused devices were opened:"
  echo "$opened"
  exit 1
fi
echo "no refused device was opened"
