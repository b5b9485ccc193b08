#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libqt6opengl6-dev
  libx11-dev libxrandr-dev
  libgl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libsdl2-dev ffmpeg
  zlib1g-dev
  libbenchmark-dev
  clang libclang-rt-14-dev
  dpkg-dev
  dbus dbus-daemon python3 python3-dbusmock
  fonts-liberation
  xvfb xauth
  libmpv-dev mpv
  libcurl4-openssl-dev curl libgmime-3.0-dev dovecot-core dovecot-pop3d openssl
  qt6-webengine-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
