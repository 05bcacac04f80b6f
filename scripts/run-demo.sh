#!/usr/bin/env bash
# Installs what is missing, builds the demo terminal and only what it needs (the libraries and the
# companion clients, no tests or benchmarks) into build/, and runs it. Without a display it runs
# under Xvfb for a few seconds and saves a screenshot instead. Extra arguments go to the demo (see:
# build/bin/statusbar-demo --help). Works from any directory.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
source scripts/lib/build-owner.bash
trap 'give_build_back build' EXIT

bash scripts/setup-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target statusbar-demo

demo=build/bin/statusbar-demo
if [[ -n "${DISPLAY:-}" ]]; then
    "$demo" "$@"
    exit
fi

screenshot=build/demo-screenshot.png
echo "run-demo: no DISPLAY; running the demo under Xvfb for 8 s"
xvfb-run -a -s "-screen 0 1400x800x24" "$demo" --screenshot "$screenshot" --quit-after 8 "$@" </dev/null
echo "run-demo: screenshot saved to $repo_root/$screenshot"
