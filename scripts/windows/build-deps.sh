#!/usr/bin/env bash
# Builds, once per machine, the Windows (64-bit, MinGW-w64) libraries the program needs and Debian ships
# only for Linux: Qt's qtbase, SQLite, libsodium, libcurl over Schannel, MariaDB Connector/C, Qt's SQLite
# and MySQL drivers, and GoogleTest for the test suites. Everything comes from Debian's own source
# packages and goes into a cache folder outside the repository, $CATALOGO_WIN64 (default /opt/win64).
# A piece whose result is already there is skipped; each piece says how long it took.
#
#   scripts/windows/build-deps.sh       # as root (it installs what it needs with apt-get): everything
#   scripts/windows/build-deps.sh qt    # Qt alone, all the compile check (check.sh) needs
#
# Qt comes from the prebuilt archive beside the repository, ../shared/windows/ (QT_TARBALL=FILE for
# another), in seconds; without it, from Debian's source in about 35 minutes on two cores.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
PREFIX=${CATALOGO_WIN64:-/opt/win64}
SRC=$PREFIX/src
WORK=$PREFIX/build
TOOLCHAIN=$HERE/../../cmake/toolchain-mingw64.cmake
HOST=x86_64-w64-mingw32
JOBS=${JOBS:-2}
QT_VERSION=6.4.2
QT_TARBALL=${QT_TARBALL:-$HERE/../../../shared/windows/qt6-base-$QT_VERSION-mingw64.tar.xz}
SOLO=${1:-}
[[ -z $SOLO || $SOLO == qt ]] || { echo "uso: $0 [qt]" >&2; exit 2; }
export CATALOGO_WIN64=$PREFIX
mkdir -p "$SRC" "$WORK" "$PREFIX/lib" "$PREFIX/include" "$PREFIX/bin"

# ---- what the build needs on this machine, and Debian's sources ------------------------------------

# Qt alone needs the compiler and Debian's Qt (its host tools); the other pieces need the rest.
ensure_packages() {
    local wanted=(dpkg-dev xz-utils g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools cmake
        ninja-build)
    [[ $SOLO == qt ]] || wanted+=(tcl mingw-w64-tools libz-mingw-w64-dev libspdlog-dev libfmt-dev googletest
        pkg-config autoconf automake libtool)
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# Source packages of the same Debian release as the machine; the package lists are updated once a run
# (the pieces fetch their sources from subshells, hence a file rather than a variable).
APT_UPDATED=$WORK/.apt-updated-$$
trap 'rm -f "$APT_UPDATED"' EXIT
ensure_deb_src() {
    local list=/etc/apt/sources.list.d/catalogo-deb-src.sources
    if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        local codename
        codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
        cat >"$list" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    apt-get update -qq
    touch "$APT_UPDATED"
}

# Downloads a source package into $SRC unless its upstream tarball is there; falls back to an older
# version of the release when the newest is listed but not yet on the mirror.
fetch_source() {
    local pkg=$1
    ls "$SRC/${pkg}"_*.orig.tar.* 2>/dev/null | grep -qv '\.asc$' && return 0
    [[ -e "$APT_UPDATED" ]] || ensure_deb_src
    (cd "$SRC" && apt-get source --download-only -qq "$pkg") && return 0
    local v
    for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV); do
        (cd "$SRC" && apt-get source --download-only -qq "$pkg=$v") && return 0
    done
    echo "no source of $pkg could be downloaded" >&2
    return 1
}

# Unpacks a source package's upstream tarball (or only SUBFOLDER of it) into $WORK and prints the
# folder it made.
unpack() {
    local pkg=$1 sub=${2:-} tarball dir
    fetch_source "$pkg" >&2
    tarball=$(ls "$SRC/${pkg}"_*.orig.tar.* | grep -v '\.asc$' | head -1)
    dir=$(tar tf "$tarball" | awk -F/ 'NR == 1 { print $1 }')
    [[ -e "$WORK/$dir/$sub" ]] || tar -C "$WORK" -xf "$tarball" ${sub:+"$dir/$sub"}
    echo "$WORK/$dir"
}

