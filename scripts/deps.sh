#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when some are
# missing and we run as root. Without root it only reports what is missing.
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-charts-dev qt6-translations-l10n
  libsqlite3-dev sqlite3 libxlsxwriter-dev libgtest-dev libgmock-dev libbenchmark-dev
  python3-xlrd python3-olefile python3-openpyxl python3-xlwt poppler-utils libreoffice-calc-nogui
  fonts-crosextra-carlito xvfb xauth fonts-liberation2
  dpkg-dev file  # cpack -G DEB: dpkg-shlibdeps derives the library dependencies
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Chybí balíčky (nainstalujte je jako root): ${missing[*]}" >&2
  exit 1
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
