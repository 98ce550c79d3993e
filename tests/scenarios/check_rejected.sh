#!/usr/bin/env bash
# Runs a scenario program on a malformed scenario and requires exit status 2
# and an error naming the file, the line and what was expected.
# Usage: check_rejected.sh PATTERN PROGRAM ARGS...
set -u
pattern=$1
shift
error=$("$@" 2>&1 >/dev/null)
status=$?
[ $status -eq 2 ] || { echo "FAIL: exit status $status, not 2; output: $error"; exit 1; }
grep -qE -- "$pattern" <<<"$error" || { echo "FAIL: error '$error' does not match '$pattern'"; exit 1; }
echo "rejected: $error"
