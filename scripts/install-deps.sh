#!/usr/bin/env bash
# Installs the Debian packages the viewer, its tests and its benchmarks need.
# Skips the package manager entirely when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev nlohmann-json3-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev zlib1g-dev
  qt6-base-dev libgl-dev qt6-webengine-dev
  fontconfig fonts-liberation fonts-dejavu-core
  xvfb xauth
  clang libclang-rt-14-dev llvm-14
  dpkg-dev file libxxhash-dev poppler-utils
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl lintian
  qt6-wayland weston
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
