#!/usr/bin/env bash
# A private three-node MariaDB Galera cluster on the loopback address, for trying the
# program and running the tests against a cluster: every node takes writes, as on the
# network's own cluster. Each node has its own data directory under DIR, and runs as
# whoever calls this script (see scripts/db.sh); nothing is a system service.
#
#   scripts/cluster.sh start DIR [PORT]   nodes 1-3 on client ports PORT, PORT+1, PORT+2
#   scripts/cluster.sh stop DIR           stop every node of DIR
#   scripts/cluster.sh sql DIR [NODE]     a client as root on node NODE (default 1)
#   scripts/cluster.sh status DIR         exit 0 when all three nodes run
#
# Group communication, incremental and full state transfer of node N use the ports
# GROUP+N-1, GROUP+3+N-1 and GROUP+6+N-1, where GROUP is TALVEROS_CLUSTER_GROUP_PORT or,
# by default, PORT+1000. Node 1 starts the cluster; the others join it by state transfer.
# The schema, the private administrative account and the private triggers are loaded
# through node 1 on every start.
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cmd=${1:-}
dir=${2:-}
usage() { echo "usage: $0 start|stop|sql|status DIR [PORT|NODE]" >&2; exit 2; }
[ -n "$cmd" ] && [ -n "$dir" ] || usage
if [ "$cmd" = start ]; then
  mkdir -p "$dir"
elif [ ! -d "$dir" ]; then
  [ "$cmd" = stop ] && exit 0
  exit 1
fi
dir=$(cd "$dir" && pwd)
nodes=(1 2 3)
provider=/usr/lib/galera/libgalera_smm.so

# Ports are fixed at the first start and kept beside the nodes, so that stop and sql
# need only the directory.
if [ "$cmd" = start ]; then
  port=${3:-3306}
  group=${TALVEROS_CLUSTER_GROUP_PORT:-$((port + 1000))}
  printf '%s %s\n' "$port" "$group" >"$dir/ports"
fi
if [ -f "$dir/ports" ]; then
  read -r port group <"$dir/ports"
fi

