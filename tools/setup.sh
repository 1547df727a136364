#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and its tools need. As root it runs apt-get;
# otherwise it prints the exact line to run and stops when something is missing. Package names
# carry no version, so the script keeps working on the next Debian release.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libepoxy-dev libopenal-dev libimgui-dev libstb-dev fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev librapidcheck-dev
  clang clang-tidy libclang-rt-dev
  xvfb xauth xdotool x11-utils imagemagick libx11-dev libgl1-mesa-dri
  jq python3 librsvg2-bin
  dpkg-dev file lintian desktop-file-utils appstream
)
# Wanted but not needed: the physics benchmark races Box2D when it is there and is left out of the
# build when it is not. Installed as root; otherwise only mentioned.
optional=(libbox2d-dev)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
missing_optional=()
for package in "${optional[@]}"; do
  installed "$package" || missing_optional+=("$package")
done

if [ "$(id -u)" -ne 0 ] && [ ${#missing_optional[@]} -gt 0 ]; then
  echo "Optional (the physics benchmark's Box2D race): apt-get install -y ${missing_optional[*]}"
fi
if [ "$(id -u)" -eq 0 ]; then
  missing+=("${missing_optional[@]}")
fi
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run as root:"
  echo "  apt-get install -y ${missing[*]}"
  exit 1
fi
