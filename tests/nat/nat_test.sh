#!/usr/bin/env bash
# Online play through home routers, emulated with network namespaces and nftables NAT (as root).
#   nat_test.sh SIM LOBBY
# A "public" namespace runs the lobby server on 198.18.0.1 and routes between the homes; each home
# is a router namespace doing NAT with one or two player namespaces behind it. NAT kinds:
#   none  the player has a public address, the router only routes
#   full  full cone: masquerade, and everything arriving at the router's port goes to the player
#   port  port-restricted cone: plain masquerade
#   sym   symmetric: masquerade with random ports
# All 16 ordered pairs: a host registers a room, a guest joins by its code; 600 frames of the net
# tests' script, traces identical for every pair, the route direct except for symmetric against
# port-restricted or symmetric (the relay); port-port and sym-sym play the whole match and record
# tests/netplay/match.rec. Meanwhile a stranger sends the relay datagrams it never bound and sends
# junk to the open hosts. Then: two players behind one router (direct, through their local
# addresses), and a host that waits 20 s behind routers that forget a quiet mapping after 5 s.
# Every address exists only inside these namespaces; all of them are removed at the end.
set -uo pipefail
SIM=$1
LOBBY=$2
HERE=$(cd "$(dirname "$0")" && pwd)
NETPLAY=$HERE/../netplay
SKIP=77
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root for network namespaces"; exit $SKIP; }
command -v ip >/dev/null && command -v nft >/dev/null || { echo "SKIP: needs ip and nft"; exit $SKIP; }
P=pn$$
OUT=$(mktemp -d)
remove_namespaces() {  # every namespace whose name starts with $1, its processes ended first
    local ns
    for ns in $(ip netns list | awk '{print $1}' | grep "^$1"); do kill $(ip netns pids "$ns") 2>/dev/null; done
    wait 2>/dev/null
    for ns in $(ip netns list | awk '{print $1}' | grep "^$1"); do ip netns del "$ns"; done
}
cleanup() {
    kill $(jobs -p) 2>/dev/null
    remove_namespaces $P
    [ -n "${NAT_TEST_KEEP:-}" ] && echo "kept $OUT" || rm -rf "$OUT"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
# Namespaces left by a run that was killed outright (no trap runs then) go first.
for old in $(ip netns list 2>/dev/null | awk '{print $1}' | sed -n 's/^pn\([0-9]*\)pub$/\1/p'); do
    kill -0 "$old" 2>/dev/null || remove_namespaces "pn$old[a-z]"
done
ip netns add ${P}pub 2>/dev/null || { echo "SKIP: cannot make network namespaces"; exit $SKIP; }
ip netns exec ${P}pub nft add table ip probe 2>/dev/null || { echo "SKIP: no nftables in namespaces"; exit $SKIP; }
# Pairs run in the background: failures are collected in a file.
fail() { echo "FAIL: $*" | tee -a "$OUT/failures"; }
within10s() {  # runs the command every 0.2 s until it succeeds, for 10 s at most
    local k
    for k in $(seq 1 50); do "$@" 2>/dev/null && return 0; sleep 0.2; done
    return 1
}

# The public side: the lobby's address on every link to a home, so it answers from that address.
PUB=${P}pub
ip -n $PUB link set lo up
ip netns exec $PUB sysctl -qw net.ipv4.ip_forward=1
SERVER=198.18.0.1

# home I KIND [PLAYERS]: router ${P}rI, players ${P}aI (and ${P}bI) on 10.77.I.0/24 (none:
# 198.19.I.0/24, routed from the public side).
home() {
    local i=$1 kind=$2 players=${3:-a} r=${P}r$1 lan
    ip netns add $r
    ip -n $r link set lo up
    ip -n $PUB link add h$i type veth peer name wan netns $r
    ip -n $PUB addr add $SERVER/32 peer 198.18.$i.2/32 dev h$i
    ip -n $PUB link set h$i up
    ip -n $r addr add 198.18.$i.2/32 peer $SERVER/32 dev wan
    ip -n $r link set wan up
    ip -n $r route add default via $SERVER
    lan=10.77.$i
    if [ $kind = none ]; then
        lan=198.19.$i
        ip -n $PUB route add $lan.0/24 via 198.18.$i.2
    fi
    ip -n $r link add lan type bridge
    ip -n $r addr add $lan.1/24 dev lan
    ip -n $r link set lan up
    local n=2 p
    for p in $players; do
        ip netns add ${P}$p$i
        ip -n ${P}$p$i link set lo up
        ip -n $r link add port$p type veth peer name eth0 netns ${P}$p$i
        ip -n $r link set port$p master lan up
        ip -n ${P}$p$i addr add $lan.$n/24 dev eth0
        ip -n ${P}$p$i link set eth0 up
        ip -n ${P}$p$i route add default via $lan.1
        n=$((n + 1))
    done
    ip netns exec $r sysctl -qw net.ipv4.ip_forward=1
    local nat="add table ip nat
        add chain ip nat post { type nat hook postrouting priority srcnat; }
        add chain ip nat pre { type nat hook prerouting priority dstnat; }"
    # Datagrams of the stranger's size that the router forwards to its players (must stay 0).
    local watch="add table ip watch
        add chain ip watch fromwan { type filter hook forward priority 0; }
        add rule ip watch fromwan iifname wan udp length 1008 counter"
    case $kind in
    none) nat="" ;;
    full) nat="$nat
        add rule ip nat post oifname wan masquerade
        add rule ip nat pre iifname wan udp dport 1024-65535 dnat to $lan.2" ;;
    port) nat="$nat
        add rule ip nat post oifname wan masquerade" ;;
    sym) nat="$nat
        add rule ip nat post oifname wan masquerade random" ;;
    esac
    printf '%s\n%s\n' "$nat" "$watch" | ip netns exec $r nft -f - || fail "nft rules for $kind"
}

