#!/usr/bin/env bash
# Builds everything and starts Sealwin; arguments go to Sealwin.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/bin/sealwin "$@"
