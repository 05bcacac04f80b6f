#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo and the tests need, if any is missing, and
# the packages named as arguments (scripts that need more tools name them).
# Runs apt-get as root, or through sudo otherwise (which may ask for the user's password); does
# nothing when everything is present. On a fresh Debian 12 the base set is some 280 packages with
# their dependencies: about 250 MB to download, 1.1 GB on disk.
set -euo pipefail

packages=(
    cmake g++ make
    qtbase5-dev qtwebengine5-dev libqt5svg5-dev
    libboost-dev libboost-thread-dev
    liblog4cxx-dev
    libjs-chart.js
    fonts-wqy-microhei
    xvfb xauth
    libbenchmark-dev
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "setup-deps: all ${#packages[@]} packages are installed"
    exit 0
fi

if ((EUID == 0)); then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup-deps: missing packages: ${missing[*]}" >&2
    echo "setup-deps: there is no sudo here; install them as root with the line below, then start your script again:" >&2
    echo "    su -c 'bash $(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/setup-deps.sh $*'" >&2
    exit 1
fi

echo "setup-deps: installing ${missing[*]}"
((EUID == 0)) || echo "setup-deps: through sudo, which may ask for your password"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update </dev/null
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
