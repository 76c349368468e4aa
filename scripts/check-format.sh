#!/usr/bin/env bash
# Fails when a tracked C or C++ file strays from the house style in
# .clang-format; `clang-format -i <file>` puts it right.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
