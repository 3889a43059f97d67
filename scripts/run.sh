#!/usr/bin/env bash
# Installs the dependencies, builds everything into build/ and starts the
# program's main job on a project (an example project when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
project="${1:-examples/counter.tvp}"
if [ -x build/bin/Vorblen ]; then
  exec build/bin/Vorblen "$project"
elif [ -x build/bin/vorblen-cli ]; then
  echo "The station window is not built yet; running the project headless with vorblen-cli." >&2
  # The unit sends Windows-1252; shown here in the terminal's UTF-8.
  build/bin/vorblen-cli run "$project" | iconv -f WINDOWS-1252 -t UTF-8
else
  echo "Neither the station nor vorblen-cli is built yet; the engine library and its tests are in build/." >&2
  exit 1
fi