ip netns exec $PUB "$LOBBY" --port 27820 >"$OUT/lobby.log" 2>&1 &
LOBBYPID=$!

# play NAME HOSTNS GUESTNS FRAMES [GUEST-DELAY]: host registers, guest joins by code after the
# delay; both must end normally with the same trace. Writes NAME.route ("direct" or "relay").
play() {
    local name=$1 hns=$2 gns=$3 frames=$4 delay=${5:-0} o=$OUT/$1
    ip netns exec $hns "$SIM" --host 27810 --lobby $SERVER --input "$NETPLAY/host.txt" --frames $frames \
        --trace $o-host.trace --net-record $o.rec --net-stats --net-timeout 60 >$o-host.out 2>$o-host.err &
    local host=$! code=""
    within10s grep -q '^room ' $o-host.out || { fail "$name: the host printed no room code"; kill $host; return; }
    code=$(awk '/^room /{print $2; exit}' $o-host.out)
    sleep $delay
    ip netns exec $gns "$SIM" --join $code --lobby $SERVER --input "$NETPLAY/guest.txt" --frames $frames \
        --trace $o-guest.trace --net-stats --net-timeout 60 >$o-guest.out 2>$o-guest.err
    local rc=$?
    wait $host || fail "$name: host exit code $?"
    [ $rc = 0 ] || fail "$name: guest exit code $rc"
    cmp -s $o-host.trace $o-guest.trace ||
        fail "$name: host and guest traces differ: $(cmp $o-host.trace $o-guest.trace 2>&1 | head -1), $(wc -l <$o-host.trace) and $(wc -l <$o-guest.trace) lines"
    [ "$(wc -l <$o-host.trace)" = $frames ] || fail "$name: the trace is not $frames frames"
    local hr=$(awk '/^route /{print $2}' $o-host.out) gr=$(awk '/^route /{print $2}' $o-guest.out)
    [ -n "$hr" ] && [ "$hr" = "$gr" ] || fail "$name: routes host '$hr' guest '$gr'"
    echo "$hr" >$o.route
}

# The stranger: a public address of its own, sending the relay datagrams it never bound and
# junk (some of it with the lobby's magic) to the hosts with public addresses.
home 99 none
stranger() {
    local end=$((SECONDS + $1)) i=0
    while [ $SECONDS -lt $end ]; do
        head -c 1000 /dev/zero | tr '\0' x >/dev/udp/$SERVER/27820
        for h in $OPEN_HOSTS; do
            printf 'PMLB\x01\x07garbage %d' $i >/dev/udp/$h/27810
            head -c $((i * 7 % 300 + 1)) /dev/urandom >/dev/udp/$h/27810
        done
        i=$((i + 1))
        sleep 0.1
    done 2>/dev/null
}

KINDS="none full port sym"
expect() {  # the route a pair of kinds must take
    case "$1-$2" in sym-port | port-sym | sym-sym) echo relay ;; *) echo direct ;; esac
}
START=$SECONDS
# Pair n (1 to 16, host kind down, guest kind across) plays from homes 2n and 2n + 1; the first
# four hosts have public addresses.
OPEN_HOSTS="198.19.2.2 198.19.4.2 198.19.6.2 198.19.8.2"
ip netns exec ${P}a99 bash -c "$(declare -f stranger); OPEN_HOSTS='$OPEN_HOSTS' SERVER=$SERVER stranger 200" &
STRANGER=$!
# Two players behind one router, and a host waiting behind forgetful routers.
home 40 port "a b"
home 41 port
home 42 port
for r in 41 42; do
    ip netns exec ${P}r$r sysctl -qw net.netfilter.nf_conntrack_udp_timeout=5 \
        net.netfilter.nf_conntrack_udp_timeout_stream=5
