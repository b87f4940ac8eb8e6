#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet:
# as root with apt-get, otherwise with sudo; without either it prints the command.
set -u
missing=()
for package in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)
    [ "$status" = "installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    runner=()
elif command -v sudo >/dev/null 2>&1; then
    runner=(sudo)
else
    echo "Please install them as root:"
    echo "    apt-get install ${missing[*]}"
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${runner[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq || exit 1
"${runner[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" || exit 1
