#!/usr/bin/env bash
# Installs what is missing, builds the console, starts a private PostgreSQL
# cluster holding the demo portal and starts the console on it.
#   scripts/demo.sh                    console in a window (needs a display)
#   scripts/demo.sh --screenshot FILE  console under Xvfb; writes its window to FILE (PNG)
#   scripts/demo.sh --stop             stops the demo cluster
# The demo folder is ${TEV_DEMO_DIR:-~/.local/share/tev-web-admin/demo}; the
# cluster keeps running between runs, with its data and port.
set -euo pipefail
TEV_SCRIPT=demo.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

usage() {
    echo "usage: $0 [--screenshot FILE [--command NAME] [--lang LANG] | --stop]" >&2
    exit 2
}

screenshot=""
command=""
language=""
stop=0
while [[ $# -gt 0 ]]; do
    case $1 in
    --screenshot)
        [[ $# -ge 2 && -n $2 ]] || usage
        screenshot=$2
        shift 2
        ;;
    --screenshot=*)
        screenshot=${1#*=}
        [[ -n $screenshot ]] || usage
        shift
        ;;
    --command)
        [[ $# -ge 2 && -n $2 ]] || usage
        command=$2
        shift 2
        ;;
    --lang)
        [[ $# -ge 2 && -n $2 ]] || usage
        language=$2
        shift 2
        ;;
    --stop)
        stop=1
        shift
        ;;
    -h | --help) usage ;;
    *)
        echo "demo.sh: unknown argument '$1'" >&2
        usage
        ;;
    esac
done
if [[ -z $screenshot && ( -n $command || -n $language ) ]]; then
    echo "demo.sh: --command and --lang go with --screenshot" >&2
    usage
fi
if [[ -n $screenshot ]]; then
    # Made absolute now: the console runs from another folder.
    screenshot=$(realpath -m -- "$screenshot")
fi

cd "$TEV_ROOT"

demo=${TEV_DEMO_DIR:-$HOME/.local/share/tev-web-admin/demo}
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
app_dir="$demo/app"
if tev_is_root; then
    # The server runs as postgres, which cannot enter /root: the cluster lives
    # under /var/tmp, one per demo folder.
    suffix=""
    if [[ -n ${TEV_DEMO_DIR:-} ]]; then
        suffix="-$(printf '%s' "$demo" | cksum | cut -d' ' -f1)"
    fi
    cluster="/var/tmp/tev-web-admin-demo-$(id -u)$suffix"
else
    cluster="$demo/cluster"
fi

if [[ $stop -eq 1 ]]; then
    tev_pg_stop "$cluster"
    tev_log "demo cluster in $cluster stopped"
    exit 0
fi

scripts/install-deps.sh
build_dir=build-demo
# Only the console and what it needs, not the tests.
tev_build "$build_dir" Release tev-web-admin
console="$TEV_ROOT/$build_dir/src/app/tev-web-admin"
[[ -x $console ]] || tev_die "the build did not produce $console"

port=$(tev_pg_start "$cluster" auto)
# The portal is installed on the first run, and again only when
# portal-schema/ has changed since (an old schema would not fit the console).
schema_sum=$(find portal-schema -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum | cut -d' ' -f1)
marker="$cluster/portal-installed"
if [[ ! -f $marker || $(cat "$marker") != "$schema_sum" ]]; then
    if [[ -f $marker ]]; then
        tev_log "portal-schema/ has changed: reinstalling the demo portal (demo data is reset)"
    else
        tev_log "first run: installing the demo portal into database tevportal"
    fi
    tev_create_db "$port" tevportal
    tev_install_portal "$port" tevportal
    printf '%s\n' "$schema_sum" >"$marker"
fi

mkdir -p "$app_dir"
# Rewritten on every run: the port can change when the old one was taken.
cat >"$app_dir/pg_service.conf" <<EOS
[TEVDEMO]
host=127.0.0.1
port=$port
dbname=tevportal
EOS
# The console owns DEDAdize.ini once it exists (Windows form: CR LF).
if [[ ! -e $app_dir/DEDAdize.ini ]]; then
    printf '%s\r\n' '[CONNECTION]' 'server=TEVDEMO' 'user=tev_user' 'home=1' '' \
        '[SCHEMES]' 'TEV=1' 'WEB2=0' >"$app_dir/DEDAdize.ini"
fi

# Language files are the program's own: always the current ones.
cp -f "$TEV_ROOT"/resources/lang/DEDAdize_*.ini "$app_dir"/
# So is the report template the build packed.
report_template="$TEV_ROOT/$build_dir/src/app/ReportTemplates/TEVReports.xlsx"
if [[ -f $report_template ]]; then
    mkdir -p "$app_dir/ReportTemplates"
    cp -f "$report_template" "$app_dir/ReportTemplates/"
fi
export TEV_APP_DIR="$app_dir"
export PGSERVICEFILE="$app_dir/pg_service.conf"
export TEV_DEMO_PASSWORD=${TEV_DEMO_PASSWORD:-tev_user}

stop_hint="the demo cluster keeps running on 127.0.0.1:$port; stop it with: scripts/demo.sh --stop"

if [[ -n $screenshot ]]; then
    mkdir -p "$(dirname "$screenshot")"
    rm -f "$screenshot"
    status=0
    # Another interface language for this picture only: the console writes its language back
    # when it closes, so the settings file is restored afterwards.
    ini_backup=""
    if [[ -n $language ]]; then
        lang_file="$app_dir/DEDAdize_$language.ini"
        [[ -f $lang_file ]] || tev_die "no language file $lang_file"
        lang_id=$(tr -d '\r' <"$lang_file" | sed -n 's/^rstrLangId=//p' | head -n1)
        [[ -n $lang_id ]] || tev_die "$lang_file names no rstrLangId"
        ini_backup=$(mktemp)
        cp "$app_dir/DEDAdize.ini" "$ini_backup"
        tr -d '\r' <"$ini_backup" |
            awk -v id="$lang_id" '
                /^\[/ { if (insec && !done) { print "CurrentLanguageId=" id; done = 1 }
                         insec = (tolower($0) == "[lang_reference]") }
                insec && tolower($0) ~ /^currentlanguageid=/ { if (!done) print "CurrentLanguageId=" id; done = 1; next }
                { print }
                END { if (!done) { if (!insec) print "[LANG_REFERENCE]"; print "CurrentLanguageId=" id } }' |
            sed 's/$/\r/' >"$app_dir/DEDAdize.ini"
    fi
    TEV_SCREENSHOT="$screenshot" TEV_SCREENSHOT_COMMAND="$command" QT_QPA_PLATFORM=xcb timeout 300 \
        xvfb-run -a -s "-screen 0 1280x800x24" "$console" || status=$?
    if [[ -n $ini_backup ]]; then
        cp "$ini_backup" "$app_dir/DEDAdize.ini"
        rm -f "$ini_backup"
    fi
    tev_log "$stop_hint"
    if [[ ! -s $screenshot ]]; then
        tev_die "the console wrote no screenshot to $screenshot (exit status $status)"
    fi
    tev_log "screenshot written to $screenshot"
    exit 0
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    tev_log "$stop_hint"
    tev_die "no display to show the console on; use --screenshot FILE to run it under Xvfb"
fi
tev_log "starting the console (sign in as tev_user / tev_user); $stop_hint"
status=0
"$console" || status=$?
tev_log "$stop_hint"
exit "$status"
