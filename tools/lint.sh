#!/usr/bin/env bash
# Static analysis of the project's own code: clang-tidy with the repository's
# .clang-tidy and cppcheck, both over the native build's compile_commands.json,
# clang-format over every C++ file,
# and shellcheck over the scripts (warnings and errors; style notes are not).
# Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

# The native preset's compile commands, with the benchmarks switched on so
# that their sources are in the database too; configured only, not built.
build=build/lint
cmake --preset native -B "$build" -DSASHCASTER_BUILD_BENCHMARKS=ON >/dev/null
# Sources that the build itself writes (the shipped settings file built into
# the keys tool, the message catalogues built into both programs) are in the
# database too, so they must exist before it loads.
cmake --build "$build" --target programs/keys_tool/shipped_settings.cpp \
  programs/i18n/embedded_catalogues.cpp >/dev/null

# The project's own translation units; third-party and generated code stay out.
mapfile -t sources < <(find src harness programs tests bench fuzz -name '*.cpp' -not -path 'src/host/windows/*' |
  sort)

echo "clang-tidy: ${#sources[@]} files"
# g++'s compile commands are read by clang-tidy as they are; the extra
# argument quiets a g++-only warning flag clang does not know, should one appear.
run-clang-tidy -quiet -p "$build" -extra-arg=-Wno-unknown-warning-option \
  "${sources[@]/#/$PWD/}" >/tmp/sashcaster-clang-tidy.log 2>&1 || {
  # run-clang-tidy colours its output whatever the terminal; strip the colours.
  sed 's/\x1b\[[0-9;]*m//g' /tmp/sashcaster-clang-tidy.log | grep -E 'warning:|error:' | sort -u
  echo "clang-tidy found problems (full log: /tmp/sashcaster-clang-tidy.log)"
  exit 1
}

echo "cppcheck"
# Only files that are in the compile database are checked; missingInclude
# for the standard headers and GoogleTest is not a finding about our code.
cppcheck --project="$build/compile_commands.json" --quiet --error-exitcode=1 \
  --enable=warning,performance,portability --inline-suppr --library=googletest \
  --suppress=missingIncludeSystem --suppress='*:/usr/include/*' \
  -i"$PWD/src/host/windows" -i"$PWD/build" --std=c++20 \
  --template='{file}:{line}: {severity}: {message} [{id}]'
echo "clang-format"
# Every C++ file of the project as clang-format writes it, by .clang-format.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "shellcheck"
mapfile -t scripts < <(find tools tests .ci -name '*.sh' -o -name run | sort)
shellcheck --severity=warning "${scripts[@]}"

echo "lint: clean"
