#!/usr/bin/env bash
# Builds everything and runs every test: once normally, once more with the
# core tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# fuzz targets for a few seconds each.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== build (Release with assertions) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-UNDEBUG" >/dev/null
cmake --build build -j"$jobs"
echo "== tests =="
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

echo "== core tests under address and undefined-behaviour sanitizers =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPENARIN_CORE_ONLY=ON -DPENARIN_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzz targets, a few seconds each from the samples =="
# Built exactly as fuzz/CMakeLists.txt documents it, so that stays working.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPENARIN_FUZZ=ON -DPENARIN_CORE_ONLY=ON \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
corpus=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$corpus" "$log"' EXIT
# fuzz_race builds its seasons from any bytes; the samples start it as well
# as anything.
for target in fuzz_loader fuzz_pass fuzz_import fuzz_race; do
    cp samples/*.ptr "$corpus"/
    if ! build-fuzz/fuzz/$target -max_total_time=5 -timeout=10 -rss_limit_mb=2048 \
        "$corpus" >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
    echo "$target: $(grep -m1 -o 'Done [0-9]* runs.*' "$log")"
    rm -f "$corpus"/*
done

echo "All tests passed."
