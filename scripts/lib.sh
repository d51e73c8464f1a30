# shellcheck shell=bash
# Shared helpers for the scripts in this folder and bench/run. Source it; it
# defines functions and a few variables (TEV_ROOT, TEV_PG_BIN) and changes no
# shell options.

TEV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# CI may start us without HOME; the ccache and demo folders hang off it.
if [[ -z ${HOME:-} ]]; then
    HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
    export HOME
fi
TEV_PG_BIN="${TEV_PG_BIN:-/usr/lib/postgresql/15/bin}"
TEV_PG_SUPERUSER="tev_admin"
TEV_PG_SUPERPASS="tev_admin"

tev_log() { printf '%s: %s\n' "${TEV_SCRIPT:-${0##*/}}" "$*" >&2; }
tev_die() {
    tev_log "error: $*"
    exit 1
}

tev_is_root() { [[ $(id -u) -eq 0 ]]; }

# Runs a command as the OS user that owns the server files: `postgres` when we
# are root (the server refuses to run as root), the caller otherwise. Runs from
# / so that a cwd the postgres user cannot enter does not matter.
tev_pg_as_owner() {
    if tev_is_root; then
        (cd / && runuser -u postgres -- "$@")
    else
        "$@"
    fi
}

# A fresh empty folder for a throw-away cluster. As root it has to sit where
# the postgres user can reach it, so it goes under /var/tmp whatever TMPDIR is.
tev_cluster_tmpdir() {
    local base
    if tev_is_root; then base=/var/tmp; else base="${TMPDIR:-/tmp}"; fi
    mktemp -d "$base/${1:-tev-cluster}.XXXXXX"
}

tev_port_in_use() {
    # A TCP connect that succeeds means someone listens there.
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

tev_free_port() {
    local port
    if [[ -x /usr/bin/python3 ]] &&
        port=$(/usr/bin/python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])' 2>/dev/null) && [[ -n $port ]]; then
        printf '%s\n' "$port"
        return 0
    fi
    local i
    for ((i = 0; i < 200; i++)); do
        port=$((20000 + RANDOM % 40000))
        if ! tev_port_in_use "$port"; then
            printf '%s\n' "$port"
            return 0
        fi
    done
    tev_die "no free TCP port found on 127.0.0.1"
}

