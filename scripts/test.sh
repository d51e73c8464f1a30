#!/usr/bin/env bash
# Installs what is missing, builds and runs every test against a private PostgreSQL cluster that
# lives only as long as this script.
#   scripts/test.sh                  every test twice: a Debug build (warnings as errors, every
#                                    target) in build/, then the test programs built with
#                                    AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/
#   scripts/test.sh [ctest args]     the Debug build only, e.g. -R Clients, -V
#   scripts/test.sh --plain [args]   the same
#   scripts/test.sh --sanitize [args] the sanitized build only
set -euo pipefail
TEV_SCRIPT=test.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TEV_ROOT"

plain=1 sanitized=1
case ${1:-} in
--sanitize) plain=0; shift ;;
--plain) sanitized=0; shift ;;
*) if [[ $# -gt 0 ]]; then sanitized=0; fi ;;
esac

scripts/install-deps.sh
if ((plain)); then
    start=$SECONDS
    tev_build build Debug "" -DTEV_WERROR=ON
    tev_log "Debug build: $((SECONDS - start)) s"
fi
if ((sanitized)); then
    start=$SECONDS
    # Only the test programs: the console, tools and benchmarks are built in the Debug run.
    tev_build build-sanitize Debug test_programs -DTEV_WERROR=ON -DTEV_SANITIZE=ON
    tev_log "sanitized build: $((SECONDS - start)) s"
fi

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
if ((plain)); then
    start=$SECONDS
    ctest --test-dir build -j2 --output-on-failure "$@" || status=$?
    tev_log "Debug tests: $((SECONDS - start)) s"
fi
if ((sanitized)); then
    start=$SECONDS
    (
        # Leaks are reported except those of scripts/lsan.supp (Qt's own, kept until exit); the
        # slow unwinder gives whole stacks, which the suppressions need to tell Qt's frames from ours.
        export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
        export LSAN_OPTIONS="suppressions=$TEV_ROOT/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
        export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
        # The package check needs the console built and packaged: the Debug run does it.
        ctest --test-dir build-sanitize -j2 --output-on-failure -E '^package_tests$' "$@"
    ) || status=$?
    tev_log "sanitized tests: $((SECONDS - start)) s"
fi
exit "$status"
