#!/usr/bin/env bash
# Builds the program and runs its embedded demo: a sample point-of-sale catalogue published to a
# local folder. With a display, the window opens afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target catalogo-ftp
exec "$root/build/catalogo-ftp" demo --carpeta "${1:-$root/demo-tienda}"
