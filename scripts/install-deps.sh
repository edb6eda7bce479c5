#!/usr/bin/env bash
# Installs the Debian packages the build, tests and demo need, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  libplist-dev libplist-utils libxml2-dev liburiparser-dev libicu-dev libpsl-dev publicsuffix
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev libinih-dev clang libclang-rt-14-dev clang-format clang-tidy
  libc++-14-dev libc++abi-14-dev librsvg2-bin icnsutils ccache
  # routelle-desktop, and its tests under Xvfb with a tray host and a real browser
  qt6-base-dev libglib2.0-dev xdg-utils desktop-file-utils fonts-dejavu-core
  xvfb trayer xdotool x11-utils xclip imagemagick firefox-esr)
# One query for all of them; a package dpkg has never heard of is missing too.
mapfile -t installed < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null |
  awk '$1 == "ii" {print $2}')
missing=()
for p in "${packages[@]}"; do
  [[ " ${installed[*]} " == *" $p "* ]] || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
