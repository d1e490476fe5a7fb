#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; does nothing when all is there.
# The 32-bit Wine and its libraries only where this machine can execute 32-bit code.
set -euo pipefail
source "$(dirname "$0")/env.sh"
PKGS=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev g++-mingw-w64-i686 mingw-w64-i686-dev wine64
      xvfb xauth x11-utils imagemagick xdotool
      cups cups-bsd printer-driver-cups-pdf fontconfig fonts-liberation
      poppler-utils googletest cmake make g++ clang libclang-rt-14-dev zlib1g-dev)
PKGS32=(wine32:i386 libcups2:i386 libfontconfig1:i386 libfreetype6:i386)
want32=0
if runs_32bit_code; then
  want32=1
  PKGS+=("${PKGS32[@]}")
fi
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ $want32 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index while the others were read: go on with those.
if ! $SUDO apt-get update -qq; then
  echo "apt-get update reported a failed package index; going on with the indexes that were read"
fi
install() { $SUDO apt-get install -y -qq --no-install-recommends "$@" </dev/null; }
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# Where amd64 packages already carry updates that the i386 side cannot match, the i386
# ones are refused (or would remove what depends on them). Asks apt, round by round, which
# i386 dependencies it will not take and what it would remove, and brings those amd64
# packages back to the release suite's versions so that both sides are in step.
align_with_release() {
  local extra=() out rem unmet n
  for _ in $(seq 1 10); do
    out=$(apt-get install -s -t "$release" --allow-downgrades --no-install-recommends "$@" "${extra[@]}" 2>&1 || true)
    rem=$(grep '^Remv' <<<"$out" | awk '{print $2}' || true)
    unmet=$(grep -oE 'Depends: [^ ]+:i386' <<<"$out" | awk '{print $2}' | sort -u || true)
    [ -z "$rem$unmet" ] && break
    for n in $rem; do
      n=${n%%:*}
      if apt-cache madison "$n" | grep -q " $release/"; then extra+=("$n/$release"); else extra+=("$n"); fi
    done
    extra+=($unmet)
  done
  echo "Bringing these to the release suite's versions as well: ${extra[*]}"
  install -t "$release" --allow-downgrades "$@" "${extra[@]}"
}

if ! install "${missing[@]}"; then
  # Version skew between suites (a newer amd64 side in the security suite than any i386
  # one) refuses multi-arch packages; the release suite alone has them in step.
  echo "The install was refused; trying again with the release suite ($release) as target"
  if ! install -t "$release" "${missing[@]}"; then
    echo "Refused again: some installed packages are newer than their 32-bit counterparts"
    align_with_release "${missing[@]}"
  fi
fi
echo "Installed: ${missing[*]}"
