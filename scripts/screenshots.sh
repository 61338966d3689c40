#!/usr/bin/env bash
# Renders every window of the desktop program as PNG files named after the
# window (MainForm.png, AboutBox.png, ParaDlg.png, ..., ProgressForm-error.png)
# on a virtual X display: OUTDIR/en with the built-in texts and OUTDIR/pl with
# the Polish language file lang/pl.LNG. Builds the program first when missing.
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

mkdir -p "$1/en" "$1/pl"
out=$(cd "$1" && pwd)
xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$out/en"
xvfb-run -a -s "-screen 0 1280x800x24" "$program" --language "$root/lang/pl.LNG" "$out/pl"
