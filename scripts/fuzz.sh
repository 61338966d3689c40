#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a
# bounded time. Usage: fuzz.sh [TARGET...]   (default: every fuzz/*/fuzz_*.cpp)
# FUZZ_SECONDS (default 60) is the time per target, FUZZ_MAX_LEN (default 16384)
# the largest input tried. Corpora and crash reproducers go to fuzz-out/TARGET/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${FUZZ_SECONDS:-60}
max_len=${FUZZ_MAX_LEN:-16384}

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(find fuzz -name 'fuzz_*.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets"
  exit 0
fi

cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DPLUMGR_FUZZ=ON -DPLUMGR_TESTS=OFF -DPLUMGR_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" -j "$(nproc)" --target "${targets[@]}"

failed=()
for target in "${targets[@]}"; do
  out="$root/fuzz-out/$target"
  mkdir -p "$out/corpus"
  seeds=()
  seed_dir=$(find fuzz -type d -path "*/corpus/$target" | head -n 1)
  [ -n "$seed_dir" ] && seeds=("$seed_dir")
  echo "== $target: ${seconds} s"
  if "$root/build-fuzz/fuzz/$target" "$out/corpus" "${seeds[@]}" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="$out/" -print_final_stats=1 >"$out/log.txt" 2>&1; then
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+.*DONE' "$out/log.txt" || true
    echo "$target: no crash ($(find "$out/corpus" -type f | wc -l) corpus files)"
  else
    tail -n 30 "$out/log.txt"
    echo "$target: FAILED (see $out/)"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds} s each without a finding"
