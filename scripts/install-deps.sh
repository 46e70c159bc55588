#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Idempotent: does nothing when every package is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang libclang-rt-dev llvm
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libsdl2-mixer-dev libopenal-dev libhidapi-dev
  libjpeg62-turbo-dev libccd-dev libsimde-dev zlib1g-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  libfreetype-dev fonts-dejavu-core
  xvfb xauth
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -ne 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale, so the tests prove that number text does not
# depend on the process locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "install-deps: no de_DE locale"
fi

