#!/usr/bin/env bash
# Installs the dependencies, builds everything into build/ and runs all tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/ccache-env.sh
# Tests and benchmarks are both built, so every program keeps compiling;
# VORBLEN_WERROR=ON (set by .ci/run) turns warnings into errors.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVORBLEN_BENCH=ON \
  -DVORBLEN_WERROR="${VORBLEN_WERROR:-OFF}"
cmake --build build -j2
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
