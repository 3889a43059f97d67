#!/bin/sh
# Runs the journey test on a virtual X display; without xvfb-run it is
# skipped (exit 77, CTest's skip code for it) with a message.
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run ist nicht installiert: die Reise durch das Hauptfenster wird übersprungen."
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@"
