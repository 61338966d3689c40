#!/usr/bin/env bash
# Installs what is missing, builds the Release tree and runs the main job: the
# command-line front end writes the test data set and checks it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
out=${PLUMGR_DEMO_DIR:-$root/build/demo}
mkdir -p "$out"
cli="$root/build/src/cli/plumgr-cli"
"$cli" --settings "$out/SYSTEM.CFG" fill-test-data "$out/shop.PLU"
ls -l "$out"
"$cli" --settings "$out/SYSTEM.CFG" check "$out/shop.PLU" && echo "shop.PLU: no refused cells, no repeats"