# piece NAME RESULT FUNCTION: runs FUNCTION unless RESULT exists, and says how long it took.
piece() {
    local name=$1 result=$2 fn=$3 t0
    if [[ -e "$result" ]]; then
        echo "== $name: in the cache ($result)"
        return
    fi
    echo "== $name: building"
    t0=$(date +%s)
    "$fn" >"$WORK/$name.log" 2>&1 || {
        echo "$name failed; the end of $WORK/$name.log:" >&2
        tail -30 "$WORK/$name.log" >&2
        exit 1
    }
    echo "== $name: $(($(date +%s) - t0)) s"
}

cmake_windows() { # source build-dir extra-args...
    local s=$1 b=$2
    shift 2
    cmake -S "$s" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@"
    nice -n 10 cmake --build "$b" -j "$JOBS"
    cmake --install "$b"
}

# ---- the pieces -------------------------------------------------------------------------------------

# Qt: the prebuilt archive when there is one, else the same build from Debian's source (~35 min).
build_qt() {
    if [[ -f "$QT_TARBALL" ]]; then
        tar -C "$PREFIX" -xJf "$QT_TARBALL" # relocatable: it holds qt6/
        return
    fi
    local s
    s=$(unpack qt6-base)
    # Debian's source lacks the bundled Wintab header (tablet events) and, with OpenGL off, the
    # Windows platform plugin only compiles without dynamic GL too.
    cmake_windows "$s" "$WORK/qtbase" -DCMAKE_INSTALL_PREFIX="$PREFIX/qt6" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql_sqlite=OFF \
        -DFEATURE_sql_mysql=OFF -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_tabletevent=OFF -DINPUT_zlib=qt -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_libpng=OFF \
        -DFEATURE_system_jpeg=OFF
}

# SQLite: the amalgamation is generated on the host (it needs tclsh), then compiled into one DLL.
build_sqlite() {
    local s
    s=$(unpack sqlite3)
    mkdir -p "$WORK/sqlite"
    cd "$WORK/sqlite"
    [[ -f Makefile ]] || "$s/configure" --disable-tcl
    make sqlite3.c sqlite3.h
    $HOST-gcc-posix -O2 -shared -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA sqlite3.c \
        -o "$PREFIX/bin/libsqlite3-0.dll" -Wl,--out-implib,"$PREFIX/lib/libsqlite3.dll.a"
    cp sqlite3.h "$s/src/sqlite3ext.h" "$PREFIX/include/"
}

build_sodium() {
    local s
    s=$(unpack libsodium)
    [[ -x "$s/configure" ]] || (cd "$s" && ./autogen.sh -s) # Debian's tarball is the bare repository
    mkdir -p "$WORK/sodium"
    cd "$WORK/sodium"
    "$s/configure" --host=$HOST CC=$HOST-gcc-posix --prefix="$PREFIX" --disable-static
    nice -n 10 make -j "$JOBS"
    make install
}

# libcurl with Schannel: TLS and its certificate store are Windows's own, no OpenSSL to ship.
build_curl() {
    local s
    s=$(unpack curl)
    mkdir -p "$WORK/curl"
    cd "$WORK/curl"
    "$s/configure" --host=$HOST CC=$HOST-gcc-posix --prefix="$PREFIX" --disable-static \
        --with-schannel --without-openssl --without-libpsl --without-libidn2 --without-nghttp2 \
        --without-brotli --without-zstd --without-libssh2 --without-librtmp --with-zlib=/usr/$HOST \
        --disable-ldap --disable-ldaps --disable-manual
    nice -n 10 make -j "$JOBS"
    make install
}

