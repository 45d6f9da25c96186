#!/usr/bin/env bash
# Imports shipped sample Gerber files with the command-line tool, building what is missing; by
# default the layers of the small board in examples/board/, each on the layer its name says.
# Usage: scripts/run-example.sh [GERBER_FILE|FOLDER] [extra zizozudu import options]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"
if [ ! -x build/native/cli/zizozudu ]; then
  cmake --preset native >/dev/null
fi
cmake --build build/native --target zizozudu -j"$(nproc)" >/dev/null

file="${1:-examples/board}"
shift || true
mkdir -p out
name="$(basename "$file")"
build/native/cli/zizozudu import "$file" --svg "out/${name}.svg" --json "out/${name}.json" "$@"
echo "Board drawn to out/${name}.svg (open it in a browser); JSON dump in out/${name}.json"
