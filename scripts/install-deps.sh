#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks and the
# package checks (lintian and the desktop validators) need, but only when one
# of them is missing, so a prepared machine starts at once. Packages named as
# arguments are wanted too (scripts/fuzz.sh names its compiler).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-l10n-tools qt6-translations-l10n fonts-dejavu-extra libx11-dev libxtst-dev
  libgtest-dev libgmock-dev xvfb xauth
  libbenchmark-dev libssl-dev
  dpkg-dev file lintian desktop-file-utils appstream mandoc shared-mime-info x11-utils
  at-spi2-core python3-pyatspi dbus xdotool
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
