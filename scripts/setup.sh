#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Installs only
# what is missing; refreshes the package lists once, and only when needed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libhidapi-dev libudev-dev
  libglib2.0-dev
  libminizip-dev zlib1g-dev
  libpugixml-dev libstb-dev
  libpng-dev libjpeg62-turbo-dev
  libcli11-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev
  nlohmann-json3-dev
  python3
  binutils
  libsdl2-dev libx11-dev libxi-dev libgl1-mesa-dri xvfb xdotool x11-apps x11-utils openbox
  libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-wqy-microhei
  librsvg2-dev
  dbus-daemon
  groff-base zsh
  librsvg2-bin desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
