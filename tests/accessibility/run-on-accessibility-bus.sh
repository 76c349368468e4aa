#!/usr/bin/env bash
# Runs a command on a private X display with a private session bus and the
# accessibility bus, with Qt's bridge to it switched on, in a private home.
#   run-on-accessibility-bus.sh COMMAND...
set -euo pipefail
if [ -z "${TARVEX_ON_BUS:-}" ]; then
  TARVEX_ON_BUS=1 exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$@"
fi
home=$(mktemp -d)
trap 'kill "${launcher:-0}" 2>/dev/null; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
"$@"
