#!/usr/bin/env bash
# Sets up a fresh machine (packages, servers), builds with warnings as errors and runs every test, then
# the Windows compile check.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/start-services.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCATALOGO_WERROR=ON
cmake --build "$root/build"
cd "$root/build"
ctest --output-on-failure -j2
"$root/scripts/windows/check.sh"
