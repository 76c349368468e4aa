#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it: it holds
# exactly what the install rules install, its dependencies were computed, and
# lintian finds nothing but the tags the allowed list justifies.
#   check-debian-package.sh BUILD_FOLDER LINTIAN_ALLOWED_LIST
set -uo pipefail
build=$1
allowed=$2

source "$(dirname "$0")/checks.sh"
work=$scratch

if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(ls "$work"/package/*.deb)
echo "built $(basename "$deb")"

echo "== contents"
# The package's files and links, as paths below /.
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort >"$work/packaged"
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/stage" && find . ! -type d | sed 's|^\./|/|' | sort) >"$work/installed"
if ! diff -u "$work/installed" "$work/packaged" >"$work/contents.diff"; then
  fail "the package does not hold what the install rules install:"
  cat "$work/contents.diff"
fi
echo "$(wc -l <"$work/packaged") files"

echo "== control"
dpkg-deb --field "$deb" Package Version Architecture Depends
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libqt6widgets6 libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "Depends names no $library: '$depends'"
done

echo "== lintian"
lintian --info --display-level '>=warning' "$deb" >"$work/lintian.log" 2>&1
grep -E '^[EW]: ' "$work/lintian.log" | grep -v '^N:' >"$work/findings" || true
cat "$work/findings"
# Each allowed tag is on a line of its own, followed by why it is allowed.
allowedTags=$(sed -n 's/^\([a-z0-9-]*\) .*/\1/p' "$allowed")
while read -r severity _package tag _rest; do
  [ -z "$tag" ] && continue
  grep -qx "$tag" <<<"$allowedTags" || fail "lintian $severity $tag is neither fixed nor justified"
done <"$work/findings"

report "the package" "the package is complete and lintian-clean"
