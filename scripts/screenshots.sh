#!/usr/bin/env bash
# Renders every window of the desktop program into OUTDIR as PNG files named
# after the window (MainForm.png, AboutBox.png, ..., ProgressForm-error.png), on
# a virtual X display. Builds the program first when it is missing.
# Usage: screenshots.sh OUTDIR   (PLUMGR_BUILD_DIR picks another build tree than build)
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLUMGR_BUILD_DIR:-build}
program=$root/$build/src/ui/plumgr-screenshots

if [ ! -x "$program" ] || [ ! -x "$root/$build/src/sim/ecrsim" ]; then
  bash "$root/scripts/install-deps.sh"
  bash "$root/scripts/build.sh" "$build"
fi
command -v xvfb-run >/dev/null || bash "$root/scripts/install-deps.sh"

mkdir -p "$1"
out=$(cd "$1" && pwd)
xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$out"
