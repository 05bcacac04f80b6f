#!/usr/bin/env bash
# Runs the demo for a span of simulated time with the flood on, samples its resident size and CPU
# every 10 seconds into a CSV, and draws both as a PNG:
#
#   bash scripts/run-soak.sh [SIM_HOURS] [SPEED] [FLOOD_RATE]    (defaults: 24 hours, 20, 50000)
#
# 24 simulated hours at the highest speed, 20, take 72 minutes. A new trading day begins every four
# simulated hours (the simulator skips the nights). Writes build/soak/soak.csv and
# build/soak/soak.png, and prints the resident size as each trading day begins and each day's
# highest: the day's records make the size grow through a day, and go when the next one begins.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
source scripts/lib/build-owner.bash
trap 'give_build_back build' EXIT

sim_hours="${1:-24}"
speed="${2:-20}"
flood_rate="${3:-50000}"
sample_seconds=10
trading_day_hours=4

bash scripts/setup-deps.sh python3-matplotlib
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target statusbar-demo

wall_seconds="$(awk -v h="$sim_hours" -v s="$speed" 'BEGIN { printf "%.0f", h * 3600 / s }')"
out_dir=build/soak
mkdir -p "$out_dir"
csv="$out_dir/soak.csv"
png="$out_dir/soak.png"
pid_file="$out_dir/demo.pid"
rm -f "$pid_file"
echo "run-soak: $sim_hours simulated hours at speed $speed with $flood_rate order updates a second: $wall_seconds s"

xvfb-run -a -s "-screen 0 1400x800x24" bash -c 'echo $$ > "$0"; exec "$@"' "$pid_file" \
    build/bin/statusbar-demo --sim-speed "$speed" --flood-rate "$flood_rate" --quit-after "$wall_seconds" --seed 1 \
    </dev/null >"$out_dir/demo.log" 2>&1 &
runner=$!
while [[ ! -s "$pid_file" ]]; do sleep 0.1; done
pid="$(cat "$pid_file")"

ticks_per_second="$(getconf CLK_TCK)"
echo "elapsed_s,simulated_h,rss_mib,cpu_percent" >"$csv"
start="$(date +%s.%N)"
last_ticks=""
last_time=""
while kill -0 "$pid" 2>/dev/null; do
    now="$(date +%s.%N)"
    rss_kib="$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)"
    ticks="$(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || true)"
    [[ -n "$rss_kib" && -n "$ticks" ]] || break
    if [[ -n "$last_ticks" ]]; then
        awk -v t="$now" -v t0="$start" -v lt="$last_time" -v k="$ticks" -v lk="$last_ticks" -v hz="$ticks_per_second" \
            -v rss="$rss_kib" -v s="$speed" 'BEGIN {
                elapsed = t - t0
                printf "%.0f,%.3f,%.1f,%.1f\n", elapsed, elapsed * s / 3600, rss / 1024, 100 * (k - lk) / hz / (t - lt) }' >>"$csv"
    fi
    last_ticks="$ticks"
    last_time="$now"
    sleep "$sample_seconds"
done
status=0
wait "$runner" || status=$?
tail -n 3 "$out_dir/demo.log"
if ((status != 0)); then
    echo "run-soak: the demo ended with exit code $status (see $out_dir/demo.log)" >&2
    exit "$status"
fi

/usr/bin/python3 - "$csv" "$png" "$trading_day_hours" "$speed" "$flood_rate" <<'PY'
import csv, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

path, png, day_hours, speed, rate = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4], sys.argv[5]
rows = [r for r in csv.DictReader(open(path))]
hours = [float(r["simulated_h"]) for r in rows]
rss = [float(r["rss_mib"]) for r in rows]
cpu = [float(r["cpu_percent"]) for r in rows]

fig, left = plt.subplots(figsize=(11, 5))
left.plot(hours, rss, color="tab:blue", label="resident size")
left.set_xlabel("simulated hours (speed %s, flood %s updates/s)" % (speed, rate))
left.set_ylabel("resident size (MiB)", color="tab:blue")
left.set_ylim(0, max(rss) * 1.2)
right = left.twinx()
right.plot(hours, cpu, color="tab:orange", alpha=0.5, linewidth=0.8, label="CPU")
right.set_ylabel("CPU (% of one core)", color="tab:orange")
right.set_ylim(0, max(max(cpu) * 1.2, 100))
day = day_hours
while day < hours[-1]:
    left.axvline(day, color="grey", linestyle=":", linewidth=0.8)
    day += day_hours
left.set_title("statusbar-demo soak: resident size and CPU every 10 s (dotted: a trading day begins)")
fig.tight_layout()
fig.savefig(png, dpi=100)

# A day's records stay until the next day begins, so the size grows through each day and drops when
# the next begins: what must stay flat is the size as each day begins, and each day's highest.
days = int(hours[-1] // day_hours) + 1
peaks = [max([r for h, r in zip(hours, rss) if int(h // day_hours) == d] or [0.0]) for d in range(days)]
starts = [next(r for h, r in zip(hours, rss) if h >= d * day_hours) for d in range(1, days) if hours[-1] >= d * day_hours]
print("run-soak: %d samples, CPU %.0f %% of one core on average" % (len(rows), sum(cpu) / len(cpu)))
print("run-soak: resident size as each trading day begins (after the first): %s MiB"
      % (", ".join("%.1f" % s for s in starts) or "none yet"))
print("run-soak: highest resident size in each trading day: %s MiB" % ", ".join("%.1f" % p for p in peaks))
if len(starts) > 1:
    print("run-soak: from one day's start to the next: %+.2f MiB a trading day" % ((starts[-1] - starts[0]) / (len(starts) - 1)))
print("run-soak: %s and %s" % (path, png))
PY
