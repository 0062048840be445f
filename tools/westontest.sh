#!/usr/bin/env bash
# A private Wayland compositor (weston) for the tests of the windows on
# Wayland, drawing with its software renderer and taking screenshots
# (weston-screenshooter) for the tests to read back.
#
#   westontest.sh headless DIR   weston without a screen or input devices
#   westontest.sh x11 DIR        a virtual X display (Xvfb), DIR/display holding
#                                its number, with weston in a window filling
#                                it: xdotool's pointer there is weston's
#   westontest.sh stop DIR       stop what DIR's start started and remove DIR
#
# Either way DIR/runtime is the compositor's XDG_RUNTIME_DIR and its socket
# there is named wayland-dialvault.
set -euo pipefail

command=${1:?usage: westontest.sh headless|x11|stop DIR}
dir=$(realpath -m "${2:?usage: westontest.sh headless|x11|stop DIR}")
socket=wayland-dialvault
width=1280
height=1024

# Starts "$@" in a session of its own, so that stop ends it with the helpers
# it starts (weston's shell and keyboard); its process id goes into DIR/$1.pid.
start_alone() {
  local name=$1
  shift
  setsid "$@" >"$dir/$name.log" 2>&1 </dev/null &
  echo $! >"$dir/$name.pid"
}

wait_for() {
  local what=$1 log=$2
  for _ in $(seq 200); do
    [ -e "$what" ] && return 0
    sleep 0.05
  done
  echo "westontest.sh: $what did not appear" >&2
  cat "$log" >&2
  return 1
}

# start_weston BACKEND [VARIABLE=VALUE...]
start_weston() {
  local backend=$1
  shift
  start_alone weston env XDG_RUNTIME_DIR="$dir/runtime" "$@" weston --backend="$backend" \
    --use-pixman --debug --no-config --idle-time=0 --socket="$socket" \
    --width="$width" --height="$height"
  wait_for "$dir/runtime/$socket" "$dir/weston.log"
}

# Whether process $1 still runs: one that ended stays a zombie until the
# process that adopted it reaps it.
running() {
  local state
  state=$(sed -nE 's/^[0-9]+ \(.*\) ([A-Za-z]) .*/\1/p' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_session() {
  local pidfile="$dir/$1.pid" pid
  [ -f "$pidfile" ] || return 0
  pid=$(cat "$pidfile")
  kill -TERM -- "-$pid" 2>/dev/null || true
  for _ in $(seq 100); do
    running "$pid" || return 0
    sleep 0.05
  done
  kill -KILL -- "-$pid" 2>/dev/null || true
}

stop_all() {
  stop_session weston
  stop_session xvfb
  rm -rf "$dir"
}

prepare() {
  stop_all
  mkdir -p "$dir"
  mkdir -m 700 "$dir/runtime"
}

case "$command" in
headless)
  prepare
  start_weston headless-backend.so
  ;;
x11)
  prepare
  # Xvfb takes a free display itself and says which. Its screen is larger
  # than weston's window, which stands at its top left: weston's X11 backend
  # follows the pointer by its moves and takes its place only as it enters
  # the window, so a test moves it out there and in again to place it.
  start_alone xvfb Xvfb -displayfd 3 -screen 0 "$((width + 64))x$((height + 64))x24" -nolisten tcp \
    3>"$dir/display"
  for _ in $(seq 200); do
    [ -s "$dir/display" ] && break
    sleep 0.05
  done
  [ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; exit 1; }
  start_weston x11-backend.so DISPLAY=":$(cat "$dir/display")"
  ;;
stop)
  stop_all
  ;;
*)
  echo "usage: westontest.sh headless|x11|stop DIR" >&2
  exit 2
  ;;
esac
