#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, where any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libftdi1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # The window's own font (see windowFont()) and Qt's German texts for its dialogs.
    fonts-liberation2 qt6-translations-l10n
    # The other desktop families the window is tested with.
    fonts-dejavu-core fonts-dejavu-extra fonts-noto-core fonts-cantarell
)
if [ "${RTW_WITH_CLANG:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
