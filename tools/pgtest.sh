#!/usr/bin/env bash
# A private PostgreSQL 15 for the tests and benchmarks, listening on
# 127.0.0.1 and on a socket in its own folder only.
#
#   pgtest.sh setup DIR   make the server and start it, with roles clerk and
#                         stranger beside postgres; DIR/port then holds its port
#   pgtest.sh start DIR   start it again (after kill)
#   pgtest.sh kill DIR    end the server and every backend with SIGKILL, as a crash would
#   pgtest.sh pause DIR   stop the server and every backend (SIGSTOP), as a hung machine
#   pgtest.sh resume DIR  let them go on (SIGCONT)
#   pgtest.sh stop DIR    stop it and remove it and DIR
#   pgtest.sh standby DIR PRIMARY
#                         make a streaming standby of the server in PRIMARY
#                         (pg_basebackup -R) and start it
#   pgtest.sh promote DIR make the standby a primary
#
# The server refuses to run as root, so under root it runs as `nobody`. Its
# files live in a folder of their own under /tmp, which `nobody` can reach
# wherever DIR is (a build folder under /root cannot be); DIR/cluster names it.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
command=${1:?usage: pgtest.sh setup|start|kill|pause|resume|stop|standby|promote DIR}
dir=${2:?usage: pgtest.sh setup|start|kill|pause|resume|stop|standby|promote DIR}

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

cluster() {
  cat "$dir/cluster"
}

server_pid() {
  local pidfile
  pidfile="$(cluster)/data/postmaster.pid"
  [ -f "$pidfile" ] && head -n 1 "$pidfile" || true
}

start_server() {
  local home
  home=$(cluster)
  as_server "$bin/pg_ctl" -D "$home/data" -l "$home/server.log" -w -t 30 \
    -o "-p $(cat "$dir/port") -k $home -c listen_addresses=127.0.0.1" start >/dev/null
}

# A folder of its own for a new server, named in DIR/cluster.
new_cluster() {
  local home
  if [ -f "$dir/cluster" ]; then bash "$0" stop "$dir"; fi
  mkdir -p "$dir"
  home=$(mktemp -d /tmp/dialvault-pgtest.XXXXXX)
  echo "$home" >"$dir/cluster"
  chmod 755 "$home"
  if [ "$(id -u)" -eq 0 ]; then chown nobody "$home"; fi
}

# Started on a free port, tried at random; DIR/port names it.
start_on_free_port() {
  for _ in $(seq 20); do
    echo $((20000 + (RANDOM * 32768 + RANDOM) % 40000)) >"$dir/port"
    if start_server 2>/dev/null; then
      return 0
    fi
  done
  cat "$(cluster)/server.log" >&2
  exit 1
}

# The processes whose parent is $1, read from /proc (no procps needed) in
# one pass: a test kills the server in the middle of a commit, and a process
# started for each entry of /proc took longer than the commit.
children_of() {
  # The name in brackets may hold spaces; the state, then the parent follow it.
  cat /proc/[0-9]*/stat 2>/dev/null |
    awk -v parent="$1" 'match($0, /.*\) /) { split(substr($0, RSTART + RLENGTH), f, " "); if (f[2] == parent) print $1 }' ||
    true # a process that ended meanwhile has no stat to read
}

# The server's children, found by its id, then the server itself.
kill_server() {
  local pid children alive
  pid=$(server_pid)
  [ -n "$pid" ] || return 0
  children=$(children_of "$pid")
  kill -KILL "$pid" 2>/dev/null || true
  for child in $children; do kill -KILL "$child" 2>/dev/null || true; done
  for _ in $(seq 100); do
    alive=0
    kill -0 "$pid" 2>/dev/null && alive=1
    for child in $children; do kill -0 "$child" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && return 0
    sleep 0.05
  done
}

# Sends $1 to the server and its children.
signal_server() {
  local pid
  pid=$(server_pid)
  [ -n "$pid" ] || return 1
  for child in $(children_of "$pid"); do kill "-$1" "$child" 2>/dev/null || true; done
  kill "-$1" "$pid"
}

case "$command" in
pause)
  signal_server STOP
  ;;
resume)
  signal_server CONT
  ;;
setup)
  new_cluster
  as_server "$bin/initdb" -D "$(cluster)/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
    --no-sync >/dev/null
  cat >>"$(cluster)/data/postgresql.conf" <<EOF
max_connections = 100
unix_socket_permissions = 0777
EOF
  start_on_free_port
  as_server "$bin/psql" -X -q -h "$(cluster)" -p "$(cat "$dir/port")" -U postgres -d postgres \
    -v ON_ERROR_STOP=1 -c "CREATE ROLE clerk LOGIN" -c "CREATE ROLE stranger LOGIN"
  ;;
standby)
  primary=${3:?usage: pgtest.sh standby DIR PRIMARY}
  new_cluster
  as_server "$bin/pg_basebackup" -h "$(cat "$primary/cluster")" -p "$(cat "$primary/port")" \
    -U postgres -D "$(cluster)/data" -R -X stream -c fast --no-sync
  start_on_free_port
  ;;
promote)
  as_server "$bin/pg_ctl" -D "$(cluster)/data" -w -t 30 promote >/dev/null
  ;;
start)
  start_server
  ;;
kill)
  kill_server
  ;;
stop)
  if [ -f "$dir/cluster" ]; then
    home=$(cluster)
    if [ -d "$home/data" ]; then
      as_server "$bin/pg_ctl" -D "$home/data" -m immediate -w stop >/dev/null 2>&1 || kill_server
    fi
    rm -rf "$home"
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: pgtest.sh setup|start|kill|pause|resume|stop|standby|promote DIR" >&2
  exit 2
  ;;
esac
