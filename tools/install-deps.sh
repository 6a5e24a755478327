#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Solvarin need.
# Idempotent: installs only what is missing, and refreshes the package lists only then.
# Usage: tools/install-deps.sh [EXTRA-PACKAGE ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-translations-l10n
  libxml2-dev libbenchmark-dev libssl-dev libxlsxwriter-dev unzip
  nginx squid openssl
  libqt6sql6-sqlite libqt6sql6-psql postgresql dbus-daemon
  fonts-dejavu-core fonts-liberation2
  xvfb xauth x11-xserver-utils xdotool imagemagick
  dpkg-dev lintian appstream desktop-file-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi
