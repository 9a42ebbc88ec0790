#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: "start DIR" creates a cluster in DIR and starts it
# listening only on a Unix socket in DIR; "stop DIR" stops it and removes DIR. As root, the
# server runs as the unprivileged user "nobody" (the server refuses to run as root).
# Superuser "lexivar", password "lexivar-essai" (the tests' server is reachable only through
# the socket in DIR).
set -euo pipefail

action=${1:?start|stop}
dir=${2:?folder}

bin_dir() {
    local initdb
    initdb=$(ls -d /usr/lib/postgresql/*/bin/initdb 2>/dev/null | sort -V | tail -n1)
    if [ -z "$initdb" ]; then
        initdb=$(command -v initdb || true)
    fi
    if [ -z "$initdb" ]; then
        echo "pg_server.sh : initdb est introuvable (paquet postgresql)." >&2
        exit 1
    fi
    dirname "$initdb"
}

as_server_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
    else
        "$@"
    fi
}

bin=$(bin_dir)
case "$action" in
start)
    if [ -d "$dir" ]; then
        as_server_user "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$dir"
    fi
    mkdir -p "$dir"
    chmod 700 "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown nobody:nogroup "$dir"; fi
    printf 'lexivar-essai\n' >"$dir/pw"
    if [ "$(id -u)" -eq 0 ]; then chown nobody:nogroup "$dir/pw"; fi
    as_server_user "$bin/initdb" -D "$dir/data" -U lexivar --pwfile="$dir/pw" \
        --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    rm -f "$dir/pw"
    as_server_user "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off \
            -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null
    # Others may reach the socket (the tests run as another user than the server).
    chmod 711 "$dir"
    ;;
stop)
    if [ -d "$dir/data" ]; then
        as_server_user "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage : pg_server.sh start|stop DOSSIER" >&2
    exit 2
    ;;
esac
