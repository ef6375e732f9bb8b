#!/usr/bin/env bash
# Builds the Debian package penarin_VERSION_ARCH.deb in the repository's top
# folder: a Release build optimised as a whole program (as the benchmarks
# are), hardened with Debian's own build flags, packed by CPack, then
# checked by lintian. The maintainer field is "$DEBFULLNAME <$DEBEMAIL>"
# when both are set.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
build=build-package

# Debian's hardening flags, all of them, without its -O2 and -g: the Release
# build's -O3 and link-time optimisation stay, and the package strips its
# binaries.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags=()
for flag in $(dpkg-buildflags --get CXXFLAGS); do
    case "$flag" in -g | -O2) ;; *) cxxflags+=("$flag") ;; esac
done
cxxflags="$(dpkg-buildflags --get CPPFLAGS) ${cxxflags[*]}"

maintainer=()
if [ -n "${DEBFULLNAME:-}" ] && [ -n "${DEBEMAIL:-}" ]; then
    maintainer=(-DPENARIN_PACKAGE_MAINTAINER="$DEBFULLNAME <$DEBEMAIL>")
fi

echo "== Release build =="
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DPENARIN_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    "${maintainer[@]}" >/dev/null
cmake --build "$build" -j"$jobs"

echo "== package =="
rm -f "$build"/cpack/penarin_*.deb
(cd "$build" && cpack -G DEB -B "$PWD/cpack")
deb=$(find "$build/cpack" -maxdepth 1 -name 'penarin_*.deb' | head -n 1)
if [ -z "$deb" ]; then
    echo "cpack made no package" >&2
    exit 1
fi
cp "$deb" .
deb=$(basename "$deb")

echo "== lintian =="
lintian --fail-on error --info "$deb"

echo "Built $deb; install it with: sudo apt install ./$deb"
