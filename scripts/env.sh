# Sourced by the other scripts: build folders, the Wine loaders and the prefixes inside the build tree.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_X64=${BUILD_X64:-$ROOT/build/x86_64}
BUILD_X86=${BUILD_X86:-$ROOT/build/i686}
BUILD_NATIVE=${BUILD_NATIVE:-$ROOT/build/native}
BUILD_FUZZ=${BUILD_FUZZ:-$ROOT/build/fuzz}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
NOPRINTER_PREFIX=${NOPRINTER_PREFIX:-$ROOT/build/wineprefix-noprinter}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader by its own path: /usr/bin/wine picks the 32-bit one whenever it is
# installed, even where the kernel cannot execute it.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
export WINELOADER=$WINE64
JOBS=$(nproc 2>/dev/null || echo 2)

# Whether this kernel executes 32-bit x86 code, found by running a 95-byte i386 ELF that
# exits with 42 (no 32-bit library needed). BLK_NO_32BIT=1 acts as if it could not.
runs_32bit_code() {
  [ "${BLK_NO_32BIT:-0}" = 1 ] && return 1
  local f rc=0
  f=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5f\x00\x00\x00\x5f\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb3\x2a\xb8\x01\x00\x00\x00\xcd\x80' >"$f"
  chmod +x "$f"
  "$f" 2>/dev/null || rc=$?
  rm -f "$f"
  [ "$rc" -eq 42 ]
}

# arch: x86_64 or i686; the build folder of each.
build_dir() { if [ "$1" = i686 ]; then echo "$BUILD_X86"; else echo "$BUILD_X64"; fi; }

# The second GUI test process: a display and a Wine prefix of its own.
SECOND_DISPLAY=${SECOND_DISPLAY:-:92}
SECOND_PREFIX=${SECOND_PREFIX:-$ROOT/build/wineprefix-second}

# $1: arch; $2: what: tests (the program and its tests, the default), program (Blk.exe
# only) or bench (the program and the benchmarks); the rest: more cmake options.
build_win() {
  local arch=$1 what=${2:-tests} dir bench=OFF target=()
  shift 2 || shift $#
  dir=$(build_dir "$arch")
  case $what in
    program) target=(--target Blk) ;;
    bench) bench=ON ;;
  esac
  cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLK_NOPRINTER_PREFIX="$NOPRINTER_PREFIX" -DBLK_BENCH=$bench "$@" >/dev/null
  cmake --build "$dir" -j "${BUILD_JOBS:-$JOBS}" "${target[@]}"
}

wine64() { "$WINE64" "$@"; }

# $1: the prefix folder; the rest of the environment as for any Wine call.
wine_prefix() {
  local prefix=$1
  if [ ! -f "$prefix/system.reg" ]; then
    echo "Creating the Wine prefix in $prefix"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
    WINEPREFIX="$prefix" "$WINESERVER" -w
  fi
}

# Without a window manager (our own Xvfb) Wine has to manage the windows itself, or it
# undoes a maximised window; under a desktop's window manager it must leave them to it.
wine_window_manager() {
  if [ "$1" = own ]; then
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    "$WINE64" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}