done
play same ${P}a40 ${P}b40 300 &
SIDE="$!"
play wait ${P}a41 ${P}a42 300 20 &
SIDE="$SIDE $!"
# Failures named: a host whose lobby does not answer says so and still takes a direct guest; a
# guest with a code no room has is told so.
home 43 none
home 44 port
unanswered() {
    local o=$OUT/unanswered
    ip netns exec ${P}a43 "$SIM" --host 27810 --lobby $SERVER:27821 --input "$NETPLAY/host.txt" --frames 900 \
        --trace $o-host.trace --net-timeout 60 >$o-host.out 2>$o-host.err &
    local host=$!
    within10s grep -q "the lobby server does not answer" $o-host.err ||
        fail "the host did not say its lobby does not answer"
    ip netns exec ${P}a44 "$SIM" --join 198.19.43.2:27810 --input "$NETPLAY/guest.txt" --frames 900 \
        --trace $o-guest.trace >$o-guest.out 2>$o-guest.err || fail "direct guest exit code $?"
    wait $host || fail "host without a lobby: exit code $?"
    cmp -s $o-host.trace $o-guest.trace || fail "host without a lobby: traces differ"
    ip netns exec ${P}a44 "$SIM" --join 0000ZZ --lobby $SERVER --frames 10 >/dev/null 2>$o-code.err ||
        fail "a guest with a wrong code: exit code $?"
    grep -q "no room with that code" $o-code.err || fail "a wrong code was not named"
}
unanswered &
SIDE="$SIDE $!"
# Four pairs at a time: the simulators run at the game's pace and cost little.
n=0
BATCH=""
for a in $KINDS; do for b in $KINDS; do
    n=$((n + 1))
    home $((2 * n)) $a
    home $((2 * n + 1)) $b
    frames=600
    [ $a-$b = port-port ] || [ $a-$b = sym-sym ] && frames=1950
    play $a-$b ${P}a$((2 * n)) ${P}a$((2 * n + 1)) $frames &
    BATCH="$BATCH $!"
    if [ $((n % 4)) = 0 ]; then
        wait $BATCH
        BATCH=""
    fi
done; done
wait $SIDE
kill $STRANGER 2>/dev/null

MATRIX=$(printf '%-6s' host; printf '%-8s' $KINDS)
for a in $KINDS; do
    MATRIX="$MATRIX
$(printf '%-6s' $a)"
    for b in $KINDS; do
        got=$(cat $OUT/$a-$b.route 2>/dev/null || echo none)
        mark=""
        [ "$got" = "$(expect $a $b)" ] || { mark="!"; fail "$a-$b: route $got, not $(expect $a $b)"; }
        MATRIX="$MATRIX$(printf '%-8s' "$got$mark")"
        head -n 600 $OUT/$a-$b-host.trace | cmp -s - <(head -n 600 $OUT/none-none-host.trace) ||
            fail "$a-$b: the trace differs from none-none's"
    done
done
echo "NAT matrix: the route each pair took (host down, guest across; ! where unexpected)"
echo "$MATRIX"
for m in port-port sym-sym; do
    cmp -s $OUT/$m.rec "$NETPLAY/match.rec" || fail "$m: the net record differs from tests/netplay/match.rec"
done
[ "$(cat $OUT/same.route 2>/dev/null)" = direct ] || fail "two players behind one router did not connect directly"
[ "$(cat $OUT/wait.route 2>/dev/null)" = direct ] || fail "the host that waited 20 s was not reached directly"
# The stranger's relay datagrams reached no router of a player.
for r in $(ip netns list | awk '{print $1}' | grep "^${P}r" | grep -v "r99$"); do
    c=$(ip netns exec $r nft list chain ip watch fromwan)
    [[ $c == *"counter packets 0 "* ]] || fail "a stranger's datagram was relayed into $r"
done
kill -USR1 $LOBBYPID
sleep 0.3
grep -q "dropped unbound [1-9]" $OUT/lobby.log || fail "the lobby did not count the stranger's unbound datagrams"
echo "NAT tests took $((SECONDS - START)) s"
if [ -s $OUT/failures ]; then
    for f in $OUT/*.err; do [ -s $f ] && { echo "--- $f"; tail -5 $f; }; done
    tail -20 $OUT/lobby.log
    exit 1
fi
echo ok
