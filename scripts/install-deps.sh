#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and benchmarking need.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libqt6sql6-mysql libqt6sql6-sqlite libgl-dev qt6-translations-l10n
    libmariadb-dev libcurl4-openssl-dev libsodium-dev libspdlog-dev
    libgtest-dev libgmock-dev
    mariadb-server mariadb-client
    vsftpd python3-pyftpdlib openssl curl
    xvfb xauth
    time
    g++-mingw-w64-x86-64-posix xz-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
