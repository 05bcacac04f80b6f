#!/usr/bin/env bash
# Installs what is missing, builds everything into build/, and runs every test under Xvfb (the
# embedded browser needs a display). Extra arguments go to ctest, e.g. -R tst_statusbar. Works from
# any directory.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"
source scripts/lib/build-owner.bash
trap 'give_build_back build' EXIT

bash scripts/setup-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"

xvfb-run -a -s "-screen 0 1400x800x24" ctest --test-dir build --output-on-failure "$@" </dev/null
