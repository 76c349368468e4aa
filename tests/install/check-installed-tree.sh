#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree as a desktop
# and another program would use it: the validators pass, the programs run
# without the build folder, the engine links through pkg-config.
#   check-installed-tree.sh BUILD_FOLDER PREFIX BINDIR LIBDIR INCLUDEDIR DATADIR MANDIR BIN_TO_DATA
set -uo pipefail
build=$1
prefix=$2
bindir=$3
libdir=$4
includedir=$5
datadir=$6
mandir=$7
binToData=$8

source "$(dirname "$0")/checks.sh"
stage=$scratch
# Runs a validator; its whole output is the complaint.
quiet() {
  local output
  if ! output=$("$@" 2>&1) || [ -n "$output" ]; then fail "$*: $output"; fi
}
if ! DESTDIR="$stage/root" cmake --install "$build" >"$stage/install.log" 2>&1; then
  cat "$stage/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
root="$stage/root$prefix"
share="$root/$datadir"

echo "== files"
for file in "$bindir/sealwin" "$bindir/unsealwin" "$bindir/mendkit" "$bindir/tarvex"; do
  [ -x "$root/$file" ] || fail "$file is not an installed program"
done
for file in "$includedir/tarvex.h" "$libdir/pkgconfig/tarvex.pc" "$datadir/mime/packages/tarvex.xml" \
  "$datadir/kio/servicemenus/org.tarvex.servicemenu.desktop" "$datadir/doc/tarvex/copyright" \
  "$datadir/doc/tarvex/changelog.Debian.gz" "$datadir/bash-completion/completions/tarvex"; do
  [ -f "$root/$file" ] || fail "$file is missing"
done
for name in sealwin unsealwin; do
  # Where the program looks for its help, from its own folder.
  for page in $name.html $name.de.html; do
    [ -f "$root/$bindir/$binToData/help/$page" ] || fail "the help $page is not at $bindir/$binToData/help"
  done
done
# Where the programs look for their translations, from their own folder.
[ -f "$root/$bindir/$binToData/translations/tarvex_de.qm" ] ||
  fail "the German translation is not at $bindir/$binToData/translations"
for theme in 16 22 24 32 48 64 128 256; do
  for icon in apps/sealwin apps/unsealwin mimetypes/application-x-tarvex-batch; do
    [ -f "$share/icons/hicolor/${theme}x${theme}/$icon.png" ] || fail "icon ${theme}x${theme}/$icon.png is missing"
  done
done
for icon in apps/sealwin apps/unsealwin mimetypes/application-x-tarvex-batch; do
  [ -f "$share/icons/hicolor/scalable/$icon.svg" ] || fail "icon scalable/$icon.svg is missing"
done

echo "== the engine library"
real=$(readlink -f "$root/$libdir/libtarvex.so")
[ "$(basename "$real")" = libtarvex.so.1.3.0 ] || fail "libtarvex.so leads to $real"
[ "$(readlink "$root/$libdir/libtarvex.so.1")" = libtarvex.so.1.3.0 ] || fail "libtarvex.so.1 is not a link to the library"
grep -q 'Library soname: \[libtarvex.so.1\]' <<<"$(readelf -d "$real")" || fail "the library's soname is not libtarvex.so.1"
# Another program links the installed engine through pkg-config alone.
cat >"$stage/client.c" <<'EOF'
#include <tarvex.h>
#include <string.h>
int main(void)
{
    unsigned char text[16] = "sixteen bytes...";
    unsigned char copy[16];
    memcpy(copy, text, sizeof copy);
    tarvexTransformBuffer("a key of some length", text, 16, text, 1, 0, 1);
    if (memcmp(copy, text, sizeof copy) == 0) return 2;
    tarvexTransformBuffer("a key of some length", text, 16, text, 0, 0, 1);
    return memcmp(copy, text, sizeof copy) == 0 ? 0 : 4;
}
EOF
if flags=$(PKG_CONFIG_PATH="$root/$libdir/pkgconfig" pkg-config --cflags --libs tarvex); then
  # shellcheck disable=SC2086
  if cc -Wall -Werror "$stage/client.c" -o "$stage/client" $flags; then
    LD_LIBRARY_PATH="$root/$libdir" "$stage/client" || fail "a program linked through pkg-config got status $?"
  else
    fail "a program cannot be built with: pkg-config --cflags --libs tarvex ($flags)"
  fi
else
  fail "pkg-config does not find tarvex.pc"
fi

