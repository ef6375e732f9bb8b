#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. The first start
# opens the bundled sample season; later starts follow the settings file
# (build/Mgcsm.ini) that the program keeps.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-UNDEBUG" >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target penarin penarin-files penarin-report

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on; here are the sample season's standings instead."
    exec ./build/penarin-report show samples/sample-a.ptr
fi
exec ./build/penarin "$@"
