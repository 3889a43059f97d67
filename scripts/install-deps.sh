#!/usr/bin/env bash
# Installs what building, testing and running use on Debian (run as root):
# the compilers, CMake, Qt (Widgets, PrintSupport, Svg), GoogleTest, Google
# Benchmark, Qt's German translations (its own buttons and dialogs), the fonts the pixel tests render with, the X server the station
# journey test (and run.sh without a display) starts, poppler's pdftotext for
# the printing tests and xmllint for the JUnit schema check.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth poppler-utils libxml2-utils ccache
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
