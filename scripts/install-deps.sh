#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever of Dravik's build, test and run dependencies is missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
    libbenchmark-dev libqrencode-dev libxml2-dev
    xvfb xauth x11-utils libxdamage-dev
    xdotool python3-pyatspi at-spi2-core dbus-daemon dbus-bin dbus-session-bus-common
    fonts-wqy-microhei
    desktop-file-utils appstream dpkg-dev file python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
