#!/usr/bin/env bash
# Fuzzes every reader of untrusted files for a bounded time: builds the
# targets of tests/fuzz with clang, libFuzzer, ASan and UBSan in build-fuzz,
# then runs each for SECONDS (20 by default) from its committed seeds and
# regressions. What the fuzzer adds goes to a temporary folder, so the
# committed corpus stays as it is. A crash, a leak, undefined behaviour, a
# hang or a broken check fails the script and leaves the input in
# build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
targets=(journal_reader window_record repair_record registry_store path_list)

# Debian 12's clang; libclang-rt-14-dev holds its libFuzzer runtime.
scripts/install-deps.sh clang-14 libclang-rt-14-dev
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DTARVEX_FUZZ=ON -DTARVEX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_targets

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for target in "${targets[@]}"; do
  echo "== fuzz_$target for ${seconds} s"
  findings=$PWD/build-fuzz/findings/$target
  rm -rf "$findings"
  mkdir -p "$scratch/$target" "$scratch/tmp" "$findings"
  inputs=(tests/fuzz/corpus/"$target")
  [ -d tests/fuzz/regressions/"$target" ] && inputs+=(tests/fuzz/regressions/"$target")
  # New inputs go to the first folder only: the scratch one.
  if TMPDIR=$scratch/tmp build-fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
      -artifact_prefix="$findings/" -print_final_stats=1 "$scratch/$target" "${inputs[@]}" \
      >"$scratch/$target.log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added):' "$scratch/$target.log" |
      sed 's/^stat::/   /'
    grep -E '^#[0-9]+.*DONE' "$scratch/$target.log" | tail -n 1 | sed 's/^/   /'
  else
    tail -n 60 "$scratch/$target.log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo
  for target in "${failed[@]}"; do
    echo "fuzz_$target failed; what it found:"
    ls -1 build-fuzz/findings/"$target"/* 2>/dev/null | sed 's/^/   /' || true
  done
  cat <<'TEXT'

Reproduce one with   build-fuzz/bin/fuzz_<target> <input>
Fix the reader, then keep the input as a regression test:
  mkdir -p tests/fuzz/regressions/<target>
  cp <input> tests/fuzz/regressions/<target>/<what-it-shows>
The test fuzz_<target> (ctest) replays it in every build from then on.
TEXT
  exit 1
fi
echo "no findings"
