#!/usr/bin/env bash
# Fuzzes the readers of the settings files with libFuzzer (Debian's clang), under AddressSanitizer
# and UndefinedBehaviorSanitizer:
#
#   bash scripts/run-fuzz.sh SECONDS [TARGET...]
#
# TARGET is fuzz_theme (theme files), fuzz_config (config/terminal.json) or fuzz_logconfig
# (config/log4cxx.properties); without one, each of the three runs SECONDS. Builds into build-fuzz/,
# starts from the seeds in fuzz/corpus/ and the shipped files, and keeps what it learns in
# build-fuzz/corpus/. An input that crashes, hangs (over 10 s) or leaks is saved in
# build-fuzz/artifacts/ and the script fails.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"

seconds="${1:-}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 SECONDS [fuzz_theme|fuzz_config|fuzz_logconfig ...]" >&2
    exit 2
fi
shift
targets=("$@")
((${#targets[@]} > 0)) || targets=(fuzz_theme fuzz_config fuzz_logconfig)

bash scripts/setup-deps.sh clang libclang-rt-14-dev
build_dir="$repo_root/build-fuzz" # absolute: the targets work in a scratch folder of their own
source scripts/lib/build-owner.bash
trap 'give_build_back "$build_dir"' EXIT
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTATUSBAR_FUZZ=ON -DSTATUSBAR_SANITIZE=address \
    -DSTATUSBAR_BUILD_TESTS=OFF -DSTATUSBAR_BUILD_DEMO=OFF -DSTATUSBAR_BUILD_BENCHMARKS=OFF
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$repo_root/cmake/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$build_dir/artifacts"
for target in "${targets[@]}"; do
    case "$target" in
    fuzz_theme) seeds=(fuzz/corpus/theme resources/themes) dict=fuzz/json.dict ;;
    fuzz_config) seeds=(fuzz/corpus/terminal resources/config) dict=fuzz/json.dict ;;
    fuzz_logconfig) seeds=(fuzz/corpus/logconfig resources/config) dict=fuzz/logconfig.dict ;;
    *)
        echo "run-fuzz: unknown target $target" >&2
        exit 2
        ;;
    esac
    corpus="$build_dir/corpus/$target"
    mkdir -p "$corpus"
    echo "run-fuzz: $target for $seconds s"
    # close_fd_mask=3: what the readers and log4cxx print goes nowhere; libFuzzer and the sanitizers
    # keep reporting on a descriptor of their own.
    "$build_dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 -close_fd_mask=3 \
        -dict="$repo_root/$dict" -artifact_prefix="$build_dir/artifacts/$target-" -print_final_stats=1 \
        "$corpus" "${seeds[@]/#/$repo_root/}"
done
