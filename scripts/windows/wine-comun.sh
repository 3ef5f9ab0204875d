# What wine-tests.sh and capturas.sh share: sourced by them, not run. Each Windows user is a Wine prefix
# of its own under a temporary folder $T; Debian's wine64 alone runs the program and its installer,
# both 64-bit.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
ANCHO=1024
ALTO=768

# asegurar_paquetes PACKAGE...: installs with apt-get (as root) those that are missing.
asegurar_paquetes() {
    local faltan=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
    done
    if ((${#faltan[@]})); then
        echo "Installing: ${faltan[*]}"
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
    fi
}

# en_pantalla_virtual SCRIPT ARGS...: runs the script again on a virtual screen of its own, unless it
# already has one (it sets CATALOGO_WINE_PANTALLA).
en_pantalla_virtual() {
    [[ -n "${CATALOGO_WINE_PANTALLA:-}" ]] && return
    exec env CATALOGO_WINE_PANTALLA=1 xvfb-run -a -s "-screen 0 ${ANCHO}x${ALTO}x24 -dpi 96" "$@"
}

# Makes $T, and a Spanish Windows there: code page 1252, decimal comma. Wine takes its regional
# settings from the C library's locale, which this machine may not have made: made in $T, for this run.
preparar_wine() {
    T=$(mktemp -d /tmp/catalogo-wine.XXXXXX)
    mkdir -p "$T/locales"
    localedef -i es_ES -f UTF-8 "$T/locales/es_ES.UTF-8"
    export LOCPATH=$T/locales LANG=es_ES.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset LC_ALL QT_QPA_PLATFORM
}

# Ends every process of every Wine user of the run (a user with none running is no failure).
terminar_wine() {
    local prefijo
    for prefijo in "$T"/usuario-*; do
        WINEPREFIX=$prefijo "$WINESERVER" -k 2>/dev/null || true
    done
}

# A Windows path for a path of this machine (Wine's Z: drive is /).
ventanas() { local p=${1//\//\\}; echo "Z:$p"; }

# wine_como USER ARGS...: runs a Windows program as that user.
wine_como() {
    local usuario=$1
    shift
    WINEPREFIX=$T/usuario-$usuario "$WINE" "$@"
}

# carpeta_de_usuario USER: the Linux path of that user's Windows profile (C:\users\<name>).
carpeta_de_usuario() { echo "$T/usuario-$1/drive_c/users/$(id -un)"; }

# programa_del_zip WINDOWS_BUILD: unpacks the zip into $T/zip and prints the program folder.
programa_del_zip() {
    unzip -q "$(ls "$1"/catalogo-ftp-*-win64.zip)" -d "$T/zip"
    ls -d "$T"/zip/catalogo-ftp-*-win64
}

# escritorio_con USER ARGS...: a Windows desktop of Wine's own (window frames, task bar, notification
# area) filling the screen, with a program started on it; runs in the background.
escritorio_con() {
    local usuario=$1
    shift
    wine_como "$usuario" explorer /desktop=shell,${ANCHO}x${ALTO} "$@" >"$T/escritorio-$usuario.txt" 2>&1 &
}

# valor_run USER: the program's value under the user's Run key, "" while there is none.
valor_run() {
    wine_como "$1" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v catalogo-ftp.exe 2>/dev/null |
        tr -d '\r' | sed -n 's/^ *catalogo-ftp\.exe *REG_SZ *//p' || true
}

# esperar_run USER [SECONDS]: waits (60 s at most) until the program has written its Run value, prints it.
esperar_run() {
    local t0=$SECONDS valor=
    until [[ -n $valor ]] || ((SECONDS - t0 > ${2:-60})); do
        sleep 1
        valor=$(valor_run "$1")
    done
    echo "$valor"
}
