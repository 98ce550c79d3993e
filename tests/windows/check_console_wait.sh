#!/usr/bin/env bash
# Sashcaster-check.exe started with a console of its own, as Explorer starts it
# for a double click or a dropped file: wine gives it one when it runs on a
# terminal, here a pseudo-terminal from script(1). It must ask for Enter, then
# end with the check's exit status once Enter comes.
# Usage: check_console_wait.sh WINDOWS_CHECK
set -u
windows=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
touch RDR2.exe ScriptHookRDR2.dll dinput8.dll Sashcaster.asi
printf '[Sashcaster]\r\niXKey=90\r\n' >Sashcaster.ini

# Enter every second until the program ends: a first start of wine may take
# long enough to set up its prefix that an early Enter is lost. The wait has
# no time limit of its own, so the test's timeout catches a program that
# never ends.
(while sleep 1; do printf '\r' || exit 0; done) | script -qec "wine '$windows'" /dev/null >console.out
status=$?
# The console draws its text with cursor movements: keep the letters only.
text=$(sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' console.out | tr -d '\r ')
grep -q 'PressEntertoclosethiswindow.' <<<"$text" || { echo "FAIL: no prompt for Enter:"; echo "$text"; exit 1; }
grep -q 'Nofindings' <<<"$text" || { echo "FAIL: the check's report is missing:"; echo "$text"; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status after Enter, not 0"; exit 1; }
echo "asked for Enter and ended with status 0"
