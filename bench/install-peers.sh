#!/bin/sh
# Installs the Debian peer tools that bench/compare-peers.sh runs beside
# quillet, and LibreOffice to generate large documents. Not needed by tests.
set -eu
PACKAGES="
  hyperfine python3
  catdoc antiword unrtf poppler-utils mupdf-tools docx2txt xlsx2csv
  libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-impress-nogui
"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
if [ -n "$missing" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
