#!/usr/bin/env bash
# Installs the Debian packages Voltara needs, then configures and builds it.
#   scripts/setup.sh              release build in build/
#   scripts/setup.sh --asan       AddressSanitizer + UBSan build in build-asan/
#   scripts/setup.sh --deps-only  only the packages
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
  libicu-dev libsqlite3-dev libudev-dev libcanberra-dev sound-theme-freedesktop
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  dbus dbus-x11 fonts-dejavu-core xvfb
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ "${1:-}" = "--deps-only" ] && exit 0

if [ "${1:-}" = "--asan" ]; then
  dir=build-asan; extra=(-DCMAKE_BUILD_TYPE=Debug -DVOLTARA_SANITIZE=ON)
else
  dir=build; extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
