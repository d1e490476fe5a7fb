#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit Blk.exe and starts it under Wine on this display.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/deps.sh"
build_win x86_64 program
wine_prefix "$WINEPREFIX"
manager=desktop
if [ -z "${DISPLAY:-}" ]; then
  manager=own
  export DISPLAY=:77
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    sleep 1
  fi
  echo "No display was set: started Xvfb on $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi
wine_window_manager "$manager"
exec "$WINE64" "$BUILD_X64/Blk.exe"
