#!/usr/bin/env bash
# Installs the i386 toolchain and libraries the build needs, only what is missing.
# Safe to run again: on a machine that has everything it does nothing but check.
set -euo pipefail

need=(g++-multilib cmake libgtest-dev:i386 libgmock-dev:i386 libbenchmark-dev:i386
      libmpfr-dev:i386 libgmp-dev:i386 lib32asan8 lib32ubsan1 lib32quadmath0 binutils
      clang libclang-rt-14-dev)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=0
fi

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all build dependencies present"
fi
