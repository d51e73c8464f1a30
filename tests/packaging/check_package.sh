#!/usr/bin/env bash
# check_package.sh BUILD_DIR VERSION: makes the .deb of BUILD_DIR with CPack, extracts it and checks
# what it holds, that its desktop entry and metainfo validate, that the programs run from it, and
# that the console's first start seeds an empty configuration folder without overwriting later.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "check_package: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack failed"
}
arch=$(dpkg --print-architecture)
deb="$work/out/tev-web-admin_${version}_${arch}.deb"
[[ -f $deb ]] || fail "no $deb (got: $(ls "$work/out"))"

# Dependencies come from dpkg-shlibdeps: the Qt and libpq libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libpq5; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/tev-web-admin usr/bin/tev-crypt \
    usr/share/applications/tev-web-admin.desktop \
    usr/share/metainfo/ru.tev.webadmin.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/tev-web-admin.svg \
    usr/share/icons/hicolor/48x48/apps/tev-web-admin.png \
    usr/share/icons/hicolor/256x256/apps/tev-web-admin.png \
    usr/share/man/man1/tev-web-admin.1.gz usr/share/man/man1/tev-crypt.1.gz \
    usr/share/man/man1/tev-report.1.gz \
    usr/share/tev-web-admin/DEDAdize_eng.ini \
    usr/share/tev-web-admin/ReportTemplates/TEVReports.xlsx \
    usr/share/tev-web-admin/portal-schema/install; do
    [[ -e $root/$f ]] || fail "the package lacks /$f"
done
[[ -x $root/usr/share/tev-web-admin/portal-schema/install ]] || fail "the schema install script is not executable"
if [[ -e $build/src/app/tev-report ]]; then
    [[ -x $root/usr/bin/tev-report ]] || fail "the package lacks /usr/bin/tev-report"
fi
zcat "$root/usr/share/man/man1/tev-web-admin.1.gz" | grep -q "$version" || fail "the manual page has no version"

desktop-file-validate "$root/usr/share/applications/tev-web-admin.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$root/usr/share/metainfo/ru.tev.webadmin.metainfo.xml" ||
    fail "metainfo invalid"

# Without a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tev-web-admin" --version)
[[ $out == "tev-web-admin $version" ]] || fail "--version printed '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tev-web-admin" --help | grep -q "Usage" ||
    fail "--help printed no usage"
"$root/usr/bin/tev-crypt" --help >/dev/null || fail "tev-crypt --help failed"

# First start: an empty configuration folder is seeded; the console then waits at its sign-in,
# which is as far as it gets here.
config="$work/config"
mkdir -p "$config"
start_console() {
    local status=0
    env -u TEV_APP_DIR XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen \
        timeout 4 "$root/usr/bin/tev-web-admin" >/dev/null 2>&1 || status=$?
    [[ $status -eq 124 ]] || fail "the console ended with status $status instead of waiting at its sign-in"
}
start_console
app="$config/tev-web-admin"
for f in DEDAdize_eng.ini ReportTemplates/TEVReports.xlsx DEDAdize.ini; do
    [[ -f $app/$f ]] || fail "the first start did not give $app/$f"
done
# A second start keeps what the user changed.
printf '[TITLE]\r\nrstrLangName=Mine\r\nrstrLangId=9\r\n' >"$app/DEDAdize_eng.ini"
start_console
grep -q "rstrLangName=Mine" "$app/DEDAdize_eng.ini" || fail "the second start overwrote a changed language file"
echo "check_package: $(basename "$deb") is fine"
