#!/usr/bin/env bash
# The installed package names its files relative to its own folder: no path of the source or
# build tree may appear in its CMake files, or a copied package would use the build tree's files.
package=${1:?usage: $0 PACKAGE_DIR SOURCE_ROOT}
root=${2:?usage: $0 PACKAGE_DIR SOURCE_ROOT}
[ -f "$package/lib/cmake/KelSkin/KelSkinConfig.cmake" ] || {
  echo "no package in $package: \`make test\` installs it"; exit 1; }
if grep -rn -F "$root" "$package/lib/cmake"; then
  echo "the package refers to the tree it was built in (lines above)"
  exit 1
fi
