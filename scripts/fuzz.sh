#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/, then runs each for the given number of seconds (default 600), one after another.
#   scripts/fuzz.sh [seconds] [target...]      targets: the names in fuzz/CMakeLists.txt
# New inputs go to build-fuzz/corpus/<target>/, crashes to build-fuzz/crashes/<target>/; the
# committed seeds in fuzz/corpus/<target>/ are read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(sed -n 's/^dravik_add_fuzz_target(\([a-z_]*\))$/\1/p' fuzz/CMakeLists.txt)
fi

sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-fuzz \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DDRAVIK_BUILD_TESTS=OFF -DDRAVIK_BUILD_BENCH=OFF -DDRAVIK_FUZZ_REPLAY=OFF -DDRAVIK_FUZZ_ENGINE=ON
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

# Nothing a target does may reach the real home folder. Files the targets write go to memory when
# it can hold them: every save syncs to disk, which would slow the settings target a hundredfold.
scratch=$(mktemp -d -p "$([ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/xdg" "$scratch/tmp"
export XDG_DATA_HOME="$scratch/xdg" TMPDIR="$scratch/tmp" QT_QPA_PLATFORM=offscreen

status=0
for target in "${targets[@]}"; do
    corpus="build-fuzz/corpus/$target"
    crashes="build-fuzz/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    echo "== $target for ${seconds}s"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 \
        -artifact_prefix="$crashes/" "$corpus" "fuzz/corpus/$target"; then
        echo "== $target FAILED: see $crashes/"
        status=1
    fi
done
exit $status