echo "== the installed programs need no build folder"
for name in sealwin unsealwin mendkit tarvex; do
  program="$root/$bindir/$name"
  runpath=$(readelf -d "$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p;s/.*(RPATH).*\[\(.*\)\]/\1/p')
  case "$runpath" in
  "" | '$ORIGIN'*) ;;
  *) fail "$name searches for libraries in $runpath" ;;
  esac
  if grep -qF "$(cd "$build" && pwd -P)" "$program"; then fail "$name holds the build folder's path"; fi
  resolved=$(ldd "$program" | sed -n 's/.*libtarvex.so.1 => \([^ ]*\).*/\1/p')
  [ "$(readlink -f "$resolved")" = "$real" ] || fail "$name loads the engine from '$resolved'"
done
for name in sealwin unsealwin; do
  program="$root/$bindir/$name"
  [ "$("$program" --version)" = "$name 1.3" ] || fail "$name --version"
  "$program" --help >"$stage/help.txt" || fail "$name --help ends with status $?"
  [ -s "$stage/help.txt" ] || fail "$name --help prints nothing"
  # The window comes up and stays until it is closed.
  QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$stage/config" timeout 4 "$program" >"$stage/start.log" 2>&1
  status=$?
  [ $status -eq 124 ] || fail "the installed $name ended with status $status: $(cat "$stage/start.log")"
  if grep -q "cannot start" "$stage/start.log"; then fail "$name: $(cat "$stage/start.log")"; fi
done
"$root/$bindir/mendkit" --help >/dev/null || fail "mendkit --help ends with status $?"
[ "$("$root/$bindir/tarvex" --version)" = "tarvex 1.3" ] || fail "tarvex --version"

echo "== the window belongs to its desktop entry"
# On X11 a desktop ties a window to its entry by the window's class.
cat >"$stage/window-class.sh" <<'EOF'
"$1" -platform xcb &
program=$!
for _ in $(seq 50); do
  xprop -name "Tarvex - Encrypt" WM_CLASS 2>/dev/null && break
  sleep 0.2
done
kill $program
EOF
windowClass=$(XDG_CONFIG_HOME="$stage/config" xvfb-run -a sh "$stage/window-class.sh" "$root/$bindir/sealwin" 2>/dev/null)
entryClass=$(sed -n 's/^StartupWMClass=//p' "$share/applications/org.tarvex.Sealwin.desktop")
grep -q "\"$entryClass\"" <<<"$windowClass" || fail "the window's class ($windowClass) is not the entry's $entryClass"

echo "== desktop entries, AppStream, MIME type"
for entry in "$share"/applications/*.desktop; do quiet desktop-file-validate "$entry"; done
[ "$(ls "$share"/applications/*.desktop | wc -l)" -eq 4 ] || fail "four desktop entries expected"
grep -q '^Exec=sealwin /f %f$' "$share/applications/org.tarvex.Sealwin.Batch.desktop" ||
  fail "a batch file does not open as a list file"
grep -q '^MimeType=application/x-tarvex-batch;$' "$share/applications/org.tarvex.Sealwin.Batch.desktop" ||
  fail "the batch entry does not claim the batch file type"
for component in "$share"/metainfo/*.metainfo.xml; do
  appstreamcli validate --no-net --explain "$component" >"$stage/appstream.log" 2>&1 ||
    fail "appstreamcli validate $component: $(cat "$stage/appstream.log")"
done
mkdir -p "$stage/mime/packages"
cp "$share/mime/packages/tarvex.xml" "$stage/mime/packages/"
XDG_DATA_HOME="$stage" quiet update-mime-database "$stage/mime"
grep -q '^50:application/x-tarvex-batch:\*\.tvx$' "$stage/mime/globs2" || fail "*.tvx is not the batch file type"
grep -q '^application/x-tarvex-batch text/plain$' "$stage/mime/subclasses" || fail "a batch file is not text"
for action in "Encrypt with Sealwin" "Decrypt with Unsealwin"; do
  [ -x "$root/$datadir/tarvex/file-manager/$action" ] || fail "the file-manager script '$action' is missing"
  grep -q "Name=$action" "$share/kio/servicemenus/org.tarvex.servicemenu.desktop" ||
    fail "the service menu has no '$action'"
done

echo "== man pages"
for name in sealwin unsealwin mendkit tarvex; do
  page="$root/$mandir/man1/$name.1.gz"
  if [ ! -f "$page" ]; then
    fail "$name.1.gz is missing"
    continue
  fi
  quiet mandoc -Tlint -W warning "$page"
  rendered=$(mandoc -Tutf8 "$page" | sed 's/.\x08//g')
  grep -q "^NAME" <<<"$rendered" || fail "$name.1.gz does not render"
done

report "the installed tree" "the installed tree is complete and valid"
