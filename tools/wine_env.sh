# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under wine: wine without
# its own messages, and a prefix of the script's own, removed when the script
# ends, unless WINEPREFIX already names one.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX=$(mktemp -d /tmp/sashcaster-wine.XXXXXX)
  export WINEPREFIX
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
fi
