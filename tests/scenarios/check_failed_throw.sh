#!/usr/bin/env bash
# Runs a scenario program that must fail a throw (exit status 1) and requires
# its output to match a pattern naming the throw and why.
# Usage: check_failed_throw.sh PATTERN PROGRAM ARGS...
set -u
pattern=$1
shift
output=$("$@" 2>&1)
status=$?
[ $status -eq 1 ] || { echo "FAIL: exit status $status, not 1; output: $output"; exit 1; }
grep -qE -- "$pattern" <<<"$output" || { echo "FAIL: output does not match '$pattern':"; echo "$output"; exit 1; }
grep -E -- "$pattern" <<<"$output"
