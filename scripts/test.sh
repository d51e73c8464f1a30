#!/usr/bin/env bash
# Installs what is missing, builds (Debug, warnings as errors) and runs every
# test against a private PostgreSQL cluster that lives only as long as this
# script. Arguments are passed on to ctest (e.g. -R Clients, -V).
# --sanitize (first argument) builds in build-sanitize with AddressSanitizer and
# UndefinedBehaviorSanitizer instead and runs the same tests under them.
set -euo pipefail
TEV_SCRIPT=test.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TEV_ROOT"

bdir=build
sanitize=()
if [[ ${1:-} == --sanitize ]]; then
    shift
    bdir=build-sanitize
    sanitize=(-DTEV_SANITIZE=ON)
    # Leaks are reported except those of scripts/lsan.supp (Qt's own, kept until exit); the slow
    # unwinder gives whole stacks, which the suppressions need to tell Qt's frames from ours.
    export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    export LSAN_OPTIONS="suppressions=$TEV_ROOT/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
fi

scripts/install-deps.sh
tev_build "$bdir" Debug "" -DTEV_WERROR=ON "${sanitize[@]}"

cluster=""
# shellcheck disable=SC2317  # called from the trap
cleanup() {
    if [[ -n $cluster ]]; then
        (tev_pg_stop "$cluster") || true
        rm -rf "$cluster"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

cluster=$(tev_cluster_tmpdir tev-test)
port=$(tev_pg_start "$cluster" auto)
tev_log "PostgreSQL on 127.0.0.1:$port; loading the portal into tev_template"
tev_create_db "$port" tev_template
tev_install_portal "$port" tev_template

export TEV_TEST_PGHOST=127.0.0.1
export TEV_TEST_PGPORT=$port
export TEV_TEST_PGUSER=$TEV_PG_SUPERUSER
export TEV_TEST_PGPASSWORD=$TEV_PG_SUPERPASS
export TEV_TEST_PGTEMPLATE=tev_template
export QT_QPA_PLATFORM=offscreen

status=0
ctest --test-dir "$bdir" -j2 --output-on-failure "$@" || status=$?
exit "$status"
