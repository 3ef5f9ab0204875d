#!/usr/bin/env bash
# Runs the Windows build under Wine, on a virtual screen, against the real servers on 127.0.0.1:
#
#   scripts/windows/wine-tests.sh [WINDOWS_BUILD] [LINUX_BUILD]     # default build-win64/ and build/
#
# - the program folder from the zip publishes the demo's sample shop and a MariaDB catalogue byte for
#   byte as the Linux build does (`demo`, and `enviar` to pyftpdlib);
# - the key file is protected with DPAPI: the user who stored the settings reads them back, a second
#   user (another Wine prefix) given the same program folder reads none of them;
# - the desktop program registers itself under the current user's Run key, shows its icon in the
#   notification area, and its main window is saved to docs/ventana-principal-windows.png;
# - the core test suites built for Windows (WITH_TESTS=1 scripts/windows/build.sh) pass.
# Each check prints "ok" or "FALLA"; the last line counts them. Takes a few minutes.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
WIN_BUILD=$(cd "${1:-$ROOT/build-win64}" && pwd)
LINUX_BUILD=$(cd "${2:-$ROOT/build}" && pwd)
export CATALOGO_WIN64=${CATALOGO_WIN64:-/opt/win64}

ANCHO=1024
ALTO=768
# Everything below needs a display: the virtual one, unless the caller gave one.
if [[ -z "${CATALOGO_WINE_PANTALLA:-}" ]]; then
    exec env CATALOGO_WINE_PANTALLA=1 xvfb-run -a -s "-screen 0 ${ANCHO}x${ALTO}x24 -dpi 96" \
        "$0" "$WIN_BUILD" "$LINUX_BUILD"
fi

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
T=$(mktemp -d /tmp/catalogo-wine.XXXXXX)
# Spanish, as a shop's Windows: code page 1252, decimal comma. Wine takes its regional settings from
# the C library's locale, which this machine may not have made: made here, for this run only.
mkdir -p "$T/locales"
localedef -i es_ES -f UTF-8 "$T/locales/es_ES.UTF-8"
export LOCPATH=$T/locales LANG=es_ES.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL QT_QPA_PLATFORM
PYFTPD_PID=
BASE=catalogo_wine_$$

pasaron=0
fallaron=0
# comprobar NAME COMMAND...: runs one check and says how it went.
comprobar() {
    local nombre=$1
    shift
    if "$@"; then
        echo "ok     $nombre"
        pasaron=$((pasaron + 1))
    else
        echo "FALLA  $nombre"
        fallaron=$((fallaron + 1))
    fi
}

