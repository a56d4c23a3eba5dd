#!/usr/bin/env bash
# Installs the Debian packages the build needs, when run as root and any is
# missing; run as another user, names the missing ones and how to install them.
set -euo pipefail
packages=(cmake g++ ninja-build qt6-base-dev libgtest-dev libbenchmark-dev clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    {
      echo "Missing packages: ${missing[*]}"
      echo "Install them as root, from the top folder of the repository:"
      echo "    bash scripts/deps.sh"
      echo "(or, where sudo is set up: sudo bash scripts/deps.sh)"
    } >&2
    exit 1
  fi
fi
