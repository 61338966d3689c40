#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh DIR [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
# A relative DIR lies under the repository; an absolute one is taken as it is.
case "$dir" in
  /*) ;;
  *) dir="$root/$dir" ;;
esac
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
