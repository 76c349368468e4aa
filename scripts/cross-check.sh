#!/usr/bin/env bash
# Cross-builds the engine and mendkit for another processor into
# build-cross-<arch>/ and runs their known answers there under user-mode
# emulation: the same bytes on every processor, big-endian ones included.
#   scripts/cross-check.sh aarch64|s390x
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-}
case "$arch" in
  aarch64 | s390x) ;;
  *)
    echo "usage: scripts/cross-check.sh aarch64|s390x" >&2
    exit 2
    ;;
esac
triplet=$arch-linux-gnu

missing=()
command -v "$triplet-g++" >/dev/null || missing+=("g++-$triplet")
command -v "qemu-$arch" >/dev/null || missing+=(qemu-user)
if ((${#missing[@]})); then
  echo "== installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

folder=build-cross-$arch
echo "== $arch: building the engine and mendkit in $folder"
cmake -S . -B "$folder" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTARVEX_ENGINE_ONLY=ON -DTARVEX_WERROR=ON >/dev/null
cmake --build "$folder" --target tarvex mendkit known_answers -j "$(nproc)"

echo "== $arch: known answers under qemu-$arch"
# The loader and the C++ runtime come from the cross sysroot; libtarvex.so is
# found in bin/ through the programs' build-tree search path.
emulator=("qemu-$arch" -L "/usr/$triplet")
"${emulator[@]}" "$folder/bin/known_answers" tests/knownanswer/vectors "${emulator[@]}" "$PWD/$folder/bin/mendkit"
