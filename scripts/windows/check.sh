#!/usr/bin/env bash
# The Windows compile check: every file of src/ cross-compiled for 64-bit Windows with MinGW-w64 against
# Qt for Windows, with the warnings as errors, then the program linked with every object of its libraries
# to check that each symbol our code uses is defined by our code or by a library the program links.
# libcurl, libsodium, spdlog/fmt and the MariaDB client have no Windows build here, so their own symbols
# alone may stay undefined. Usage: check.sh [build folder]   (default build-windows/ in the repository)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-windows}
qt=/opt/win64/qt6
tarball=$root/../shared/windows/qt6-base-6.4.2-mingw64.tar.xz

# Qt for Windows lives outside the repository, unpacked once per machine.
if [[ ! -d $qt ]]; then
    if [[ -f $tarball ]]; then
        mkdir -p "$(dirname "$qt")"
        unpack=$(mktemp -d "$(dirname "$qt")/.unpack.XXXXXX")
        tar -C "$unpack" -xJf "$tarball"
        mv "$unpack/qt6" "$qt"
        rmdir "$unpack"
    elif [[ -n ${CI:-} ]]; then
        echo "Windows check: neither $qt nor $tarball is there" >&2
        exit 1
    else
        echo "Windows check skipped: neither $qt nor $tarball is there"
        exit 0
    fi
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCATALOGO_WINDOWS_CHECK=ON -DCATALOGO_WERROR=ON -DCATALOGO_BUILD_TESTS=OFF -DCATALOGO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target catalogo_core catalogo_ui junto_a_windows

# Names as the linker sees them (mangled, an import's "__imp_" taken off), so that a prefix is a namespace.
cmake --build "$build" --target enlace_completo >"$build/enlace.log" 2>&1 || true
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
if ! grep -q "undefined reference" "$build/enlace.log" && ! [[ -f $build/enlace_completo.exe || -f $build/enlace_completo ]]; then
    cat "$build/enlace.log" >&2
    exit 1
fi
echo "Windows check passed"
