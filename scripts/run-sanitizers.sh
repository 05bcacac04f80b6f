#!/usr/bin/env bash
# Builds the project with a sanitizer in a build folder of its own and runs the tests under Xvfb.
#
#   bash scripts/run-sanitizers.sh address [TEST...]  AddressSanitizer, LeakSanitizer and
#                                                     UndefinedBehaviorSanitizer, in build-asan/
#   bash scripts/run-sanitizers.sh thread [TEST...]   ThreadSanitizer, in build-tsan/
#
# Without test names it builds everything and runs the whole suite; with names (tst_stress ...) it
# builds and runs only those. Any report stops the test that made it, so the run fails.
# Suppressions: cmake/lsan.supp (leaks inside system libraries, by library name) and
# cmake/tsan.supp; each entry says why it is there. A thread run adds tst_queuedtyperace, which
# passes only when ThreadSanitizer reports the race it makes on purpose.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo_root"

kind="${1:-}"
case "$kind" in
address) build_dir=build-asan ;;
thread) build_dir=build-tsan ;;
*)
    echo "usage: $0 address|thread [TEST...]" >&2
    exit 2
    ;;
esac
shift
tests=("$@")
# A thread run always checks that its suppressions still let a race in a queued type of ours through.
if [[ "$kind" == thread ]] && ((${#tests[@]} > 0)); then
    tests+=(tst_queuedtyperace)
fi
source scripts/lib/build-owner.bash
trap 'give_build_back "$build_dir"' EXIT

bash scripts/setup-deps.sh
cmake -S . -B "$build_dir" -DSTATUSBAR_SANITIZE="$kind" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTATUSBAR_BUILD_BENCHMARKS=OFF
ctest_args=(--test-dir "$build_dir" --output-on-failure)
if ((${#tests[@]} > 0)); then
    cmake --build "$build_dir" -j"$(nproc)" --target "${tests[@]}"
    pattern="$(IFS='|'; echo "${tests[*]}")"
    ctest_args+=(-R "^(${pattern})\$")
else
    cmake --build "$build_dir" -j"$(nproc)"
fi

if [[ "$kind" == address ]]; then
    export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1"
    export LSAN_OPTIONS="suppressions=$repo_root/cmake/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
else
    # Debian's Qt and glib carry no ThreadSanitizer annotations: their own locking is left out.
    export TSAN_OPTIONS="suppressions=$repo_root/cmake/tsan.supp ignore_noninstrumented_modules=1 halt_on_error=1 second_deadlock_stack=1"
fi
xvfb-run -a -s "-screen 0 1400x800x24" ctest "${ctest_args[@]}" </dev/null
