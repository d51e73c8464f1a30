#!/usr/bin/env bash
# Builds a Release tree of the programs and makes the Debian package with CPack; prints its path.
#   scripts/package.sh
set -euo pipefail
TEV_SCRIPT=package.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TEV_ROOT"

{
    scripts/install-deps.sh
    build_dir=build-package
    tev_build "$build_dir" Release tev-web-admin -DCMAKE_INSTALL_PREFIX=/usr
    # Only what the package installs, not the tests.
    targets=(tev-crypt man_pages report_templates)
    if cmake --build "$build_dir" --target help | grep -q '^tev-report:'; then targets+=(tev-report); fi
    cmake --build "$build_dir" -j2 --target "${targets[@]}" || tev_die "build of ${targets[*]} failed"
} >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
out="$TEV_ROOT/$build_dir/packages"
rm -rf "$out"
(cd "$build_dir" && cpack -G DEB -B "$out") >&2 || tev_die "cpack failed"
deb="$out/tev-web-admin_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || tev_die "cpack made no $deb"
printf '%s\n' "$deb"
