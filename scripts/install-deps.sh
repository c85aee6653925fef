#!/usr/bin/env bash
# Installs what the build, the tests and the run script need (Debian 12, as root);
# help2man makes the manual pages, man-db, lintian and xdotool check the package;
# systemd (systemd-analyze, systemd-sysusers, nothing started), strace and python3
# check the logger's unit and run it as the unit would; mbpoll reads the Modbus
# registers in the tests; datamash checks the trend view's figures,
# shared-mime-info, GLib's gio and xmllint its file type; x11vnc shows run.sh's
# virtual display.
set -euo pipefail

# qt6-websockets-dev: the Qt HTTP Server package needs it and does not pull it in.
packages=(cmake g++ make qt6-base-dev qt6-charts-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev fonts-ipafont-gothic xvfb xauth desktop-file-utils dpkg-dev file
  qt6-httpserver-dev qt6-websockets-dev qt6-serialbus-dev prometheus mbpoll help2man man-db lintian
  xdotool libsystemd-dev pkgconf systemd strace python3 datamash shared-mime-info libglib2.0-bin
  libxml2-utils x11vnc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
