#!/usr/bin/env bash
# Builds and runs every test twice: an optimised Release build with warnings
# as errors (the optimiser finds warnings other builds miss), then a build
# under AddressSanitizer and UndefinedBehaviorSanitizer; then fuzzes every
# reader of untrusted files for a bounded time, and checks the engine's and
# mendkit's known answers cross-built for 64-bit ARM and big-endian s390x.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)

echo "== house style (.clang-format)"
scripts/check-format.sh

echo "== Release build (-Wall -Wextra -Werror)"
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DTARVEX_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
scripts/build.sh build-sanitize -DTARVEX_WERROR=ON -DTARVEX_SANITIZE=ON -DTARVEX_BENCH=OFF
ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== Fuzzing the readers of untrusted files (clang, libFuzzer, ASan + UBSan)"
scripts/fuzz.sh

for arch in aarch64 s390x; do
  echo "== known answers on $arch (cross build under qemu)"
  scripts/cross-check.sh "$arch"
done
