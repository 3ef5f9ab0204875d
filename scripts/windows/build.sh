#!/usr/bin/env bash
# Cross-compiles catalogo-ftp for 64-bit Windows and packs it:
#
#   scripts/windows/build.sh [BUILD_DIR]     # default build-win64/
#
# gives BUILD_DIR/catalogo-ftp-<version>-win64.zip (the program folder) and
# BUILD_DIR/catalogo-ftp-<version>-win64.exe (an installer for the current user). The Windows
# libraries come from the cache that build-deps.sh fills ($CATALOGO_WIN64, default /opt/win64), which
# it runs first (a piece already there takes no time). As root where a package is missing: it installs
# what it needs. WITH_TESTS=1 builds the test suites too.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD=${1:-$ROOT/build-win64}
export CATALOGO_WIN64=${CATALOGO_WIN64:-/opt/win64}

"$HERE/build-deps.sh"
# NSIS makes the installer.
if ! command -v makensis >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends nsis
fi

# pkg-config answers for the Windows libraries only, never the machine's own.
export PKG_CONFIG_LIBDIR=$CATALOGO_WIN64/lib/pkgconfig PKG_CONFIG_PATH=

t0=$(date +%s)
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_PREFIX_PATH="$CATALOGO_WIN64/qt6;$CATALOGO_WIN64" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCATALOGO_WERROR=ON -DCATALOGO_BUILD_BENCH=OFF -DCATALOGO_BUILD_TESTS="${WITH_TESTS:+ON}" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
# With the core suites that run under Wine: not the windows' suites, nor basesdd_conexion_test, whose
# stalled database server has not been tried under Wine.
targets=(catalogo-ftp catalogo-ftp-consola)
[[ -z "${WITH_TESTS:-}" ]] || targets+=(components_test basesdd_lectura_test config_test export_test ftp_test)
cmake --build "$BUILD" -j "${JOBS:-2}" --target "${targets[@]}"
t1=$(date +%s)
(cd "$BUILD" && cpack)
echo "built in $((t1 - t0)) s, packed in $(($(date +%s) - t1)) s:"
ls -l "$BUILD"/catalogo-ftp-*-win64.{zip,exe}

# Nothing shipped keeps debugging sections.
paquete=$BUILD/_CPack_Packages/win64/ZIP/catalogo-ftp-*-win64
con_depuracion=$(find $paquete -name '*.dll' -o -name '*.exe' -o -name '*.com' | while read -r binario; do
    if x86_64-w64-mingw32-objdump -h "$binario" | grep -q ' \.debug_'; then echo "$binario"; fi
done)
if [[ -n $con_depuracion ]]; then
    echo "shipped with debugging sections:" >&2
    echo "$con_depuracion" >&2
    exit 1
fi
