#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; does nothing when all is there.
set -euo pipefail
PKGS=(g++-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 wine64
      xvfb xauth imagemagick xdotool
      cups cups-bsd printer-driver-cups-pdf libcups2:i386
      fontconfig libfontconfig1:i386 libfreetype6:i386 fonts-liberation
      poppler-utils googletest cmake make g++ clang libclang-rt-14-dev zlib1g-dev)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
