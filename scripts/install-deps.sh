#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need. Does nothing (and never
# touches apt) when they are all present already.
set -euo pipefail

packages=(
  cmake make g++
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 wine wine32:i386
  libcli11-dev nlohmann-json3-dev libboost-dev libpng-dev
  libtinyxml2-dev zlib1g-dev libz-mingw-w64-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  hyperfine gerbv time
  help2man dpkg-dev file lintian
)

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
i386_enabled=true
dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386 || i386_enabled=false

if [ ${#missing[@]} -eq 0 ] && $i386_enabled; then
  exit 0
fi

echo "install-deps: installing ${missing[*]:-(i386 architecture only)}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing packages and not root; run as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
# wine32 is an i386 package.
$i386_enabled || "${sudo[@]}" dpkg --add-architecture i386
"${sudo[@]}" apt-get update -q
# Wine runs console programs without its recommended (mostly graphics and sound) libraries.
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
