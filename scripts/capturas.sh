#!/bin/sh
# Renders the windows of the desktop program (the four tabs, the product search and the description)
# to docs/*.png on a virtual X screen, with the demo's sample shop.
#
#   scripts/capturas.sh [build folder]      (default: build)
set -eu
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$raiz/build"}
cmake --build "$build" --target capturas
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$build/bench/capturas" "$raiz/docs"
