#!/usr/bin/env bash
# Runs the interpreter benchmark loop in the unit interpreter and the same
# loop in Lua 5.4 for the same number of passes (CPU time), checks that all
# end with the same words, and prints passes per second and the ratios
# (above 1: the interpreter is faster). Lua runs the loop twice: with a
# helper function for the 16-bit wrap-around (five calls a pass, which the
# interpreter has no counterpart of) and with the masking written inline.
# Needs lua5.4 and a build with -DVORBLEN_BENCH=ON.
#   bench/simulator/compare_lua.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
bench="$build/bin/simulator_bench"
if ! command -v lua5.4 > /dev/null; then
  echo "lua5.4 is not installed (apt-get install lua5.4)" >&2
  exit 1
fi
if [ ! -x "$bench" ]; then
  echo "$bench is missing: configure with -DVORBLEN_BENCH=ON and build simulator_bench" >&2
  exit 1
fi
passes=20000000
# All run the same number of passes and must end with the same words.
unit=$("$bench" --loop-passes "$passes")
unit_seconds=$(echo "$unit" | awk '{print $1}')
unit_words=$(echo "$unit" | awk '{print $2" "$3" "$4" "$5}')
for form in helper inline; do
  read -r seconds words < <(lua5.4 "$here/ArithmeticLoop.lua" "$passes" "$form" | awk '{print $1, $2" "$3" "$4" "$5}')
  if [ "$words" != "$unit_words" ]; then
    echo "the loops disagree: Lua ($form) $words, unit $unit_words" >&2
    exit 1
  fi
  printf -v "lua_$form" '%s' "$seconds"
done
awk -v p="$passes" -v h="$lua_helper" -v i="$lua_inline" -v u="$unit_seconds" 'BEGIN {
  printf "Lua 5.4, helper: %7.2f M passes/s (%.3f s CPU)\n", p / h / 1e6, h;
  printf "Lua 5.4, inline: %7.2f M passes/s (%.3f s CPU)\n", p / i / 1e6, i;
  printf "interpreter:     %7.2f M passes/s (%.3f s CPU, %.0f M unit instructions/s)\n", p / u / 1e6, u, 21 * p / u / 1e6;
  printf "ratio interpreter / Lua: %.2f against the helper loop, %.2f against the inline loop\n", h / u, i / u;
}'
