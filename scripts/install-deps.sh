#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test, run and
# package the program.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-translations-l10n qt6-svg-dev
    fonts-noto-cjk xvfb xauth
    librsvg2-bin desktop-file-utils appstream shared-mime-info libxml2-utils libglib2.0-bin
    libglpk-dev nlohmann-json3-dev
    lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
