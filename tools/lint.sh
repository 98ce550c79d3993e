#!/usr/bin/env bash
# Static analysis of the project's own code: clang-tidy with the repository's
# .clang-tidy and cppcheck, both over the native build's compile_commands.json,
# and shellcheck over the scripts (warnings and errors; style notes are not).
# Exits non-zero on any finding. Configures the native preset when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/native
if [ ! -f "$build/compile_commands.json" ]; then
  cmake --preset native >/dev/null
fi

# The project's own translation units; third-party and generated code stay out.
mapfile -t sources < <(git ls-files 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp' |
  grep -v '^src/host/windows/')

echo "clang-tidy: ${#sources[@]} files"
# g++'s compile commands are read by clang-tidy as they are; the extra
# argument quiets a g++-only warning flag clang does not know, should one appear.
run-clang-tidy -quiet -p "$build" -extra-arg=-Wno-unknown-warning-option \
  "${sources[@]/#/$PWD/}" >/tmp/sashcaster-clang-tidy.log 2>&1 || {
  grep -E 'warning:|error:' /tmp/sashcaster-clang-tidy.log | sort -u
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
echo "shellcheck"
mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
shellcheck --severity=warning "${scripts[@]}"

echo "lint: clean"
