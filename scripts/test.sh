#!/usr/bin/env bash
# Installs what is missing, builds everything (Release), runs every test, then
# builds everything once more under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test again, the end-to-end ones against the sanitized programs; at the
# end builds the Debian package, installs it and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
bash scripts/check-format.sh

bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
echo "== Release: every test"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600)

bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DPLUMGR_SANITIZE=ON -DPLUMGR_BENCH=OFF
echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
(cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$(nproc)" --timeout 600)

echo "== The Debian package: built, installed and run"
bash scripts/package.sh build
