#!/usr/bin/env bash
# A private PostgreSQL 15 for the tests and benchmarks, in a folder of its
# own, listening on 127.0.0.1 and a socket in that folder only.
#
#   pgtest.sh setup DIR   make the cluster, start it, add the test roles;
#                         DIR/port then holds its port
#   pgtest.sh start DIR   start it again (after kill)
#   pgtest.sh kill DIR    end the server and every backend with SIGKILL, as a crash would
#   pgtest.sh stop DIR    stop it and remove DIR
#
# The server refuses to run as root, so under root it runs as `nobody`,
# which owns DIR.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
command=${1:?usage: pgtest.sh setup|start|kill|stop DIR}
dir=${2:?usage: pgtest.sh setup|start|kill|stop DIR}

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

server_pid() {
  [ -f "$dir/data/postmaster.pid" ] && head -n 1 "$dir/data/postmaster.pid" || true
}

start_server() {
  local port
  port=$(cat "$dir/port")
  as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
    -o "-p $port -k $dir/socket -c listen_addresses=127.0.0.1" start >/dev/null
}

# The children of the server, by its id, then the server itself.
kill_server() {
  local pid
  pid=$(server_pid)
  [ -n "$pid" ] || return 0
  local children
  children=$(ps -o pid= --ppid "$pid" || true)
  kill -KILL "$pid" 2>/dev/null || true
  for child in $children; do kill -KILL "$child" 2>/dev/null || true; done
  for _ in $(seq 100); do
    local alive=0
    kill -0 "$pid" 2>/dev/null && alive=1
    for child in $children; do kill -0 "$child" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && return 0
    sleep 0.05
  done
}

case "$command" in
setup)
  rm -rf "$dir"
  mkdir -p "$dir/socket"
  [ "$(id -u)" -eq 0 ] && chown -R nobody "$dir"
  chmod 755 "$dir"
  as_server "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
    --no-sync >/dev/null
  # Speed over durability where no test needs it would hide lost commits:
  # fsync stays on, only the checkpoints are spread less.
  cat >>"$dir/data/postgresql.conf" <<EOF
max_connections = 100
shared_buffers = 128MB
unix_socket_permissions = 0777
EOF
  for attempt in $(seq 20); do
    echo $((20000 + (RANDOM * 32768 + RANDOM) % 40000)) >"$dir/port"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir/port"
    if start_server 2>/dev/null; then
      break
    fi
    [ "$attempt" -eq 20 ] && { cat "$dir/server.log" >&2; exit 1; }
  done
  # Tests make their own databases; these roles stand for an office's people.
  as_server "$bin/psql" -q -h "$dir/socket" -p "$(cat "$dir/port")" -U postgres -d postgres \
    -v ON_ERROR_STOP=1 <<'EOF'
CREATE ROLE clerk LOGIN;
CREATE ROLE stranger LOGIN;
EOF
  ;;
start)
  start_server
  ;;
kill)
  kill_server
  ;;
stop)
  if [ -d "$dir/data" ]; then
    as_server "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || kill_server
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: pgtest.sh setup|start|kill|stop DIR" >&2
  exit 2
  ;;
esac
