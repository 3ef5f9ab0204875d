#!/usr/bin/env bash
# Renders the Windows program under Wine, on a virtual screen, with the demo's sample shop:
#
#   scripts/windows/capturas.sh [WINDOWS_BUILD]     # default build-win64/
#
# - docs/ventana-principal-windows.png: the main window on a Windows desktop, task bar included;
# - docs/instalador-windows.png: the installer's first page.
# As root where a package is missing (it installs what it needs); it brings the Windows build up to
# date first (build.sh). Nothing of the run is left behind.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
WIN_BUILD=${1:-$ROOT/build-win64}
source "$HERE/wine-comun.sh"

if [[ -z "${CATALOGO_WINE_PANTALLA:-}" ]]; then
    asegurar_paquetes wine64 xvfb xauth x11-apps netpbm xdotool unzip locales
    registro=$(mktemp)
    "$HERE/build.sh" "$WIN_BUILD" >"$registro" 2>&1 || { tail -30 "$registro" >&2; exit 1; }
    rm -f "$registro"
fi
en_pantalla_virtual "$0" "$WIN_BUILD"
WIN_BUILD=$(cd "$WIN_BUILD" && pwd)
preparar_wine
trap 'terminar_wine; rm -rf "$T"' EXIT

# pantalla PNG: the whole virtual screen, once the Wine desktop is there and what was just opened on it
# has painted.
pantalla() {
    xdotool search --sync --name 'Wine desktop' >/dev/null
    sleep 5
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"
    echo "${1#"$ROOT"/}"
}

# The sample shop in the program folder; the console companion then hands its window to the desktop
# program, which is ended: the picture is of the program as it starts at logon, on a desktop.
PROGRAMA=$(programa_del_zip "$WIN_BUILD")
wine_como a wineboot -i >/dev/null 2>&1
wine_como a "$PROGRAMA/catalogo-ftp.com" demo --carpeta "$(ventanas "$PROGRAMA")" >/dev/null
terminar_wine
escritorio_con a "$PROGRAMA/catalogo-ftp.exe" -ktfa
esperar_run a >/dev/null
pantalla "$ROOT/docs/ventana-principal-windows.png"
terminar_wine

wine_como b wineboot -i >/dev/null 2>&1
escritorio_con b "$(ls "$WIN_BUILD"/catalogo-ftp-*-win64.exe)"
pantalla "$ROOT/docs/instalador-windows.png"
