#!/usr/bin/env bash
# Builds and destroys a full status bar thousands of times while the simulated back end and a flood
# of order updates publish from their threads (tst_churn), then checks what is left:
#
#   bash scripts/run-churn.sh [CYCLES] [MAX_GROWTH_KIB]     (defaults: 2000 cycles, 4096 KiB)
#
# 1. In the regular build the resident size after the cycles must be within MAX_GROWTH_KIB of the
#    size after the warm-up cycles (fonts, caches and allocator arenas settle first).
# 2. In the address build (build-asan/, as scripts/run-sanitizers.sh makes it) the same cycles must
#    end without a memory error, undefined behaviour or a leak.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
source scripts/lib/build-owner.bash
trap 'give_build_back build build-asan' EXIT

cycles="${1:-2000}"
max_growth_kib="${2:-4096}"
bash scripts/setup-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tst_churn
cmake -S . -B build-asan -DSTATUSBAR_SANITIZE=address -DSTATUSBAR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target tst_churn

run_churn() {
    STATUSBAR_CHURN_CYCLES="$cycles" QTEST_FUNCTION_TIMEOUT=3600000 QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 \
        xvfb-run -a -s "-screen 0 1400x800x24" "$1" -maxwarnings 0 fullBarsBuiltAndDestroyedWhileTheBackEndPublishesLeaveNothingBehind </dev/null
}

echo "run-churn: $cycles cycles in the regular build"
output="$(run_churn build/bin/tst_churn)"
echo "$output" | grep -E "^(churn:|Totals)"
line="$(echo "$output" | grep '^churn:')"
before="$(echo "$line" | sed -E 's/.*resident ([0-9]+) KiB after.*/\1/')"
after="$(echo "$line" | sed -E 's/.*, ([0-9]+) KiB at the end.*/\1/')"
growth=$((after - before))
echo "run-churn: resident size grew by $growth KiB over $cycles cycles (limit $max_growth_kib KiB)"
if ((growth > max_growth_kib)); then
    echo "run-churn: FAILED: the resident size grew by more than $max_growth_kib KiB" >&2
    exit 1
fi

echo "run-churn: $cycles cycles under AddressSanitizer and LeakSanitizer"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$repo_root/cmake/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_churn build-asan/bin/tst_churn | grep -E "^(churn:|Totals|FAIL)"
echo "run-churn: passed"
