#!/usr/bin/env bash
# Builds the Debian package of the suite in build-package/ and prints its name.
# The package installs below /usr; its dependencies are computed by
# dpkg-shlibdeps from what the programs link.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTARVEX_BENCH=OFF
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/tarvex_*.deb
