# Sourced by the other scripts: build folders and the Wine prefix inside the build tree.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_WIN=${BUILD_WIN:-$ROOT/build/win}
BUILD_NATIVE=${BUILD_NATIVE:-$ROOT/build/native}
BUILD_FUZZ=${BUILD_FUZZ:-$ROOT/build/fuzz}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
JOBS=$(nproc 2>/dev/null || echo 2)

build_win() {
  cmake -S "$ROOT" -B "$BUILD_WIN" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_WIN" -j "$JOBS"
}

wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
  fi
}

# Without a window manager (our own Xvfb) Wine has to manage the windows itself, or it
# undoes a maximised window; under a desktop's window manager it must leave them to it.
wine_window_manager() {
  if [ "$1" = own ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}