# MariaDB Connector/C: the libmariadb folder of the server's source package. Every authentication
# plugin is compiled into libmariadb.dll: loaded from DLLs of their own at connect time they would have
# to travel with the program (MySQL 8's caching_sha2_password is its default for new accounts), and
# unloading them at exit crashed the process. Nothing else is left as a plugin DLL either.
MARIADB_STATIC=$PREFIX/lib/mariadb/auth-plugins-built-in
build_mariadb() {
    local s
    s=$(unpack mariadb libmariadb)
    rm -rf "$WORK/libmariadb" "$PREFIX/lib/mariadb/plugin"
    cmake_windows "$s/libmariadb" "$WORK/libmariadb" -DWITH_SSL=SCHANNEL -DWITH_UNIT_TESTS=OFF \
        -DWITH_CURL=OFF -DWITH_EXTERNAL_ZLIB=ON -DINSTALL_LIBDIR=lib -DINSTALL_BINDIR=bin \
        -DINSTALL_INCLUDEDIR=include/mariadb -DINSTALL_PLUGINDIR=lib/mariadb/plugin \
        -DCLIENT_PLUGIN_DIALOG=STATIC -DCLIENT_PLUGIN_CLIENT_ED25519=STATIC \
        -DCLIENT_PLUGIN_CACHING_SHA2_PASSWORD=STATIC -DCLIENT_PLUGIN_SHA256_PASSWORD=STATIC \
        -DCLIENT_PLUGIN_MYSQL_CLEAR_PASSWORD=STATIC -DCLIENT_PLUGIN_AUTH_GSSAPI_CLIENT=STATIC \
        -DCLIENT_PLUGIN_PVIO_SHMEM=STATIC -DCLIENT_PLUGIN_ZSTD=OFF -DCLIENT_PLUGIN_REMOTE_IO=OFF
    # The library's list of built-in plugins, whose options a later release could change. (The pieces
    # run where `set -e` does not apply.)
    local plugin
    for plugin in mysql_native_password caching_sha2_password sha256_password client_ed25519 dialog \
        mysql_clear_password; do
        grep -q "&${plugin}_client_plugin," "$WORK/libmariadb/libmariadb/ma_client_plugin.c" ||
            { echo "$plugin is not built into libmariadb" && return 1; }
    done
    if ls "$PREFIX"/lib/mariadb/plugin/*.dll 2>/dev/null; then
        echo "plugins left outside libmariadb" && return 1
    fi
    mkdir -p "$(dirname "$MARIADB_STATIC")" && touch "$MARIADB_STATIC"
}

# Qt's SQL drivers, configured on their own against the Windows Qt in the cache.
build_sqldrivers() {
    local s
    s=$(unpack qt6-base src/plugins/sqldrivers)
    cmake_windows "$s/src/plugins/sqldrivers" "$WORK/sqldrivers" -DCMAKE_INSTALL_PREFIX="$PREFIX/qt6" \
        -DCMAKE_PREFIX_PATH="$PREFIX/qt6;$PREFIX" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DFEATURE_sql_sqlite=ON \
        -DFEATURE_system_sqlite=ON -DFEATURE_sql_mysql=ON -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF \
        -DFEATURE_sql_db2=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF
}

# spdlog and fmt are used header-only: Debian's own headers, and a package file that says so.
build_spdlog() {
    cp -r /usr/include/spdlog /usr/include/fmt "$PREFIX/include/"
    mkdir -p "$PREFIX/lib/cmake/spdlog"
    cat >"$PREFIX/lib/cmake/spdlog/spdlogConfig.cmake" <<'EOF'
if(NOT TARGET spdlog::spdlog)
    add_library(spdlog::spdlog INTERFACE IMPORTED)
    set_target_properties(spdlog::spdlog PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/../../../include"
        INTERFACE_COMPILE_DEFINITIONS "SPDLOG_FMT_EXTERNAL;FMT_HEADER_ONLY")
endif()
EOF
}

build_googletest() {
    cmake_windows /usr/src/googletest "$WORK/googletest" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
}

ensure_packages
t_all=$(date +%s)
QT_CONFIG=$PREFIX/qt6/lib/cmake/Qt6/Qt6Config.cmake
if [[ ! -e $QT_CONFIG && ! -f $QT_TARBALL ]]; then
    echo "== qt: no prebuilt archive at $QT_TARBALL: building Qt for Windows from Debian's source, once" \
        "into $PREFIX/qt6; about 35 minutes on two cores"
fi
piece qt "$QT_CONFIG" build_qt
[[ $SOLO != qt ]] || exit 0
piece sqlite "$PREFIX/lib/libsqlite3.dll.a" build_sqlite
piece libsodium "$PREFIX/lib/libsodium.dll.a" build_sodium
piece curl "$PREFIX/lib/libcurl.dll.a" build_curl
piece mariadb-connector-c "$MARIADB_STATIC" build_mariadb
piece qt-sqldrivers "$PREFIX/qt6/plugins/sqldrivers/qsqlmysql.dll" build_sqldrivers
piece spdlog "$PREFIX/lib/cmake/spdlog/spdlogConfig.cmake" build_spdlog
piece googletest "$PREFIX/lib/libgtest.a" build_googletest
echo "== all: $(($(date +%s) - t_all)) s; cache in $PREFIX"