terminar() {
    set +e
    local prefijo pid
    for prefijo in "$T"/usuario-*; do
        [[ -d "$prefijo" ]] && WINEPREFIX=$prefijo "$WINESERVER" -k 2>/dev/null
    done
    [[ -n "$PYFTPD_PID" ]] && kill "$PYFTPD_PID" 2>/dev/null
    # The suites' servers, by the process ids their fixtures left (one kept for a whole suite outlives it).
    for pid in "$T"/temp/*/pid; do
        [[ -f "$pid" ]] && kill "$(cat "$pid")" 2>/dev/null
    done
    mariadb -h127.0.0.1 -uroot -e "DROP DATABASE IF EXISTS $BASE" 2>/dev/null
    [[ -n "${CONSERVAR:-}" ]] || rm -rf "$T"
}
trap terminar EXIT

# A Windows path for a path of this machine (Wine's Z: drive is /).
ventanas() { local p=${1//\//\\}; echo "Z:$p"; }

# wine_como USER ARGS...: runs a Windows program as that user (a Wine prefix of its own).
wine_como() {
    local usuario=$1
    shift
    WINEPREFIX=$T/usuario-$usuario "$WINE" "$@"
}

cronometro() { date +%s; }

# ---- the program folder, as the zip gives it --------------------------------------------------------

unzip -q "$(ls "$WIN_BUILD"/catalogo-ftp-*-win64.zip)" -d "$T/zip"
PROGRAMA=$(ls -d "$T"/zip/catalogo-ftp-*-win64)
EXE=$PROGRAMA/catalogo-ftp.exe
LINUX_EXE=$LINUX_BUILD/catalogo-ftp
export XDG_CONFIG_HOME=$T/xdg # the Linux program's key, away from the user's own

t0=$(cronometro)
wine_como a wineboot -i >/dev/null 2>&1
echo "(a new Wine user: $(($(cronometro) - t0)) s)"

# ---- demo: the sample shop published as by the Linux build -----------------------------------------

# The Windows program opens the shop's window after its send: wait for the send, then close it.
# It runs in the program folder itself, which is then a configured shop for the desktop checks.
t0=$(cronometro)
QT_QPA_PLATFORM=offscreen "$LINUX_EXE" demo --carpeta "$T/demo-linux" >/dev/null
wine_como a "$EXE" demo --carpeta "$(ventanas "$PROGRAMA")" >"$T/demo.txt" 2>&1 &
demo=$!
until grep -q "Archivo publicado" "$T/demo.txt" 2>/dev/null || (($(cronometro) - t0 > 120)); do sleep 0.5; done
sleep 1
WINEPREFIX=$T/usuario-a "$WINESERVER" -k
wait $demo || true
echo "(demo, Linux and Windows: $(($(cronometro) - t0)) s)"
publicado=sitio-ftp/catalogo/productos.csv
comprobar "demo: el archivo publicado es el de Linux byte a byte ($(wc -c <"$T/demo-linux/$publicado") bytes)" \
    cmp "$T/demo-linux/$publicado" "$PROGRAMA/$publicado"

# ---- enviar: a MariaDB catalogue to pyftpdlib ------------------------------------------------------

mysqladmin -h127.0.0.1 -uroot ping >/dev/null 2>&1 || "$ROOT/scripts/start-services.sh" >/dev/null
# The demo's sample catalogue, moved into MariaDB, where prices and stock become DECIMAL columns.
mariadb -h127.0.0.1 -uroot -e "CREATE DATABASE $BASE CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"
sqlite3 "$T/demo-linux/vendalia/datos1.sqlite" .dump | sed -e '/^PRAGMA/d' -e 's/^BEGIN TRANSACTION;/START TRANSACTION;/' -e 's/ COLLATE NOCASE//g' |
    mariadb -h127.0.0.1 -uroot --default-character-set=utf8mb4 "$BASE"

mkdir -p "$T/ftp/linux" "$T/ftp/windows"
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 0 -w -d "$T/ftp" -u catalogo -P clave-wine >"$T/ftp.log" 2>&1 &
PYFTPD_PID=$!
for _ in {1..50}; do
    PUERTO=$(grep -om1 'starting FTP server on 127.0.0.1:[0-9]*' "$T/ftp.log" | cut -d: -f2) && break
    sleep 0.2
done
[[ -n "${PUERTO:-}" ]] || { cat "$T/ftp.log" >&2; exit 1; }

# enviar_como SYSTEM RUN...: one shop per system, the same catalogue, one send to the system's folder.
enviar_como() {
    local sistema=$1 carpeta=$T/enviar-$1 vendalia=$T/vendalia-$1 ruta
    shift
    mkdir -p "$carpeta" "$vendalia"
    ruta=$vendalia
    [[ $sistema == windows ]] && ruta=$(ventanas "$vendalia") && carpeta=$(ventanas "$carpeta")
    printf '[Q7K]\r\nMySQLServer=127.0.0.1\r\n' >"$vendalia/Q7K.ini"
    # Every kind of column but dates, whose regional short format is each system's own: text,
    # reference, DECIMAL of 2, 3 and 4 places, NULL.
    printf '%s\r\n' Clave Descrip Marca Existencia Precio1 Costo CodigoBarras Observaciones \
        >"$T/enviar-$sistema/ListaDeCampos.dat"
    "$@" configurar --carpeta "$carpeta" --ruta-vendalia "$ruta" --base "$BASE" --url "127.0.0.1:$PUERTO" \
        --usuario catalogo --contrasena clave-wine --directorio "/$sistema/" --archivo productos.csv \
        --intervalo 0 >/dev/null
    "$@" enviar --carpeta "$carpeta" >"$T/enviar-$sistema.txt" 2>&1
}
t0=$(cronometro)
enviar_como linux "$LINUX_EXE" || true
t1=$(cronometro)
enviar_como windows wine_como a "$EXE" || true
echo "(enviar: Linux $((t1 - t0)) s, Windows $(($(cronometro) - t1)) s)"
comprobar "enviar: MariaDB a FTP, el archivo subido es el de Linux byte a byte ($(wc -c <"$T/ftp/linux/productos.csv") bytes)" \
    cmp "$T/ftp/linux/productos.csv" "$T/ftp/windows/productos.csv"
# Windows-1252: "Lucía" as 4C 75 63 ED 61; every line ends in CR LF.
ansi_crlf() {
    LC_ALL=C grep -q $'Luc\xeda' "$1" && (($(grep -c $'\r$' "$1") == $(wc -l <"$1")))
}
comprobar "enviar: en Windows-1252, con CR LF" ansi_crlf "$T/ftp/windows/productos.csv"

# ---- the key file under DPAPI ----------------------------------------------------------------------

# User a stores the settings and reads them back; user b, given a's program folder, reads nothing.
clave_de() { find "$T/usuario-$1/drive_c/users" -path '*AppData/Local/catalogo-ftp/clave' 2>/dev/null | head -1; }
mkdir -p "$T/dpapi"
wine_como a "$EXE" configurar --carpeta "$(ventanas "$T/dpapi")" --url ftp.ejemplo-dpapi.com --usuario tienda \
    --contrasena secreto-dpapi --directorio /web/ --archivo productos.csv >/dev/null 2>&1
wine_como a "$EXE" configurar --carpeta "$(ventanas "$T/dpapi")" --mostrar >"$T/mostrar-a.txt" 2>&1 || true
comprobar "DPAPI: el mismo usuario lee lo que grabó" grep -q ftp.ejemplo-dpapi.com "$T/mostrar-a.txt"
# A DPAPI blob: version 1, and the description the program gives it, in UTF-16.
blob_de_dpapi() {
    cmp -s -n 4 <(printf '\x01\x00\x00\x00') "$1" &&
        LC_ALL=C grep -qaP 'c\x00a\x00t\x00a\x00l\x00o\x00g\x00o\x00-\x00f\x00t\x00p\x00' "$1"
}
comprobar "DPAPI: en disco la clave va protegida ($(wc -c <"$(clave_de a)") bytes, no los 32 de la clave)" \
    blob_de_dpapi "$(clave_de a)"
wine_como b wineboot -i >/dev/null 2>&1
wine_como b "$EXE" configurar --carpeta "$(ventanas "$T/dpapi")" --mostrar >"$T/mostrar-b.txt" 2>&1 || true
nada_legible() { ! grep -q 'ejemplo-dpapi\|tienda' "$1"; }
comprobar "DPAPI: otro usuario de Windows no lee nada" nada_legible "$T/mostrar-b.txt"
# Wine protects every prefix's data with one key of its own: with a's key file copied over, b reads
# everything. Only a real Windows can show the per-user protection; say what Wine does.
clave_a=$(clave_de a)
mkdir -p "$(dirname "${clave_a/usuario-a/usuario-b}")" && cp "$clave_a" "${clave_a/usuario-a/usuario-b}"
wine_como b "$EXE" configurar --carpeta "$(ventanas "$T/dpapi")" --mostrar >"$T/mostrar-b2.txt" 2>&1 || true
nada_legible "$T/mostrar-b2.txt" && echo "(Wine: with a's key file, b still reads nothing)" ||
    echo "(Wine: with a's key file copied over, b reads a's settings: Wine's DPAPI is not per user)"

# ---- the desktop program ---------------------------------------------------------------------------

# On a Windows desktop of Wine's own (window frames, task bar, notification area) filling the screen,
# started from its own folder (the demo's shop) as at logon, window shown.
wine_como a explorer /desktop=shell,${ANCHO}x${ALTO} "$EXE" -ktfa >"$T/escritorio.txt" 2>&1 &
escritorio=$!
t0=$(cronometro)
run=
until grep -qi catalogo <<<"$run" || (($(cronometro) - t0 > 60)); do
    sleep 1
    # Until the program has written it, the value (or the key) is not there and the query fails.
    run=$(wine_como a reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' 2>/dev/null | tr -d '\r' || true)
done
echo "(desktop program registered after $(($(cronometro) - t0)) s)"
comprobar "escritorio: su valor en HKCU\\...\\Run es la ruta del programa" grep -qiF "$(ventanas "$EXE")" <<<"$run"
sleep 3 # painted
xwd -root -silent | xwdtopnm 2>/dev/null >"$T/pantalla.pnm"
pnmtopng "$T/pantalla.pnm" >"$ROOT/docs/ventana-principal-windows.png"
# The notification area is the right end of the task bar (20 pixels high): an empty one is one colour.
colores_de_la_bandeja() {
    pamcut -left $((ANCHO - 40)) -top $((ALTO - 18)) -width 38 -height 16 "$T/pantalla.pnm" |
        ppmhist -noheader | wc -l
}
comprobar "escritorio: su icono está en el área de notificación" test "$(colores_de_la_bandeja)" -gt 4
WINEPREFIX=$T/usuario-a "$WINESERVER" -k
wait $escritorio || true

# ---- the core suites built for Windows -------------------------------------------------------------

# Against the same MariaDB and a Linux pyftpdlib that the suites start through Wine, with the C
# locale's regional settings that the suites expect (Wine's en-US). Left out, with why:
fuera=(
    '*Vsftpd*' '*Ftps*' # vsftpd logs in a Linux system user through PAM
    # the key file's owner-only permissions under $XDG_CONFIG_HOME: DPAPI stands for them, above
    ComponentesTest.laClaveSoloLaLeeSuDueno
    # regional settings set through LC_ALL, which Windows does not read: demo and enviar cover es-ES above
    ArchivoDeExportacionMariaDB.FechasEnFormatoCorto*
    # a Windows console program's lines end in CR LF
    ConfigurarTest.mostrarDescifraYOcultaLaContrasena
    LineaDeComandos.ElProgramaContestaSinAbrirVentana
    # the demo opens its window after the send on Windows, where there is always a display: covered above
    Demo.PublicaElCatalogoDeMuestraSinNadaMas
    # the folder in the message is written with "\" on Windows
    Direcciones/ServidorInvalido.ElMensajeLlevaContextoCodigoYTexto/CarpetaQueNoExiste
    # the bytes a Windows socket has taken are not the bytes the server acknowledged, and Wine's socket
    # (Linux's, autotuned to megabytes) takes a slow upload's whole file at once: with the test's 1 s
    # stall limit the closing reply comes too late
    Ritmos/Lentitud.LoLentoTerminaYLoParadoFalla/A20KBs
)
FUERA=-$(IFS=:; echo "${fuera[*]}")
# Nor the suites that need POSIX sockets or a window.
suites=$(find "$WIN_BUILD/tests" -name '*_test.exe' ! -name 'ui_*' 2>/dev/null | sort)
[[ -n "$suites" ]] || echo "(no suites in $WIN_BUILD/tests: build them with WITH_TESTS=1 scripts/windows/build.sh)"
# Each suite runs from a copy of the program folder, where Qt finds its DLLs and plugins as the
# program does; temporary folders on Z:, whose Linux paths the fixtures hand to the Linux server.
mkdir -p "$T/temp" "$T/suites"
cp -r "$PROGRAMA/." "$CATALOGO_WIN64/qt6/bin/Qt6Test.dll" "$T/suites/"
for variable in TEMP TMP; do
    wine_como a reg add 'HKCU\Environment' /v $variable /d "$(ventanas "$T/temp")" /f >/dev/null 2>&1
done
for suite in $suites; do
    nombre=$(basename "$suite" .exe)
    cp "$suite" "$T/suites/"
    t0=$(cronometro)
    LANG=C.UTF-8 WINEPATH=$(ventanas "$PROGRAMA") CI=1 timeout 600 \
        env WINEPREFIX="$T/usuario-a" "$WINE" "$T/suites/$nombre.exe" --gtest_filter="$FUERA" \
        >"$T/$nombre.txt" 2>&1 && estado=0 || estado=$?
    resumen=$(sed -nE 's/^\[  (PASSED|FAILED|SKIPPED)  \] ([0-9]+) tests?.*/\2 \L\1/p' "$T/$nombre.txt" | paste -sd, -)
    comprobar "suite $nombre: ${resumen:-no terminó} ($(($(cronometro) - t0)) s)" test "$estado" = 0
    [[ $estado == 0 ]] || tr -d '\r' <"$T/$nombre.txt" | grep -E '^\[  FAILED  \] .* ms\)$' | cut -c14- | head -20 || true
done

echo "$pasaron passed, $fallaron failed"
((fallaron == 0))
