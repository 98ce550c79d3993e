#!/usr/bin/env bash
# Holds README.md and docs/ to the tree they describe: every relative link
# resolves from the file that holds it, every path they name from the top of
# the source tree exists, and every test that docs/behaviour.md names as the
# proof of a rule is defined under tests/. Build outputs (build/, dist/) and
# paths with a placeholder in them are not checked.
# Usage: check_links.sh SOURCE_DIR
set -u
cd "$1" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

documents=(README.md docs/*.md)
for document in "${documents[@]}"; do
  folder=$(dirname "$document")
  # Markdown links: [text](target), less web addresses and anchors.
  while read -r target; do
    target=${target%%#*}
    [ -n "$target" ] || continue
    [ -e "$folder/$target" ] || fail "$document links to $target, which is not there"
  done < <(grep -oP '\]\(\K[^)\s]+(?=\))' "$document" | grep -vE '^(https?:|mailto:|#)')
  # Paths named in text, commands and code: from the top of the tree.
  while read -r path; do
    [ -e "$path" ] || fail "$document names $path, which is not there"
  done < <(grep -oP '(?<![\w/.$<-])(src|harness|programs|tests|tools|bench|fuzz|package|cmake|docs|\.ci)/[\w./-]*' \
    "$document" | sed 's/[.]$//' | sort -u)
done

# Each Suite.Case that the behaviour notes give as proof is a test.
# shellcheck disable=SC2016 # the backquotes are the pattern's, not the shell's
while read -r name; do
  suite=${name%%.*} case=${name#*.}
  grep -rqE "TEST(_F|_P)?\(${suite}, ${case}\)" tests ||
    fail "docs/behaviour.md names the test $name, which no file under tests/ defines"
done < <(grep -oP '`\K[A-Z]\w+\.[A-Z]\w+(?=`)' docs/behaviour.md | sort -u)

[ "$failures" -eq 0 ] || { echo "$failures broken link(s) or name(s)"; exit 1; }
echo "every link, path and test named in README.md and docs/ is there"
