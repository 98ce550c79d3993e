#!/usr/bin/env bash
# Sashcaster-keys.exe with a console of its own and a settings file dropped on
# it, as Explorer starts it: wine gives it a console when it runs on a
# terminal, here a pseudo-terminal from script(1). The file stands in a folder
# named with accented and Cyrillic letters. Keys are typed as a player types
# them once the first question shows; the file must then hold them, the old
# one must be kept as .bak, and the console must show the folder's name right.
# Usage: keys_console_dialogue.sh WINDOWS_KEYS
set -u
windows=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folder="$scratch/Jérôme/Игры"
mkdir -p "$folder"
touch "$folder"/{RDR2.exe,ScriptHookRDR2.dll,dinput8.dll,Sashcaster.asi}
before=$'[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=87\r\n'
printf '%s' "$before" >"$folder/Sashcaster.ini"
dropped="Z:${folder//\//\\}\\Sashcaster.ini"
out=$scratch/console.out
: >"$out"

# The letters the console drew: cursor movements, line ends and spaces gone.
letters() { sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$out" | tr -d '\r\n '; }
wait_for() {
  for _ in $(seq 90); do
    letters | grep -qF "$1" && return 0
    sleep 1
  done
  return 1
}

# Enter keeps the trigger, z and q for front and left, Enter keeps right,
# Delete (its terminal sequence) switches back off, Enter saves, Enter closes.
(
  wait_for 'Pressthetriggerkey' || exit 0
  for key in '\r' 'z' 'q' '\r' '\033[3~' '\r'; do
    printf "$key"
    sleep 0.5
  done
  wait_for 'PressEntertoclose' || exit 0
  printf '\r'
  sleep 5
) | LC_ALL=C.UTF-8 script -qec "wine '$windows' '$dropped'" /dev/null >"$out"
status=$?

fail() { echo "FAIL: $*"; echo "the console showed:"; letters; echo; exit 1; }
expected=$'[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=90\r\niWindowThrowLeft=81\r\niWindowThrowBack=255\r\n'
[ "$(cat "$folder/Sashcaster.ini"; echo .)" = "$expected." ] ||
  fail "Sashcaster.ini holds: $(od -c "$folder/Sashcaster.ini")"
[ "$(cat "$folder/Sashcaster.ini.bak"; echo .)" = "$before." ] || fail "Sashcaster.ini.bak is not the old file"
[ "$(ls "$folder" | wc -l)" -eq 6 ] || fail "other files were left: $(ls "$folder")"
letters | grep -qF "thefrontthrow'skey:Z(90)" || fail "the new keys were not shown"
letters | grep -qF 'Jérôme\Игры\Sashcaster.ini' || fail "the folder's name is not shown right"
letters | grep -qF 'PressEntertoclosethiswindow.' || fail "no prompt for Enter"
[ "$status" -eq 0 ] || fail "exit status $status, not 0"
echo "typed keys saved to $dropped (exit $status)"