node_dir() { echo "$dir/node$1"; }
sock() {
  local s
  s="$(node_dir "$1")/mysqld.sock"
  # Unix socket paths end at 107 bytes (see db.sh).
  if [ ${#s} -gt 100 ]; then
    s="/tmp/talveros-db-$(printf '%s' "$(node_dir "$1")" | md5sum | cut -c1-16).sock"
  fi
  echo "$s"
}
pidfile() { echo "$(node_dir "$1")/mysqld.pid"; }
running() { [ -f "$(pidfile "$1")" ] && kill -0 "$(cat "$(pidfile "$1")")" 2>/dev/null; }
client() { local n=$1; shift; mariadb --no-defaults --socket="$(sock "$n")" -uroot "$@"; }
wsrep_state() { client "$1" -N -e "SHOW STATUS LIKE 'wsrep_local_state_comment'" 2>/dev/null | cut -f2; }
owner() { stat -c %U "$1"; }

# Root runs the nodes as the owner of DIR (itself, or the user whose tree this is).
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(--user="$(owner "$dir")")
fi

start_node() {
  local n=$1 bootstrap=$2 d
  d=$(node_dir "$n")
  mkdir -p "$d/data"
  # Made by root in someone else's tree: theirs, like the server that writes there.
  [ "$(id -u)" -ne 0 ] || chown "$(owner "$dir")" "$d" "$d/data"
  local gcomm="gcomm://127.0.0.1:$group,127.0.0.1:$((group + 1)),127.0.0.1:$((group + 2))"
  local first=()
  if [ "$bootstrap" = yes ]; then
    first=(--wsrep-new-cluster)
    # The whole cluster was stopped: node 1 starts it again whether or not it was the
    # last to go. These are private test data, so no transaction of another node matters.
    [ ! -f "$d/data/grastate.dat" ] || sed -i 's/^safe_to_bootstrap: 0/safe_to_bootstrap: 1/' "$d/data/grastate.dat"
  fi
  if command -v ss >/dev/null && ss -ltn "sport = :$((port + n - 1))" | grep -q LISTEN; then
    echo "Port $((port + n - 1)) is in use by another server; stop it first." >&2
    return 1
  fi
  # The settings live in a file of the node's own, since the state transfer scripts read
  # them from there (and from nowhere else: not the machine's MariaDB configuration).
  # The rsync transfer cannot be used: run as root, its daemon drops to nobody and cannot
  # write the joining node's directory. The backup transfer works for root and anyone.
  cat >"$d/my.cnf" <<EOF
[mysqld]
datadir=$d/data
socket=$(sock "$n")
pid-file=$(pidfile "$n")
log-error=$d/error.log
bind-address=127.0.0.1
port=$((port + n - 1))
character-set-server=utf8mb4
collation-server=utf8mb4_general_ci
innodb-buffer-pool-size=128M
innodb-flush-log-at-trx-commit=2
skip-log-bin
binlog-format=ROW
default-storage-engine=InnoDB
innodb-autoinc-lock-mode=2
# A node logs its writes for the others, and would then refuse the private triggers to
# anyone without SUPER, the tests' administrative account included.
log-bin-trust-function-creators=1
wsrep-on=ON
wsrep-provider=$provider
wsrep-cluster-address=$gcomm
wsrep-cluster-name=talveros-$(printf '%s' "$dir" | md5sum | cut -c1-8)
wsrep-node-name=node$n
wsrep-node-address=127.0.0.1
wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$((group + n - 1));ist.recv_addr=127.0.0.1:$((group + 3 + n - 1));gcache.size=32M"
wsrep-sst-receive-address=127.0.0.1:$((group + 6 + n - 1))
wsrep-sst-method=mariabackup
wsrep-sst-auth=root:
[sst]
sst-syslog=-1
sst-log-archive=0
EOF
  mariadbd --defaults-file="$d/my.cnf" "${run_as[@]}" "${first[@]}" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1 1200); do
    if [ "$(wsrep_state "$n")" = Synced ]; then
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "Node $n of the cluster did not start; see $d/error.log" >&2
  tail -n 20 "$d/error.log" >&2 || true
  return 1
}

stop_node() {
  local n=$1 pid
  running "$n" || return 0
  pid=$(cat "$(pidfile "$n")")
  if ! kill -TERM "$pid" 2>/dev/null; then
    echo "Cannot stop node $n of $dir: it runs as $(ps -o user= -p "$pid" || true)." >&2
    return 1
  fi
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
}

case "$cmd" in
start)
  [ -x "$provider" ] || [ -f "$provider" ] || { echo "galera-4 is not installed; run scripts/setup.sh." >&2; exit 1; }
  for d in "$dir" "$dir"/node*; do
    if [ -e "$d" ] && [ ! -w "$d" ]; then
      echo "$d belongs to $(owner "$d"), not to $(id -un); remove it, or start the cluster as $(owner "$d")." >&2
      exit 1
    fi
  done
  # Only the first node needs system tables; the others receive the first one's data.
  if [ ! -d "$(node_dir 1)/data/mysql" ]; then
    mkdir -p "$(node_dir 1)"
    [ "$(id -u)" -ne 0 ] || chown "$(owner "$dir")" "$(node_dir 1)"
    mariadb-install-db --no-defaults "${run_as[@]}" --datadir="$(node_dir 1)/data" \
      --auth-root-authentication-method=normal --skip-test-db >"$(node_dir 1)/install.log" 2>&1 \
      || { cat "$(node_dir 1)/install.log" >&2; exit 1; }
  fi
  any=no
  for n in "${nodes[@]}"; do running "$n" && any=yes; done
  # A node still running holds the cluster: the others join it, node 1 included.
  if ! running 1; then
    start_node 1 "$([ $any = yes ] && echo no || echo yes)"
  fi
  for n in 2 3; do
    running "$n" || start_node "$n" no
  done
  client 1 <"$root/db/schema.sql"
  client 1 <"$root/db/private_admin.sql"
  client 1 <"$root/db/private_triggers.sql"
  ;;
stop)
  status=0
  # Node 1 last, so that it holds the newest state and starts the cluster again.
  for n in 3 2 1; do stop_node "$n" || status=1; done
  exit "$status"
  ;;
sql)
  n=${3:-1}
  case "$n" in 1|2|3) ;; *) usage ;; esac
  client "$n"
  ;;
status)
  for n in "${nodes[@]}"; do running "$n" || exit 1; done
  ;;
*)
  usage
  ;;
esac
