#!/usr/bin/env bash
# The Windows programs in the player's display language, which wine takes
# from the Unix locale. For Russian, German, Brazilian Portuguese and Japanese
# the check's report and the keys tool's refusal are what the native programs
# say with --lang (so what that language's catalogue says), not English, with
# English's exit statuses; the keys tool's dialogue, in a console of its own,
# asks in that language. Swedish, which the tools do not speak, gets English,
# and --lang overrides the display language.
# Usage: languages.sh NATIVE_CHECK NATIVE_KEYS WINDOWS_CHECK WINDOWS_KEYS MESSAGES_DIR
set -u
native_check=$1 native_keys=$2 windows_check=$3 windows_keys=$4 messages=$5
for program in "$native_check" "$native_keys"; do
  [ -x "$program" ] || { echo "FAIL: no $program: build the native preset first"; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
touch RDR2.exe ScriptHookRDR2.dll dinput8.dll Sashcaster.asi
# A finding on line 2 and notes: every kind of line of the report.
printf '[Sashcaster]\r\niXKey=0x58\r\niWindowThrowBack=255 ; off\r\n' >Sashcaster.ini
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# message TAG ID: the catalogue's text, without its spaces (as letters() shows it).
message() { sed -n "s/^${2//./\\.} = //p" "$messages/$1.txt" | tr -d ' '; }

# The native program, in the language of --lang, on a locale it ignores.
native() { LC_ALL=C.UTF-8 "$@" >native.out 2>native.err; echo $? >native.status; }
# The Windows program under LOCALE; standard output and error kept apart.
windows() {
  local locale=$1
  shift
  LC_ALL=$locale LANG=$locale wine "$@" </dev/null >windows.raw 2>windows.rawerr
  echo $? >windows.status
  tr -d '\r' <windows.raw >windows.out
  # Wine's own words on the prefix aside; the program's name as on Linux.
  tr -d '\r' <windows.rawerr | grep -v '^wine: ' | sed 's/Sashcaster-keys\.exe/sashcaster-keys/g' >windows.err
}
same() {  # WHAT: both programs printed the same and ended alike
  if ! cmp -s native.out windows.out || ! cmp -s native.err windows.err ||
    ! cmp -s native.status windows.status; then
    fail "$1: Windows $(cat windows.status), native $(cat native.status)"
    diff native.out windows.out | head -n 6 | sed 's/^/  /'
    diff native.err windows.err | head -n 6 | sed 's/^/  /'
    return 1
  fi
}

# A first start sets up wine's prefix, and may say so.
wine "$windows_check" --help >/dev/null 2>&1
native "$native_check" --lang en
cp native.out english.out
english_status=$(cat native.status)
native "$native_keys" --lang en front=10
cp native.err english.err

# The dialogue in a console of its own: Esc at the first question, then Enter
# to close; the console must have shown the question and the answer in TAG.
dialogue() {
  local locale=$1 tag=$2 out=$scratch/console.out
  local label nothing
  label=$(message "$tag" setting.trigger.label)
  nothing=$(message "$tag" dialogue.nothing_saved)
  : >"$out"
  letters() { sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$out" | tr -d '\r\n '; }
  wait_for() {
    for _ in $(seq 90); do
      letters | grep -qF "$1" && return 0
      sleep 1
    done
    return 1
  }
  (
    wait_for "$label" || exit 0
    printf '\033'
    wait_for "$nothing" || exit 0
    sleep 1
    printf '\r'
    sleep 3
  ) | LC_ALL=$locale LANG=$locale script -qec "wine '$windows_keys'" /dev/null >"$out"
  letters | grep -qF "$label" || fail "$locale: the dialogue did not ask for $label: $(letters)"
  letters | grep -qF "$nothing" || fail "$locale: the dialogue did not say $nothing: $(letters)"
  [ -e Sashcaster.ini.bak ] && fail "$locale: the dialogue saved after Esc"
}

for pair in ru_RU:ru de_DE:de pt_BR:pt-BR ja_JP:ja sv_SE:en; do
  locale=${pair%%:*}.UTF-8 tag=${pair#*:}
  locale -a | grep -qx "${pair%%:*}.utf8" || {
    fail "the locale $locale is not built: run tools/install-deps.sh"
    continue
  }
  native "$native_check" --lang "$tag"
  windows "$locale" "$windows_check"
  same "$locale: the check" || continue
  [ "$(cat windows.status)" = "$english_status" ] || fail "$locale: exit status differs from English's"
  if [ "$tag" = en ]; then
    cmp -s windows.out english.out || fail "$locale: the check did not fall back to English"
  else
    # Every line but the five keys' own is in the language.
    [ "$(comm -12 <(sort english.out) <(sort windows.out) | wc -l)" -eq 0 ] ||
      fail "$locale: English left in the report: $(comm -12 <(sort english.out) <(sort windows.out))"
  fi
  windows C.UTF-8 "$windows_check" --lang "$tag"
  same "--lang $tag on an English system: the check"

  native "$native_keys" --lang "$tag" front=10
  windows "$locale" "$windows_keys" front=10
  same "$locale: the keys tool's refusal"
  [ "$(cat windows.status)" = 2 ] || fail "$locale: the refusal's exit status is not 2"
  if [ "$tag" != en ] && cmp -s windows.err english.err; then
    fail "$locale: the keys tool refused in English"
  fi
  dialogue "$locale" "$tag"
  echo "$locale: the check, the refusal and the dialogue in $tag (exit $(cat windows.status))"
done

# --lang over the display language.
native "$native_check" --lang de
windows ru_RU.UTF-8 "$windows_check" --lang de
same "--lang de on a Russian system: the check"

[ "$failures" -eq 0 ] || exit 1
echo "every language as its catalogue says"
