#!/bin/sh
# The engine library exports exactly the 51 Plexor functions and nothing else.
set -eu
lib="$1"
symbols=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort -u)
count=$(printf '%s\n' "$symbols" | grep -c '^Plexor' || true)
others=$(printf '%s\n' "$symbols" | grep -v '^Plexor' || true)
if [ "$count" -ne 51 ] || [ -n "$others" ]; then
  echo "expected 51 Plexor exports and nothing else; found $count, others: $others"
  exit 1
fi
echo "51 Plexor exports, nothing else"
