#!/usr/bin/env bash
# Builds the Debian package: a release build in build-deb/ for the prefix /usr, packed by
# CPack into build-deb/qvar_VERSION_ARCH.deb with its library dependencies worked out by
# dpkg-shlibdeps. Install it with: apt install ./build-deb/qvar_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh dpkg-dev file
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB >/dev/null)
deb=$(ls build-deb/qvar_*.deb)
echo "$deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Installed-Size
if command -v lintian >/dev/null; then lintian "$deb"; fi
