#!/usr/bin/env bash
# The Windows compile check: every file of src/ cross-compiled for 64-bit Windows with MinGW-w64 against
# Qt for Windows, with the warnings as errors, then the program linked with every object of its libraries
# (and its console companion with every object of the core) to check that each symbol our code uses is
# defined by our code or by a library the executable links.
# libcurl, libsodium, spdlog/fmt and the MariaDB client have no Windows build here, so their own symbols
# alone may stay undefined. Usage: check.sh [build folder]   (default build-windows/ in the repository)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-windows}
qt=${CATALOGO_WIN64:-/opt/win64}/qt6
tarball=$(realpath -m "${QT_TARBALL:-$root/../shared/windows/qt6-base-6.4.2-mingw64.tar.xz}")

# Qt for Windows lives outside the repository, made once per machine: unpacked from the prebuilt
# archive beside the repository in seconds, or built from Debian's source. That takes about 35 minutes,
# which CI spends; a developer is told how instead.
if [[ ! -f $qt/lib/cmake/Qt6/Qt6Config.cmake ]]; then
    if [[ -f $tarball || -n ${CI:-} ]]; then
        QT_TARBALL=$tarball "$root/scripts/windows/build-deps.sh" qt
    else
        cat >&2 <<EOF

########################################################################################################
#  WINDOWS COMPILE CHECK SKIPPED: no Qt for Windows in $qt,
#  and no prebuilt archive at $tarball.
#  Nothing was compiled for Windows. To make Qt once from Debian's source (about 35 minutes, as root):
#      $root/scripts/windows/build-deps.sh qt
########################################################################################################

EOF
        exit 0
    fi
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCATALOGO_WINDOWS_CHECK=ON -DCATALOGO_WERROR=ON -DCATALOGO_BUILD_TESTS=OFF -DCATALOGO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target catalogo_core catalogo_ui junto_a_windows

# Names as the linker sees them (mangled, an import's "__imp_" taken off), so that a prefix is a namespace.
cmake --build "$build" --target enlace_completo enlace_consola -- -k 0 >"$build/enlace.log" 2>&1 || true
if grep -q "multiple definition" "$build/enlace.log"; then
    grep "multiple definition" "$build/enlace.log" >&2
    exit 1
fi
faltan=$(grep -o "undefined reference to \`[^']*'" "$build/enlace.log" | sed "s/.*\`//; s/'$//; s/^__imp_//" | sort -u |
    grep -Ev '^(curl_|sodium_|crypto_|randombytes_|mysql_|mariadb_)|^_Z(T[VIS])?N[KVRO]*(6spdlog|3fmt)' || true)
if [[ -n $faltan ]]; then
    echo "Windows check: symbols defined by nothing the program links:" >&2
    echo "$faltan" | x86_64-w64-mingw32-c++filt >&2
    exit 1
fi
if ! grep -q "undefined reference" "$build/enlace.log" && ! [[ -f $build/enlace_completo.exe && -f $build/enlace_consola.exe ]]; then
    cat "$build/enlace.log" >&2
    exit 1
fi
echo "Windows check passed"
