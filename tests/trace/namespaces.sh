#!/bin/sh
# Builds a small routed network out of network namespaces around the caller, who must
# already be in a network and mount namespace of its own (nothing here may touch the
# machine's real network):
#
#   caller 10.10.1.1 -- 10.10.1.2 r1 10.10.2.1 -- 10.10.2.2 r2 10.10.3.1 -- 10.10.3.2 far
#   caller 10.20.1.1 -- 10.20.1.2 near
#   caller 10.30.1.1 -- 10.30.1.2 quiet (answers no echo request)
#
# and names them in a hosts file mounted over /etc/hosts: far.talveros.test (three hops
# away) and near.talveros.test (one hop). Each namespace is held by a sleeping process
# whose PID is kept in WORKDIR/pids; `down` ends them. They end by themselves after a
# while should `down` never come.
#
#   namespaces.sh up WORKDIR | namespaces.sh down WORKDIR
set -eu
command=$1
work=$2

if [ "$command" = down ]; then
    if [ -f "$work/pids" ]; then
        while read -r pid; do kill "$pid" 2>/dev/null || true; done < "$work/pids"
    fi
    exit 0
fi

: > "$work/pids"
spawn() {
    unshare --net sleep 600 &
    pid=$!
    echo "$pid" >> "$work/pids"
    # Wait until the child is in its own namespace before links are moved into it.
    i=0
    while [ "$(readlink /proc/$pid/ns/net)" = "$(readlink /proc/self/ns/net)" ]; do
        i=$((i + 1)); [ $i -lt 500 ] || { echo "namespace of $pid never appeared" >&2; exit 1; }
        sleep 0.01
    done
    eval "$1=$pid"
}
in_ns() { pid=$1; shift; nsenter -t "$pid" -n "$@"; }

spawn r1
spawn r2
spawn far
spawn near
spawn quiet

ip link set lo up
for pid in $r1 $r2 $far $near $quiet; do in_ns "$pid" ip link set lo up; done

link() { # link NAME_HERE PID_A NAME_A PID_B NAME_B  (PID "self" = caller)
    ip link add "$1" type veth peer name "$1p"
    if [ "$2" != self ]; then ip link set "$1" netns "$2"; fi
    ip link set "$1p" netns "$4"
    if [ "$2" = self ]; then ip link set "$1" name "$3"; else in_ns "$2" ip link set "$1" name "$3"; fi
    in_ns "$4" ip link set "$1p" name "$5"
}
link v1 self w0 "$r1" a0
link v2 "$r1" a1 "$r2" b0
link v3 "$r2" b1 "$far" c0
link v4 self w1 "$near" n0
link v5 self w2 "$quiet" q0

ip addr add 10.10.1.1/24 dev w0; ip link set w0 up
ip addr add 10.20.1.1/24 dev w1; ip link set w1 up
ip addr add 10.30.1.1/24 dev w2; ip link set w2 up
ip route add 10.10.0.0/16 via 10.10.1.2

in_ns "$r1" ip addr add 10.10.1.2/24 dev a0
in_ns "$r1" ip addr add 10.10.2.1/24 dev a1
in_ns "$r1" ip link set a0 up
in_ns "$r1" ip link set a1 up
in_ns "$r1" ip route add 10.10.3.0/24 via 10.10.2.2

in_ns "$r2" ip addr add 10.10.2.2/24 dev b0
in_ns "$r2" ip addr add 10.10.3.1/24 dev b1
in_ns "$r2" ip link set b0 up
in_ns "$r2" ip link set b1 up
in_ns "$r2" ip route add default via 10.10.2.1

in_ns "$far" ip addr add 10.10.3.2/24 dev c0
in_ns "$far" ip link set c0 up
in_ns "$far" ip route add default via 10.10.3.1

in_ns "$near" ip addr add 10.20.1.2/24 dev n0
in_ns "$near" ip link set n0 up
in_ns "$near" ip route add default via 10.20.1.1

in_ns "$quiet" ip addr add 10.30.1.2/24 dev q0
in_ns "$quiet" ip link set q0 up
in_ns "$quiet" sysctl -q -w net.ipv4.icmp_echo_ignore_all=1

# Routers forward and answer every expired packet (they rate-limit ICMP errors by
# default, which would make a fast trace lose hops).
for pid in $r1 $r2; do
    in_ns "$pid" sysctl -q -w net.ipv4.ip_forward=1 net.ipv4.icmp_ratelimit=0
done

printf '127.0.0.1 localhost\n10.10.3.2 far.talveros.test\n10.20.1.2 near.talveros.test\n' > "$work/hosts"
# No name server: a name missing from the hosts file fails at once.
printf 'nameserver 127.0.0.1\n' > "$work/resolv.conf"
mount --bind "$work/hosts" /etc/hosts
mount --bind "$work/resolv.conf" /etc/resolv.conf
