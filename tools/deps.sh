#!/usr/bin/env bash
# Installs the Debian packages Kestrovan needs to build, run and test, when they are missing.
set -euo pipefail

PACKAGES=(
    cmake g++ make ccache pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev libqt5sql5-sqlite
    libqwt-qt5-dev libboost-dev zlib1g-dev libdeflate-dev
    qttranslations5-l10n fonts-liberation
    xvfb xauth x11-utils poppler-utils file
    desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl dpkg-dev lintian
    libqt5serialport5-dev
    python3
    clang-format
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
