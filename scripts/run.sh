#!/usr/bin/env bash
# Installs what is missing, builds the program and shows the bundled sample season.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-UNDEBUG" >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target penarin-report
exec ./build/penarin-report show samples/sample-a.ptr "$@"