# Inside a cluster folder DIR: DIR/data is the data directory, DIR itself the
# socket folder, DIR/port the port, DIR/server.log the server's log.
tev_pg_initdb() {
    local dir=$1 locale=C
    if locale -a 2>/dev/null | grep -qiE '^c\.utf-?8$'; then locale=C.UTF-8; fi
    printf '%s\n' "$TEV_PG_SUPERPASS" >"$dir/pwfile"
    if tev_is_root; then chown postgres:postgres "$dir/pwfile"; fi
    chmod 600 "$dir/pwfile"
    local out
    if ! out=$(tev_pg_as_owner "$TEV_PG_BIN/initdb" -D "$dir/data" -U "$TEV_PG_SUPERUSER" \
        --pwfile="$dir/pwfile" --auth-host=scram-sha-256 --auth-local=trust \
        -E UTF8 --locale="$locale" 2>&1); then
        rm -f "$dir/pwfile"
        printf '%s\n' "$out" >&2
        tev_die "initdb failed in $dir/data"
    fi
    rm -f "$dir/pwfile"
    # Single quotes inside a postgresql.conf string are doubled.
    local sockdir=${dir//\'/\'\'}
    tev_pg_as_owner tee -a "$dir/data/postgresql.conf" >/dev/null <<EOF

# Private cluster of the TEV Web Admin scripts: loopback only, and durability
# traded for speed (the data is throw-away or demo data).
listen_addresses = '127.0.0.1'
unix_socket_directories = '$sockdir'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 200
EOF
}

tev_pg_running() {
    [[ -f $1/data/postmaster.pid ]] &&
        tev_pg_as_owner "$TEV_PG_BIN/pg_ctl" status -D "$1/data" >/dev/null 2>&1
}

# tev_pg_start DIR PORT|auto — creates the cluster on first use, starts it,
# waits until it accepts connections and prints the port on stdout. "auto"
# keeps the port the cluster had before when it is still free, else picks one.
tev_pg_start() {
    local dir=$1 want=${2:-auto}
    [[ -n $dir ]] || tev_die "usage: start DIR PORT|auto"
    [[ $want == auto || $want =~ ^[0-9]+$ ]] || tev_die "port must be a number or 'auto', not '$want'"
    [[ -x $TEV_PG_BIN/pg_ctl ]] || tev_die "PostgreSQL 15 server not found in $TEV_PG_BIN (run scripts/install-deps.sh)"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    # The server's socket path must fit into sun_path (107 bytes).
    if ((${#dir} + 18 > 107)); then
        tev_die "cluster folder path too long for a unix socket: $dir"
    fi
    if tev_is_root; then
        chown postgres:postgres "$dir"
        chmod 700 "$dir"
        if ! runuser -u postgres -- test -w "$dir" -a -x "$dir"; then
            tev_die "the postgres user cannot reach $dir; as root put clusters under a world-traversable folder such as /var/tmp"
        fi
    fi

    if [[ ! -f $dir/data/PG_VERSION ]]; then
        if [[ -e $dir/data ]]; then
            tev_die "$dir/data exists but holds no cluster; remove it first"
        fi
        tev_pg_initdb "$dir"
    fi

    if tev_pg_running "$dir"; then
        # Already up (a demo started earlier): report the port it uses.
        sed -n 4p "$dir/data/postmaster.pid"
        return 0
    fi

    local port attempt
    for attempt in 1 2 3; do
        if [[ $want != auto ]]; then
            tev_port_in_use "$want" && tev_die "port $want on 127.0.0.1 is already in use"
            port=$want
        elif [[ $attempt -eq 1 && -s $dir/port ]] && ! tev_port_in_use "$(cat "$dir/port")"; then
            port=$(cat "$dir/port")
        else
            port=$(tev_free_port)
        fi
        printf '%s\n' "$port" >"$dir/port"
        if tev_pg_as_owner "$TEV_PG_BIN/pg_ctl" start -D "$dir/data" -w -t 120 \
            -l "$dir/server.log" -o "-p $port" >/dev/null 2>&1; then
            printf '%s\n' "$port"
            return 0
        fi
        # A fixed port is not retried; "auto" may have lost a race for its port.
        [[ $want == auto ]] || break
    done
    tev_log "server log ($dir/server.log):"
    tail -n 30 "$dir/server.log" >&2 2>/dev/null || true
    tev_die "PostgreSQL did not start in $dir"
}

# tev_pg_stop DIR — fast shutdown; a stopped or missing cluster is fine.
tev_pg_stop() {
    local dir=$1
    [[ -n $dir ]] || tev_die "usage: stop DIR"
    if [[ ! -d $dir/data ]] || ! tev_pg_running "$dir"; then
        return 0
    fi
    tev_pg_as_owner "$TEV_PG_BIN/pg_ctl" stop -D "$dir/data" -m fast -w -t 60 >/dev/null ||
        tev_die "could not stop the cluster in $dir"
}

# libpq connection string to a database of a cluster started here.
tev_conninfo() { # PORT DBNAME [USER [PASSWORD]]
    local user=${3:-$TEV_PG_SUPERUSER}
    printf 'host=127.0.0.1 port=%s user=%s password=%s dbname=%s' "$1" "$user" "${4:-$user}" "$2"
}

# psql with errors fatal and no ~/.psqlrc; the rest of the arguments are psql's.
tev_psql() { # CONNINFO ARGS...
    local conninfo=$1
    shift
    "$TEV_PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 -d "$conninfo" "$@"
}

tev_create_db() { # PORT DBNAME
    local exists
    exists=$(tev_psql "$(tev_conninfo "$1" postgres)" -tAc "SELECT 1 FROM pg_database WHERE datname = '$2'")
    if [[ $exists != 1 ]]; then
        tev_psql "$(tev_conninfo "$1" postgres)" -c "CREATE DATABASE \"$2\"" >/dev/null
    fi
}

# Runs the portal's installer against one database (connects as superuser).
tev_install_portal() { # PORT DBNAME
    local installer=$TEV_ROOT/portal-schema/install
    [[ -x $installer ]] || tev_die "$installer is missing or not executable"
    "$installer" "$(tev_conninfo "$1" "$2")" || tev_die "portal-schema/install failed for database $2"
}

# cmake configure + build. A build folder made earlier with another generator
# is reconfigured from scratch instead of failing on the generator mismatch.
tev_build() { # BUILD_DIR BUILD_TYPE [TARGET] [extra cmake -D...]
    local bdir=$1 btype=$2 target=${3:-}
    shift 3 || shift $#
    export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
    mkdir -p "$CCACHE_DIR" 2>/dev/null || true
    # Paths relative to the checkout, so that a fresh clone elsewhere reuses the cache.
    export CCACHE_BASEDIR="$TEV_ROOT" CCACHE_NOHASHDIR=1
    if [[ -f $bdir/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$bdir/CMakeCache.txt"; then
        tev_log "$bdir was configured with another generator; configuring it anew"
        rm -rf "$bdir/CMakeCache.txt" "$bdir/CMakeFiles"
    fi
    cmake -S "$TEV_ROOT" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE="$btype" "$@" ||
        tev_die "cmake configure failed in $bdir"
    if [[ -n $target ]]; then
        cmake --build "$bdir" -j2 --target "$target" || tev_die "build of $target failed"
    else
        cmake --build "$bdir" -j2 || tev_die "build failed in $bdir"
    fi
}
