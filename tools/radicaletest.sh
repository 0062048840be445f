#!/usr/bin/env bash
# A private Radicale (CardDAV server) for the tests and benchmarks of the
# address book sync, listening on 127.0.0.1 only, with its storage in a
# scratch folder and one htpasswd user. The storage is on /dev/shm when it
# can be: Radicale syncs every card it writes to the disk, which made a sync
# of a few hundred cards take seconds.
#
#   radicaletest.sh setup DIR   make the storage and the user, start the server;
#                               DIR/port, DIR/storage, DIR/user and DIR/password then
#                               hold what a test needs
#   radicaletest.sh book DIR NAME   make an empty address book NAME of the user
#   radicaletest.sh kill DIR    end the server with SIGKILL, as a crash would
#   radicaletest.sh start DIR   start it again, on the same port
#   radicaletest.sh stop DIR    stop it and remove DIR
set -euo pipefail

command=${1:?usage: radicaletest.sh setup|book|kill|start|stop DIR}
dir=${2:?usage: radicaletest.sh setup|book|kill|start|stop DIR}
user=alice

server_pid() {
  [ -f "$dir/pid" ] && cat "$dir/pid" || true
}

# Waits until the port takes connections; false when the server ended first.
wait_ready() {
  local pid=$1
  for _ in $(seq 200); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$(cat "$dir/port")") 2>/dev/null; then
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

start_server() {
  setsid radicale --config "$dir/config" >>"$dir/radicale.log" 2>&1 </dev/null &
  local pid=$!
  echo "$pid" >"$dir/pid"
  wait_ready "$pid"
}

kill_server() {
  local pid
  pid=$(server_pid)
  [ -n "$pid" ] || return 0
  kill -KILL "$pid" 2>/dev/null || true
  # Ended once gone, or a zombie that nobody reaps (its parent ended long ago).
  for _ in $(seq 100); do
    state=$(awk 'match($0, /.*\) /) { print substr($0, RSTART + RLENGTH, 1) }' "/proc/$pid/stat" 2>/dev/null || true)
    [ -z "$state" ] || [ "$state" = Z ] && break
    sleep 0.05
  done
  rm -f "$dir/pid"
}

# Removes DIR and the storage, wherever it lives.
remove_dir() {
  if [ -L "$dir/storage" ]; then rm -rf "$(readlink "$dir/storage")"; fi
  rm -rf "$dir"
}

case "$command" in
setup)
  if [ -f "$dir/pid" ]; then "$0" stop "$dir"; fi
  remove_dir
  mkdir -p "$dir"
  if storage=$(mktemp -d /dev/shm/dialvault-radicale.XXXXXX 2>/dev/null); then
    ln -s "$storage" "$dir/storage"
  fi
  mkdir -p "$dir/storage/collection-root/$user"
  password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
  echo "$user" >"$dir/user"
  echo "$password" >"$dir/password"
  htpasswd -b -c -m "$dir/users" "$user" "$password" 2>/dev/null
  # A free port, tried at random.
  for attempt in $(seq 20); do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
    # A port that answers already is another program's: waiting for ours
    # would find that one ready.
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      [ "$attempt" -lt 20 ] || { echo "no free port found" >&2; exit 1; }
      continue
    fi
    echo "$port" >"$dir/port"
    cat >"$dir/config" <<CONFIG
[server]
hosts = 127.0.0.1:$port
max_connections = 16
[auth]
type = htpasswd
htpasswd_filename = $dir/users
htpasswd_encryption = md5
delay = 0.05
[rights]
type = owner_only
[storage]
filesystem_folder = $dir/storage
[web]
type = none
[logging]
level = warning
CONFIG
    if start_server; then
      break
    fi
    kill_server
    if [ "$attempt" -eq 20 ]; then
      cat "$dir/radicale.log" >&2
      exit 1
    fi
  done
  ;;
book)
  name=${3:?usage: radicaletest.sh book DIR NAME}
  book="$dir/storage/collection-root/$user/$name"
  rm -rf "$book"
  mkdir -p "$book"
  echo '{"tag": "VADDRESSBOOK"}' >"$book/.Radicale.props"
  ;;
kill)
  kill_server
  ;;
start)
  start_server
  ;;
stop)
  kill_server
  remove_dir
  ;;
*)
  echo "usage: radicaletest.sh setup|book|kill|start|stop DIR" >&2
  exit 2
  ;;
esac
