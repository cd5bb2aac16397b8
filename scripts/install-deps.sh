#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need, and only those missing.
# apt-get update runs at most once, and only when something has to be installed. Recommended
# packages come along: Wine draws text with its fonts and X extensions from them.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libclang-rt-dev  # native build, sanitizers, libFuzzer
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64  # Windows cross build
  libz-mingw-w64-dev                         # zlib for skintool.exe's packer
  wine wine64 fonts-wine xvfb xauth x11-apps # running and testing the Windows build
  googletest                                 # sources, compiled in both trees
  zlib1g-dev libdeflate-dev                  # skintool's packer, oracles and baselines
  zip unzip p7zip-full                       # real archivers for skin-file tests
  imagemagick                                # screenshots and BMP variants
  python3 python3-pil fonts-dejavu-core      # artwork generator
)

# One dpkg-query call for all of them: this runs before every build, so it has to be quick.
# dpkg-query fails for packages it has never heard of, which is the usual case on a fresh machine.
installed=" $( (dpkg-query -W -f='${Package}=${Status}\n' "${packages[@]}" 2>/dev/null || true) |
  sed -n 's/=install ok installed$//p' | tr '\n' ' ') "
missing=()
for p in "${packages[@]}"; do
  [[ "$installed" == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
