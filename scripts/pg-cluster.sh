#!/usr/bin/env bash
# A private PostgreSQL 15 cluster in a folder of its own.
#   pg-cluster.sh start DIR PORT|auto   create on first use, start, print the port
#   pg-cluster.sh stop DIR              fast shutdown (fine when already stopped)
#   pg-cluster.sh status DIR            exit 0 when running, print the port
# Superuser tev_admin / tev_admin; TCP on 127.0.0.1 only, socket in DIR.
set -euo pipefail
TEV_SCRIPT=pg-cluster.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

usage() {
    echo "usage: $0 start DIR PORT|auto | stop DIR | status DIR" >&2
    exit 2
}

[[ $# -ge 2 ]] || usage
cmd=$1
dir=$2
case $cmd in
start)
    [[ $# -eq 3 ]] || usage
    tev_pg_start "$dir" "$3"
    ;;
stop)
    [[ $# -eq 2 ]] || usage
    tev_pg_stop "$dir"
    ;;
status)
    [[ $# -eq 2 ]] || usage
    if tev_pg_running "$dir"; then
        sed -n 4p "$dir/data/postmaster.pid"
    else
        echo "not running" >&2
        exit 1
    fi
    ;;
*) usage ;;
esac
