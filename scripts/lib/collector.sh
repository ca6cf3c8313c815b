# Sourced by scripts: runs lexivar-collector on a free loopback port so the
# installer's usage events land in a file, and prints what arrived.
# start_collector OUTFILE  -> sets LEXIVAR_STATS_URL; the collector stops with the script.
start_collector() {
    local out="$1" ready
    mkdir -p "$(dirname "$out")"
    : > "$out"
    ready="$(mktemp)"
    build/default/lexivar-collector --port 0 --out "$out" > "$ready" &
    LEXIVAR_COLLECTOR_PID=$!
    # Keep whatever the caller already runs at exit (a private display, say).
    local previous
    previous="$(trap -p EXIT | sed -E "s/^trap -- '(.*)' EXIT$/\1/")"
    trap "kill $LEXIVAR_COLLECTOR_PID 2>/dev/null || true; $previous" EXIT
    for _ in $(seq 1 50); do
        grep -q '^listening on ' "$ready" && break
        sleep 0.1
    done
    local address
    address="$(sed -n 's/^listening on //p' "$ready" | head -n1)"
    rm -f "$ready"
    if [[ -z "$address" ]]; then
        echo "could not start lexivar-collector" >&2
        return 1
    fi
    LEXIVAR_STATS_URL="http://$address/collect?project=pc"
}

# print_events OUTFILE: one line per received event, in arrival order.
print_events() {
    python3 - "$1" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    props = record.get("properties", {})
    name = props.get("zr_task_name") or props.get("zr_name") or props.get("app_crashed_reason") or ""
    print(record.get("event", record.get("type", "")), name, sep="\t")
PY
}
