#!/usr/bin/env bash
# Installs the dependencies, builds everything into build/ and starts the
# station on a project (the example counter when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
project="${1:-examples/counter.tvp}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/Vorblen "$project"
fi
echo "Keine grafische Anzeige (DISPLAY) gefunden: die Station startet auf einer virtuellen Anzeige (xvfb-run)." >&2
echo "Zum Ansehen in einer grafischen Sitzung starten: build/bin/Vorblen $project" >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/Vorblen "$project"
