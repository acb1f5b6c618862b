#!/usr/bin/env bash
# Builds and runs the whole test suite twice: the ordinary tree (build/) and a tree instrumented with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/, no benchmarks). GUI tests run in a virtual
# X server. First it builds, without running it, a Release tree (build-release/) as distributions
# build, so that warnings that only -O3 finds are caught. Every tree treats warnings as errors. Exits non-zero
# when any tree fails to build or any test fails; a summary line is printed for each tree.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=${DRAVIK_JOBS:-2}
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# Qt, fontconfig and the X libraries are not instrumented: their own leaks are suppressed by name in
# lsan.supp, nothing of ours is. Every UB report ends the test that met it.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
summaries=()

build_tree() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DDRAVIK_WERROR=ON "$@" && cmake --build "$dir" -j"$jobs"
}

run_tree() {
    local name=$1 dir=$2
    shift 2
    local log
    log=$(mktemp)
    if build_tree "$dir" "$@"; then
        xvfb-run -a ctest --test-dir "$dir" --output-on-failure 2>&1 | tee "$log"
        local rc=${PIPESTATUS[0]}
        local line
        line=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
        summaries+=("$name: ${line:-no CTest summary}")
        [ "$rc" -eq 0 ] || status=1
    else
        summaries+=("$name: build failed")
        status=1
    fi
    rm -f "$log"
}

# Tests and benchmarks are compiled too: their warnings count as much as the program's.
if build_tree build-release -DCMAKE_BUILD_TYPE=Release; then
    summaries+=("build-release: built (tests not run)")
else
    summaries+=("build-release: build failed")
    status=1
fi

run_tree "build" build
# A debug build: quicker to compile than an optimised one, and Qt's and our own assertions (bounds of
# QList::at and the like) check alongside the sanitizers.
run_tree "build-asan" build-asan \
    -DCMAKE_BUILD_TYPE=Debug \
    -DDRAVIK_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$sanitize" \
    "-DCMAKE_EXE_LINKER_FLAGS=$sanitize"

echo
for s in "${summaries[@]}"; do
    echo "$s"
done
exit $status
