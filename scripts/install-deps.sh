#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when
# any of them is missing. Add new ones to PACKAGES.
set -euo pipefail

PACKAGES=(
    # toolchain
    build-essential cmake ninja-build ccache pkg-config
    # libraries
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libpq-dev libssl-dev
    libgtest-dev libgmock-dev libzip-dev libcurl4-openssl-dev libgmime-3.0-dev
    # test peers and the demo
    postgresql-15 postgresql-client-15 xvfb xauth fonts-dejavu-core python3-openpyxl
    python3-aiosmtpd python3-pycryptodome openssl
    # the Debian package and its checks
    dpkg-dev file desktop-file-utils appstream
    # the service manager the service control is tested against
    dbus-daemon systemd util-linux
    # scripts/fuzz.sh: libFuzzer and the sanitizers of clang
    clang libclang-rt-14-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$pkg")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "install-deps.sh: installing ${missing[*]}" >&2
if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps.sh: error: missing packages (${missing[*]}) and neither root nor sudo available" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
