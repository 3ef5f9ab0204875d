#!/usr/bin/env bash
# Sets up a fresh machine (packages, servers), runs the Windows compile check, builds with warnings as
# errors and runs every test. ctest's summary stays the last thing printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/start-services.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCATALOGO_WERROR=ON
"$root/scripts/windows/check.sh"
cmake --build "$root/build"
cd "$root/build"
ctest --output-on-failure -j2
