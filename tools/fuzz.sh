#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer in build-fuzz/ and runs each for SECONDS (default
# 60): the settings reader, the "|" text reader, the hex text decoder, the legacy database
# reader through its process boundary, the bookmark HTML reader and writer, and the browser
# profile readers. A crash stops the script; its input is kept in
# build-fuzz/artifacts/ to become a fixture of an ordinary test.
#   tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
seconds=${1:-60}
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQAVEX_FUZZ=ON -DQAVEX_WERROR=OFF >/dev/null
cmake --build build-fuzz
# Qt keeps some allocations until exit; the targets look for memory errors, not those.
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QAVEX_JET_READER=$PWD/build-fuzz/qavex-jet-reader
mkdir -p build-fuzz/artifacts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in settings textfile hextext legacy bookmarkhtml browserprofile; do
    corpus=("$work/$target")
    mkdir -p "$work/$target"
    if [ "$target" = legacy ]; then
        # The fixtures beside the project are read only: new inputs go to the working corpus.
        [ -d ../shared/fixtures/legacy ] && corpus+=(../shared/fixtures/legacy)
    else
        corpus+=("tests/fuzz/corpus/$target")
    fi
    echo "== fuzz_$target, ${seconds} s"
    build-fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" "${corpus[@]}" >"$work/$target.log" 2>&1 || {
        tail -n 40 "$work/$target.log"
        exit 1
    }
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$work/$target.log" | tail -n 2
done
